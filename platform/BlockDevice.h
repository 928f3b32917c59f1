// A read-only raw handle on a block device or a regular file (an image). It is opened with
// O_RDONLY | O_CLOEXEC and read with pread only, so one handle may serve several threads at once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace keldrin::platform {

struct BlockGeometry {
    int64_t cylinders = 0;
    uint32_t heads = 0;  // tracks per cylinder
    uint32_t sectorsPerTrack = 0;
    uint32_t bytesPerSector = 0;
};

// Used when the kernel has no geometry for the device (regular files, loop devices, most NVMe).
inline constexpr uint32_t kFallbackHeads = 255;
inline constexpr uint32_t kFallbackSectorsPerTrack = 63;

class BlockDevice {
  public:
    BlockDevice() = default;
    ~BlockDevice();
    BlockDevice(BlockDevice&& other) noexcept;
    BlockDevice& operator=(BlockDevice&& other) noexcept;
    BlockDevice(const BlockDevice&) = delete;
    BlockDevice& operator=(const BlockDevice&) = delete;

    // Closes the current handle, then opens path when it is a block device or a regular file.
    // Folders, pipes and character devices are refused (a pipe would block the open).
    bool Open(const std::string& path);
    void Close();
    bool IsOpen() const { return fd_ >= 0; }
    bool IsBlockDevice() const { return isBlock_; }
    // The read-only descriptor; -1 when not open.
    int Descriptor() const { return fd_; }

    // Reads up to size bytes at offset, retrying interrupted and partial reads. Fewer bytes come
    // back only at the end of the data or where an error cut the read short; -1 when an error
    // (or a negative offset) let nothing be read.
    int64_t ReadAt(void* buffer, size_t size, int64_t offset) const;

    // Size in bytes (the kernel's for a block device, the file's otherwise); -1 when not open.
    int64_t SizeBytes() const;

    // The kernel's heads and sectors per track when it has them, else 255 and 63; cylinders are
    // always derived from the 64-bit size, since the kernel's cylinder field is only 16 bits.
    bool GetGeometry(BlockGeometry& geometry) const;

  private:
    int fd_ = -1;
    bool isBlock_ = false;
};

}  // namespace keldrin::platform
