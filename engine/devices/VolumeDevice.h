// One partition or volume, by its block-device path ("/dev/sda1"), read-only. The mount point, when
// the caller knows one, answers the free-space query.
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

class CVolumeDevice final : public IStorageDevice {
  public:
    // Opens the volume at once. A null reader gets the block-device reader.
    explicit CVolumeDevice(std::string path, std::string mountPoint = {},
                           std::unique_ptr<IRawReader> reader = nullptr);
    ~CVolumeDevice() override;
    CVolumeDevice(const CVolumeDevice&) = delete;
    CVolumeDevice& operator=(const CVolumeDevice&) = delete;

    bool ReadSectors(void* buffer, int64_t firstSector, int64_t sectorCount) override;
    // 0 when not open.
    int64_t GetTotalSectors() override;
    // Fails on an empty path or one of PATH_MAX characters or more.
    bool Open() override;
    bool Close() override;

    bool IsOpen() const { return access_.IsOpen(); }
    const std::string& GetPath() const { return path_; }
    const std::string& GetMountPoint() const { return mountPoint_; }

    bool GetGeometry(DiskGeometry& geometry);
    // Bytes free to the user on the mounted file system; -1 without a mount point or when the
    // system cannot tell.
    int64_t GetFreeSpace() const;

    void ProbeBadRegion(int64_t firstSector) { access_.ProbeBadRegion(firstSector); }
    const CBadSectorMap& GetBadSectorMap() const { return access_.GetBadSectorMap(); }

  private:
    std::string path_;
    std::string mountPoint_;
    CRawSectorAccess access_;
};

}  // namespace keldrin
