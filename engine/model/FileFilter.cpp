#include "engine/model/FileFilter.h"

namespace keldrin {
namespace {

// Only these attribute bits can make a file pass: read-only, hidden, system, 0x08, folder, archive,
// encrypted, 0x400 and compressed.
constexpr uint32_t kFilterableAttributes =
    0x0001 | 0x0002 | 0x0004 | 0x0008 | 0x0010 | 0x0020 | 0x0040 | 0x0400 | 0x0800;
constexpr uint32_t kFilterableStates = kStateDeleted | kStateLost | kStateCrossLink;

}  // namespace

bool CFileAttributeFilter::Accept(const IFileProperties* properties) const {
    if (!properties || !(properties->GetTypeCode() & kHasAttributes)) return false;
    if (mask_ == -1) return true;
    return (properties->GetAttributes() & static_cast<uint32_t>(mask_) & kFilterableAttributes) != 0;
}

bool CFileStateFilter::Accept(const IFileProperties* properties) const {
    if (!properties || !(properties->GetTypeCode() & kHasState)) return false;
    if (mask_ == -1) return true;
    return (properties->GetState() & static_cast<uint32_t>(mask_) & kFilterableStates) != 0;
}

}  // namespace keldrin
