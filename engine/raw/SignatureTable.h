// Which analysers can match a sector, looked up by the sector's first two bytes, so that the scan
// asks only those (most sectors: none) and still in list order.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/raw/RawAnalyserList.h"

namespace keldrin {

class CSignatureTable {
  public:
    // From the list as it stands; the list must not change while the table is used.
    void Build(const RawAnalysers& list);
    bool IsEmpty() const { return analysers_.empty(); }

    // Calls ask(analyser) for the analysers that may match a sector beginning with key, in list
    // order, until one answers true; that one is returned (null when none does).
    template <class Ask>
    IRawFileAnalyser* FirstMatch(uint16_t key, Ask&& ask) const {
        const uint16_t* own = positions_.data() + offsets_[key];
        const uint16_t* ownEnd = positions_.data() + offsets_[key + 1];
        const uint16_t* any = anyKey_.data();
        const uint16_t* anyEnd = any + anyKey_.size();
        while (own != ownEnd || any != anyEnd) {
            uint16_t position;
            if (any == anyEnd || (own != ownEnd && *own < *any)) {
                position = *own++;
            } else {
                position = *any++;
            }
            IRawFileAnalyser* a = analysers_[position];
            if (ask(a)) return a;
        }
        return nullptr;
    }

  private:
    std::vector<IRawFileAnalyser*> analysers_;  // in list order
    std::vector<uint32_t> offsets_;             // 65537 entries into positions_
    std::vector<uint16_t> positions_;           // per key, ascending list positions
    std::vector<uint16_t> anyKey_;              // analysers asked about every key
};

}  // namespace keldrin
