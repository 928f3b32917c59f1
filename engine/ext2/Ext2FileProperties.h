// The properties of a file or folder found in an Ext2/3 inode.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "engine/model/FileProperties.h"
#include "engine/model/StoredRunList.h"

namespace keldrin::ext2 {

class CExt2FileProperties final : public IFileProperties {
  public:
    CExt2FileProperties() = default;

    // A volume gives one of these per inode: they come from the tree pool, like the nodes.
    static void* operator new(size_t size);
    static void operator delete(void* block, size_t size) noexcept;

    uint32_t GetNameLength() const override { return static_cast<uint32_t>(name_.size()); }
    const char* GetName() const override { return name_.c_str(); }
    uint64_t GetFileSize() const override { return size_; }
    uint16_t GetAttributes() const override { return attributes_; }
    uint64_t GetCreationTime() const override { return creationTime_; }
    uint64_t GetModificationTime() const override { return modificationTime_; }
    uint64_t GetAccessTime() const override { return accessTime_; }
    uint8_t GetState() const override { return state_; }
    uint8_t GetCheckState() const override { return checkState_; }
    void SetCheckState(uint8_t state) override { checkState_ = state; }
    // A CExt2DataRunList of the stored extents; null for folders and files without data.
    std::unique_ptr<IDataRunList> GetDataRunList() const override;
    uint32_t GetTypeCode() const override { return kTypeCodeFileSystem; }
    uint32_t GetMark() const override { return mark_; }
    uint32_t SetMark(uint32_t value) override {
        mark_ = static_cast<uint8_t>(value);
        return 1;
    }
    int GetPropertiesKind() const override { return kPropertiesExt2; }

    void SetName(std::string name) { name_ = std::move(name); }
    void SetFileSize(uint64_t size) { size_ = size; }
    void SetAttributes(uint16_t attributes) { attributes_ = attributes; }
    void SetTimes(uint64_t creation, uint64_t modification, uint64_t access) {
        creationTime_ = creation;
        modificationTime_ = modification;
        accessTime_ = access;
    }
    void SetState(uint8_t state) { state_ = state; }
    void SetStoredRuns(StoredRunList runs) { runs_ = std::move(runs); }
    const StoredRunList& GetStoredRuns() const { return runs_; }
    uint32_t GetInodeNumber() const { return inode_; }
    void SetInodeNumber(uint32_t inode) { inode_ = inode; }

  private:
    // Widest first, the small fields together at the end: no padding between them.
    std::string name_;
    uint64_t size_ = 0;
    uint64_t creationTime_ = 0;
    uint64_t modificationTime_ = 0;
    uint64_t accessTime_ = 0;
    StoredRunList runs_;
    uint32_t inode_ = 0;
    uint16_t attributes_ = 0;
    uint8_t state_ = 0;
    uint8_t checkState_ = 0;
    uint8_t mark_ = 0;
};

// Seconds since 1970 (UTC) as FILETIME; 0 stays 0.
uint64_t Ext2TimeToFileTime(uint32_t seconds);

}  // namespace keldrin::ext2
