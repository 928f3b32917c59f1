// Disk images built in memory for the partition-table tests, and a volume identifier that recognises
// the fake file systems written into them.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/devices/StorageDevice.h"
#include "engine/devices/Volume.h"
#include "engine/devices/VolumeIdentifier.h"

namespace keldrin::test {

class DiskImage {
  public:
    explicit DiskImage(int64_t sectors) : bytes_(static_cast<size_t>(sectors * kSectorSize)) {}
    int64_t Sectors() const { return static_cast<int64_t>(bytes_.size()) / kSectorSize; }
    uint8_t* Sector(int64_t s) { return bytes_.data() + s * kSectorSize; }
    const std::vector<unsigned char>& Bytes() const { return bytes_; }

    // An MBR or EBR entry; the table sector also gets the 0x55 0xAA signature.
    void SetMbrEntry(int64_t tableSector, int slot, uint8_t type, uint32_t relativeStart, uint32_t count,
                     uint8_t status = 0);
    // A fake file system at sector start: its type, own size and label, which FakeIdentifier reads.
    void WriteVolume(int64_t start, int type, int64_t totalSectors, const std::string& label);
    // A protective MBR, and a GPT header at sector 1 naming the entry array (count entries of
    // entrySize bytes at arraySector) with a correct CRC unless breakCrc.
    void SetGptHeader(int64_t arraySector, uint32_t count, uint32_t entrySize, bool breakCrc = false);
    // A protective MBR only: the array is then read from sector 2 with 128 entries of 128 bytes.
    void SetProtectiveMbr();
    void SetGptEntry(int64_t arraySector, uint32_t entrySize, int index, const std::string& typeGuid,
                     uint64_t first, uint64_t last);

  private:
    std::vector<unsigned char> bytes_;
};

// The image as a device; reads outside it fail.
class ImageBytesDevice final : public IStorageDevice {
  public:
    explicit ImageBytesDevice(std::vector<unsigned char> bytes) : bytes_(std::move(bytes)) {}
    bool ReadSectors(void* buffer, int64_t firstSector, int64_t sectorCount) override;
    int64_t GetTotalSectors() override { return static_cast<int64_t>(bytes_.size()) / kSectorSize; }
    bool Open() override { return true; }
    bool Close() override { return true; }
    std::vector<int64_t> failSectors;

  private:
    std::vector<unsigned char> bytes_;
};

// Recognises what DiskImage::WriteVolume wrote; everything else is unknown.
VolumeIdentifier FakeIdentifier();

// The 16 on-disk bytes of a GUID text.
std::vector<uint8_t> GuidBytes(const std::string& text);

inline const char* kBasicDataGuid = "EBD0A0A2-B9E5-4433-87C0-68B6B72699C7";
inline const char* kLinuxDataGuid = "0FC63DAF-8483-4772-8E79-3D69D8477DE4";
inline const char* kOtherGuid = "11111111-2222-3333-4444-555555555555";

}  // namespace keldrin::test
