// A raw (uncompressed) image file, read-only. Reads succeed only in whole: no bad-sector handling,
// no zero-fill.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "engine/devices/RawReader.h"
#include "engine/devices/StorageDevice.h"

namespace keldrin {

class CImageFileDevice final : public IStorageDevice {
  public:
    // Keeps the path only when it is non-empty and shorter than PATH_MAX, then opens it.
    explicit CImageFileDevice(const std::string& path);
    ~CImageFileDevice() override;
    CImageFileDevice(const CImageFileDevice&) = delete;
    CImageFileDevice& operator=(const CImageFileDevice&) = delete;

    bool ReadSectors(void* buffer, int64_t firstSector, int64_t sectorCount) override;
    // The file size divided by 512; 0 when not open.
    int64_t GetTotalSectors() override;
    // Each read is one positioned read of the open file.
    bool ReadsConcurrently() override { return true; }
    bool Open() override;
    bool Close() override;
    bool LocateInFile(int64_t firstSector, int64_t sectorCount, int& descriptor,
                      int64_t& byteOffset) override;

    bool IsOpen() const { return file_->IsOpen(); }
    const std::string& GetPath() const { return path_; }

  private:
    std::string path_;
    std::unique_ptr<IRawReader> file_;
};

}  // namespace keldrin
