// Small trees and devices for the recovery writer's tests.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/model/FileProperties.h"
#include "engine/model/FileTree.h"
#include "engine/model/ProgressCallbacks.h"

namespace keldrin::testing {

// A file or folder with the fields the writer reads.
class TestProperties final : public IFileProperties {
  public:
    TestProperties(std::string name, uint64_t size, uint16_t attributes = 0, std::vector<Extent> extents = {},
                   int kind = kPropertiesFat);

    uint32_t GetNameLength() const override { return static_cast<uint32_t>(name_.size()); }
    const char* GetName() const override { return name_.c_str(); }
    uint64_t GetFileSize() const override { return size_; }
    uint16_t GetAttributes() const override { return attributes_; }
    uint64_t GetCreationTime() const override { return modification; }
    uint64_t GetModificationTime() const override { return modification; }
    uint64_t GetAccessTime() const override { return access; }
    uint8_t GetState() const override { return 1; }
    uint8_t GetCheckState() const override { return check_; }
    void SetCheckState(uint8_t state) override { check_ = state; }
    std::unique_ptr<IDataRunList> GetDataRunList() const override;
    uint32_t GetTypeCode() const override { return kTypeCodeFileSystem; }
    uint32_t GetMark() const override { return 0; }
    uint32_t SetMark(uint32_t) override { return 0; }
    int GetPropertiesKind() const override { return kind_; }

    uint64_t modification = 0;
    uint64_t access = 0;

  private:
    std::string name_;
    uint64_t size_;
    uint16_t attributes_;
    std::vector<Extent> extents_;
    int kind_;
    uint8_t check_ = kChecked;
};

// Adds a child with the given properties under parent; returns it.
CFileNode* AddNode(CFileNode* parent, TestProperties* properties);
// A volume root at firstSector with sectorsPerCluster, named "Volume", checked.
TreeOwner<CFileSystemNode> MakeVolume(int64_t firstSector, uint32_t sectorsPerCluster);

// Counts what the writer reports; cancels at the cancelAtBytes-th AddBytes call when set.
class CountingCallback final : public IFileRecoverCallback {
  public:
    int Begin(uint32_t, uint64_t) override { return kGoOn; }
    int AddFiles(uint32_t count) override {
        files += count;
        return kGoOn;
    }
    int AddBytes(uint64_t count) override;
    int SubtractBytes(uint32_t count) override {
        bytes -= count;
        subtracted += count;
        return kGoOn;
    }
    int SetCurrentFile(const char*) override { return kGoOn; }
    int IsCancelled() override { return kGoOn; }

    uint32_t files = 0;
    uint64_t bytes = 0;
    uint64_t peakBytes = 0;
    uint64_t subtracted = 0;
    int addBytesCalls = 0;
    int cancelAtBytes = 0;
};

// Every regular file below root, relative paths.
std::vector<std::string> FilesBelow(const std::filesystem::path& root);
std::string ReadFile(const std::filesystem::path& path);

}  // namespace keldrin::testing
