#include "engine/raw/RawFileStore.h"

#include <algorithm>

namespace keldrin {
namespace {

bool StartsBefore(const CRawFileInfo* a, int64_t sector) {
    return a->startSector < sector;
}

}  // namespace

CRawFileInfo* CRawFileStore::AddRawFile(const CRawFileInfo& info) {
    CRawFileInfo* stored = &list_.emplace_back(info);
    // The scan finds candidates in ascending order, so this is nearly always an append.
    if (index_.empty() || index_.back()->startSector < stored->startSector) {
        index_.push_back(stored);
    } else {
        auto it = std::lower_bound(index_.begin(), index_.end(), stored->startSector, StartsBefore);
        if (it == index_.end() || (*it)->startSector != stored->startSector) index_.insert(it, stored);
    }
    return stored;
}

CRawFileInfo* CRawFileStore::FindByStartSector(int64_t sector) const {
    auto it = std::lower_bound(index_.begin(), index_.end(), sector, StartsBefore);
    return it != index_.end() && (*it)->startSector == sector ? *it : nullptr;
}

void CRawFileStore::Clear() {
    index_.clear();
    list_.clear();
}

}  // namespace keldrin
