// Tests that decide which files a filtered view keeps.
#pragma once

#include <cstdint>

#include "engine/model/FileProperties.h"

namespace keldrin {

class IFileFilter {
  public:
    virtual ~IFileFilter() = default;
    // True when the file passes; false for null properties.
    virtual bool Accept(const IFileProperties* properties) const = 0;
};

// Passes files that share an attribute bit with the mask; -1 passes every file whose attributes
// are known.
class CFileAttributeFilter final : public IFileFilter {
  public:
    explicit CFileAttributeFilter(int32_t mask) : mask_(mask) {}
    bool Accept(const IFileProperties* properties) const override;
    int32_t GetMask() const { return mask_; }

  private:
    int32_t mask_;
};

// Passes files that share a state bit (Deleted, Lost, Cross Link) with the mask; -1 passes every
// file whose state is known.
class CFileStateFilter final : public IFileFilter {
  public:
    explicit CFileStateFilter(int32_t mask) : mask_(mask) {}
    bool Accept(const IFileProperties* properties) const override;
    int32_t GetMask() const { return mask_; }

  private:
    int32_t mask_;
};

}  // namespace keldrin
