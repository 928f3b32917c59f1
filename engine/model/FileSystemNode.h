// The root of one volume's tree, and the top "Root" of the displayed tree: where the volume lies,
// its file system, its display name and the selection statistics of everything below it.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "engine/devices/Volume.h"
#include "engine/model/FileNode.h"
#include "engine/model/SelectionStatistics.h"

namespace keldrin {

// Filled and read as a whole by the page controllers; the model only keeps it.
struct VolumeInfo {
    uint32_t value = 0;
    uint32_t kind = 0;  // kVolumeInfoBuilt or kVolumeInfoFiltered
    uint8_t data[248] = {};
};
inline constexpr uint32_t kVolumeInfoBuilt = 0;     // a tree built by a reader
inline constexpr uint32_t kVolumeInfoFiltered = 2;  // the root of a filtered copy

class CFileSystemNode final : public CFileNode {
  public:
    // Display names are cut to this many bytes, on a character boundary.
    static constexpr size_t kMaxDisplayName = 40;

    CFileSystemNode() = default;
    ~CFileSystemNode() override = default;

    bool IsFileSystemNode() const override { return true; }
    VolumeLocation GetVolumeLocation() const override { return location_; }
    int GetFileSystemType() const override { return type_; }

    void SetVolumeLocation(int64_t firstSector, uint32_t sectorsPerCluster);
    // Codes outside the FileSystemType range become kFsUnknown.
    void SetFileSystemType(int type);
    VolumeInfo GetVolumeInfo() const { return volumeInfo_; }
    void SetVolumeInfo(const VolumeInfo& info) { volumeInfo_ = info; }

    // Zero-terminated, "" when none was set.
    const char* GetDisplayName() const { return displayName_ ? displayName_.get() : ""; }
    uint32_t GetDisplayNameLength() const { return displayNameLength_; }
    // Stops at a zero byte; cut to kMaxDisplayName bytes.
    void SetDisplayName(std::string_view name);

    // Checks node and everything below it, or unchecks them when node is checked already; each
    // file-system node from node up to the top follows with its checked counters, and each folder
    // above with its check state. With setOnly, only node's own state changes. False when node or
    // its properties are null.
    bool ToggleCheck(CFileNode* node, bool setOnly);
    // SetMark on node's properties; false when node or its properties are null.
    bool SetPropertiesMark(CFileNode* node, uint32_t value);

    SelectionStatistics GetStatistics() const { return statistics_; }
    // Recounts the statistics of this node and of every file-system node below it.
    void RecomputeStatistics();
    // The folders' check states from the files, then the statistics.
    void RefreshChecks();

  private:
    SelectionStatistics statistics_;
    VolumeInfo volumeInfo_;
    VolumeLocation location_;
    int type_ = kFsUnknown;
    std::unique_ptr<char[]> displayName_;
    uint32_t displayNameLength_ = 0;
};

}  // namespace keldrin
