// Fixtures for the Ext2/3 tests: an in-memory device, hand-made superblocks, and small volumes
// made with mke2fs and debugfs.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/devices/StorageDevice.h"

namespace keldrin::ext2::test {

using Bytes = std::vector<uint8_t>;

void Put16(Bytes& b, size_t offset, uint16_t v);
void Put32(Bytes& b, size_t offset, uint32_t v);
uint32_t Get32(const Bytes& b, size_t offset);

// Sectors from memory; counts the reads it is asked for.
class MemoryDevice final : public IStorageDevice {
  public:
    explicit MemoryDevice(Bytes bytes) : bytes_(std::move(bytes)) {}
    bool ReadSectors(void* buffer, int64_t first, int64_t count) override;
    int64_t GetTotalSectors() override { return static_cast<int64_t>(bytes_.size() / 512); }
    bool Open() override { return true; }
    bool Close() override { return true; }
    Bytes& bytes() { return bytes_; }
    int reads = 0;
    int64_t failFrom = -1;  // reads that touch this sector or later fail

  private:
    Bytes bytes_;
};

// A consistent superblock of a volume with 1 KiB blocks, one group, 8192 blocks and 256 inodes.
Bytes MakeSuperBlock();

// Runs a shell command; false when it fails.
bool Shell(const std::string& command);
// mke2fs options and a staging tree to fill the volume from (may be empty); sizeKiB of the volume.
bool MakeImage(const std::filesystem::path& image, const std::string& options,
               const std::filesystem::path& staging, int sizeKiB);
// Runs debugfs -w with one request per line.
bool Debugfs(const std::filesystem::path& image, const std::vector<std::string>& requests);
Bytes ReadFile(const std::filesystem::path& path);
void WriteFile(const std::filesystem::path& path, const Bytes& bytes);

}  // namespace keldrin::ext2::test
