// Which analysers can match a sector, looked up by the two bytes each analyser names at its own
// offset, so that the scan asks only those (most sectors: none) and still in list order.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "engine/raw/RawAnalyserList.h"

namespace keldrin {

class CSignatureTable {
  public:
    // From the list as it stands; the list must not change while the table is used.
    void Build(const RawAnalysers& list);
    bool IsEmpty() const { return analysers_.empty(); }

    // Calls ask(analyser) for the analysers that may match sector (512 bytes), in list order,
    // until one answers true; that one is returned (null when none does). Not for concurrent use.
    template <class Ask>
    IRawFileAnalyser* FirstMatch(const uint8_t* sector, Ask&& ask) const {
        asked_.clear();
        int sources = anyKey_.empty() ? 0 : 1;
        for (const Group& g : groups_) {
            const uint32_t key = sector[g.offset] | sector[g.offset + 1] << 8;
            if ((g.present[key >> 6] >> (key & 63) & 1) == 0) continue;
            asked_.insert(asked_.end(), g.positions.begin() + g.starts[key],
                          g.positions.begin() + g.starts[key + 1]);
            ++sources;
        }
        if (sources == 0) return nullptr;
        asked_.insert(asked_.end(), anyKey_.begin(), anyKey_.end());
        if (sources > 1) std::sort(asked_.begin(), asked_.end());
        for (uint16_t position : asked_) {
            IRawFileAnalyser* a = analysers_[position];
            if (ask(a)) return a;
        }
        return nullptr;
    }

    // Whether FirstMatch would ask any analyser about sector. Only reads the table, so it may run
    // on another thread than FirstMatch.
    bool MayMatch(const uint8_t* sector) const {
        if (!anyKey_.empty()) return true;
        for (const Group& g : groups_) {
            const uint32_t key = sector[g.offset] | sector[g.offset + 1] << 8;
            if ((g.present[key >> 6] >> (key & 63) & 1) != 0) return true;
        }
        return false;
    }

    // Asks the processor to fetch the cache lines of sector that FirstMatch reads, so that a scan
    // that calls this some sectors ahead does not wait for memory sector by sector.
    void Prefetch(const uint8_t* sector) const {
        for (uint16_t line : lines_) __builtin_prefetch(sector + line);
    }

  private:
    // The analysers whose bytes stand at one offset.
    struct Group {
        int offset = 0;
        std::vector<uint64_t> present;    // a bit per key: any analyser at all
        std::vector<uint32_t> starts;     // 65537 entries into positions
        std::vector<uint16_t> positions;  // per key, ascending list positions
    };

    std::vector<IRawFileAnalyser*> analysers_;  // in list order
    std::vector<Group> groups_;                 // by ascending offset
    std::vector<uint16_t> anyKey_;              // analysers asked about every sector
    std::vector<uint16_t> lines_;               // where the lines of the bytes looked at begin
    mutable std::vector<uint16_t> asked_;       // FirstMatch's list, kept to spare allocations
};

}  // namespace keldrin
