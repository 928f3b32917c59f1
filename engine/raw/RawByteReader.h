// How analysers read a candidate's bytes: through a window of 512 KiB (1024 sectors) read at once,
// plus one sector so that a value crossing the window's end is still whole.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/devices/StorageDevice.h"

namespace keldrin {

inline constexpr int64_t kRawWindowSectors = 1024;
inline constexpr int64_t kRawWindowBytes = kRawWindowSectors * kSectorSize;

class CRawByteReader {
  public:
    // device is not owned; sector numbers are those of the scanned volume.
    CRawByteReader(IStorageDevice* device, int64_t startSector) : device_(device), start_(startSector) {}
    ~CRawByteReader();
    CRawByteReader(const CRawByteReader&) = delete;
    CRawByteReader& operator=(const CRawByteReader&) = delete;

    // The byte at offset from the file start; null past the readable data. The address stays
    // valid until the next call of any reader of this thread; the bytes up to the window's end
    // and one sector beyond follow it when GetAvailable says so.
    const uint8_t* GetByte(int64_t offset);
    // How many bytes GetByte(offset)'s address can be read from (0 when it is null).
    size_t GetAvailable(int64_t offset);
    // Copies count bytes from offset, across windows; false when any of them cannot be read.
    bool ReadBytes(int64_t offset, void* out, size_t count);

  private:
    bool Load(int64_t window);

    IStorageDevice* device_;
    int64_t start_;
    int64_t window_ = -1;
};

}  // namespace keldrin
