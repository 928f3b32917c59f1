// The extents of one file's data, expanded from the stored form when a file is previewed or
// copied, with a cursor for walking them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/model/Extent.h"

namespace keldrin {

// Which reader's list this is.
enum RunListKind : int {
    kRunListFat = 0,
    kRunListResidentNtfs = 1,
    kRunListNonResidentNtfs = 2,
    kRunListRaw = 3,
    kRunListExt2 = 4,
};

class IDataRunList {
  public:
    virtual ~IDataRunList() = default;

    // A resident list describes a value kept inside a file record, not in clusters.
    virtual bool IsResident() const { return false; }
    // Byte offset of a resident value inside its record sector's buffer; 0 otherwise.
    virtual uint32_t GetResidentOffset() const { return 0; }
    virtual int GetRunListKind() const = 0;

    void AddRun(const Extent& extent) { extents_.push_back(extent); }

    // The cursor: First moves it to the first extent, Next one further; both give null past the end.
    const Extent* First();
    const Extent* Next();
    bool IsEnd() const { return cursor_ >= extents_.size(); }

    size_t GetRunCount() const { return extents_.size(); }
    const std::vector<Extent>& GetExtents() const { return extents_; }

  private:
    std::vector<Extent> extents_;
    size_t cursor_ = 0;
};

// A value resident in an MFT record: one extent (the record's sector, 1 sector) and the value's
// offset inside that sector's buffer.
class CResidentNTFSDataRunList final : public IDataRunList {
  public:
    explicit CResidentNTFSDataRunList(uint32_t offset) : offset_(offset) {}

    bool IsResident() const override { return true; }
    uint32_t GetResidentOffset() const override { return offset_; }
    int GetRunListKind() const override { return kRunListResidentNtfs; }

  private:
    uint32_t offset_;
};

// Extents decoded from mapping pairs: starts are clusters of the volume, all ones when sparse.
class CNoneResidentNTFSDataRunList final : public IDataRunList {
  public:
    int GetRunListKind() const override { return kRunListNonResidentNtfs; }
};

}  // namespace keldrin
