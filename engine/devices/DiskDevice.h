// A whole disk of the machine, by its number in the disk list (platform/DiskList.h), read-only.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "engine/devices/BadSectorMap.h"
#include "engine/devices/DiskGeometry.h"
#include "engine/devices/RawReader.h"
#include "engine/devices/RawSectorAccess.h"
#include "engine/devices/StorageDevice.h"

namespace keldrin {

// Used by the partition search when the geometry cannot be read.
inline constexpr int kDefaultHeadsPerCylinder = 255;

class CDiskDevice final : public IStorageDevice {
  public:
    // Opens the disk at once. A null reader gets the block-device reader.
    explicit CDiskDevice(int diskNumber, std::unique_ptr<IRawReader> reader = nullptr);
    ~CDiskDevice() override;
    CDiskDevice(const CDiskDevice&) = delete;
    CDiskDevice& operator=(const CDiskDevice&) = delete;

    bool ReadSectors(void* buffer, int64_t firstSector, int64_t sectorCount) override;
    // 0 when not open.
    int64_t GetTotalSectors() override;
    // Looks the number up in the disk list again and reopens.
    bool Open() override;
    bool Close() override;

    bool IsOpen() const { return access_.IsOpen(); }
    // The number when the disk list held it at the last Open, else -1 (also for negative numbers).
    int GetDiskNumber() const;
    // The device path the number led to at the last Open; empty when the list did not hold it.
    const std::string& GetDevicePath() const { return devicePath_; }

    // The MBR disk signature (the 32-bit little-endian value at byte 440 of sector 0), or -1 when
    // sector 0 cannot be read.
    int64_t GetDiskSignature();
    bool GetGeometry(DiskGeometry& geometry);
    // The geometry's tracks per cylinder, 255 when it cannot be read.
    int GetHeadsPerCylinder();

    void ProbeBadRegion(int64_t firstSector) { access_.ProbeBadRegion(firstSector); }
    const CBadSectorMap& GetBadSectorMap() const { return access_.GetBadSectorMap(); }

  private:
    int diskNumber_;
    bool listed_ = false;
    std::string devicePath_;
    CRawSectorAccess access_;
};

}  // namespace keldrin
