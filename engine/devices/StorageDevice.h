// The one source of sectors: disks, volumes, image files, partition windows, caches and rings.
#pragma once

#include <cstdint>

namespace keldrin {

// Every device, reader and stored sector number counts in 512-byte sectors.
inline constexpr int kSectorSize = 512;

class IStorageDevice {
  public:
    virtual ~IStorageDevice() = default;
    // Reads sectorCount sectors from firstSector into buffer (at least sectorCount * 512 bytes).
    virtual bool ReadSectors(void* buffer, int64_t firstSector, int64_t sectorCount) = 0;
    virtual int64_t GetTotalSectors() = 0;
    virtual bool Open() = 0;
    // Always succeeds.
    virtual bool Close() = 0;

    // True when ReadSectors may be called from several threads at once: the reads keep no state
    // of the device's own. Others are read by one thread at a time (SerializedDevice).
    virtual bool ReadsConcurrently() { return false; }

    // Where sectors lie in a regular file the device holds open read-only, so that a copy can be
    // made by the kernel without passing the bytes through the process. False when the device
    // cannot tell (disks, caches, rings) or the range is not wholly inside it.
    virtual bool LocateInFile(int64_t firstSector, int64_t sectorCount, int& descriptor,
                              int64_t& byteOffset) {
        (void)firstSector;
        (void)sectorCount;
        (void)descriptor;
        (void)byteOffset;
        return false;
    }
};

}  // namespace keldrin
