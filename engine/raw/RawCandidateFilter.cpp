#include "engine/raw/RawCandidateFilter.h"

#include "engine/devices/StorageDevice.h"

namespace keldrin {

void CRawCandidateFilter::PrepareBlock(const uint8_t* data, int64_t sectorCount,
                                       std::vector<uint32_t>& notes) const {
    // Sectors come straight from memory, mostly not in the processor's caches: fetching some
    // ahead overlaps the waits instead of taking them one by one.
    constexpr int64_t kAhead = 16;
    const uint8_t* sector = data;
    for (int64_t i = 0; i < sectorCount; ++i, sector += kSectorSize) {
        if (i + kAhead < sectorCount) table_.Prefetch(sector + kAhead * kSectorSize);
        if (IsCandidate(sector)) notes.push_back(static_cast<uint32_t>(i));
    }
}

}  // namespace keldrin
