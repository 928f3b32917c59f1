// The byte source under a disk or volume device. The default one reads a block device (or an image
// file standing in for one) through a read-only handle; tests put in one that fails at chosen
// places and counts its accesses.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "engine/devices/DiskGeometry.h"

namespace keldrin {

class IRawReader {
  public:
    virtual ~IRawReader() = default;
    // Closes the current source first.
    virtual bool Open(const std::string& path) = 0;
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;
    // Reads up to size bytes at byte offset; answers the bytes read (fewer at the end of the source
    // or where an error cut the read short) or -1. May be called from several threads at once.
    virtual int64_t ReadAt(void* buffer, int64_t size, int64_t offset) = 0;
    // -1 when not open or unknown.
    virtual int64_t SizeBytes() = 0;
    virtual bool GetGeometry(DiskGeometry& geometry) = 0;
    // The read-only descriptor of a regular file being read; -1 for block devices and readers
    // without one.
    virtual int FileDescriptor() const { return -1; }
};

// Read-only block-device reader (O_RDONLY | O_CLOEXEC, pread).
std::unique_ptr<IRawReader> MakeBlockDeviceReader();

}  // namespace keldrin
