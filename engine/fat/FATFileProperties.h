// The properties of a file or folder found in a FAT directory entry.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "engine/model/FileProperties.h"
#include "engine/model/StoredRunList.h"

namespace keldrin::fat {

// The first and parent cluster of folders a build makes itself, and of the root's parent.
inline constexpr uint32_t kNoCluster = 0xFFFFFFFF;

class CFATFileProperties final : public IFileProperties {
  public:
    // name is UTF-8; longer than 65535 bytes it is cut on a character boundary.
    CFATFileProperties(std::string_view name, uint64_t size, uint16_t attributes);

    uint32_t GetNameLength() const override { return nameLength_; }
    const char* GetName() const override { return name_ ? name_.get() : ""; }
    uint64_t GetFileSize() const override { return size_; }
    uint16_t GetAttributes() const override { return attributes_; }
    uint64_t GetCreationTime() const override { return creationTime_; }
    uint64_t GetModificationTime() const override { return modificationTime_; }
    uint64_t GetAccessTime() const override { return accessTime_; }
    uint8_t GetState() const override { return state_; }
    uint8_t GetCheckState() const override { return checkState_; }
    void SetCheckState(uint8_t state) override { checkState_ = state; }
    // A CFATDataRunList in clusters (start = cluster - 2); null without stored extents.
    std::unique_ptr<IDataRunList> GetDataRunList() const override;
    uint32_t GetTypeCode() const override { return kTypeCodeFileSystem; }
    uint32_t GetMark() const override { return mark_; }
    // Keeps the low 8 bits; answers 1.
    uint32_t SetMark(uint32_t value) override;
    int GetPropertiesKind() const override { return kPropertiesFat; }

    void SetTimes(uint64_t creation, uint64_t modification, uint64_t access);
    void SetState(uint8_t state) { state_ = state; }
    void AddState(uint8_t bits) { state_ |= bits; }
    void SetAttributes(uint16_t attributes) { attributes_ = attributes; }
    uint32_t GetFirstCluster() const { return firstCluster_; }
    void SetFirstCluster(uint32_t cluster) { firstCluster_ = cluster; }
    uint32_t GetParentCluster() const { return parentCluster_; }
    void SetParentCluster(uint32_t cluster) { parentCluster_ = cluster; }
    void SetStoredRuns(StoredRunList runs) { runs_ = std::move(runs); }
    const StoredRunList& GetStoredRuns() const { return runs_; }

  private:
    std::unique_ptr<char[]> name_;
    uint64_t size_;
    uint64_t creationTime_ = 0;
    uint64_t modificationTime_ = 0;
    uint64_t accessTime_ = 0;
    StoredRunList runs_;
    uint32_t firstCluster_ = 0;
    uint32_t parentCluster_ = kNoCluster;
    uint16_t nameLength_ = 0;
    uint16_t attributes_;
    uint8_t state_ = 0;
    uint8_t checkState_ = 0;
    uint8_t mark_ = 0;
};

// A DOS date and time (no time-zone shift) as FILETIME; 0 when they name no real moment.
uint64_t DosTimeToFileTime(uint16_t date, uint16_t time);

}  // namespace keldrin::fat
