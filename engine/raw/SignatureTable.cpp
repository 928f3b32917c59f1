#include "engine/raw/SignatureTable.h"

#include <algorithm>

namespace keldrin {

void CSignatureTable::Build(const RawAnalysers& list) {
    constexpr size_t kKeys = 65536;
    // Positions are 16-bit: a list longer than that is far beyond any set of types.
    const size_t count = std::min<size_t>(list.size(), 65535);
    analysers_.clear();
    anyKey_.clear();
    std::vector<std::vector<uint16_t>> byKey(kKeys);
    std::vector<uint16_t> values;
    for (size_t i = 0; i < count; ++i) {
        IRawFileAnalyser* a = list[i].get();
        if (!a) continue;
        const auto position = static_cast<uint16_t>(analysers_.size());
        analysers_.push_back(a);
        values.clear();
        if (!a->GetLeadingBytes(values)) {
            anyKey_.push_back(position);
            continue;
        }
        std::sort(values.begin(), values.end());
        values.erase(std::unique(values.begin(), values.end()), values.end());
        for (uint16_t v : values) byKey[v].push_back(position);
    }
    offsets_.assign(kKeys + 1, 0);
    positions_.clear();
    for (size_t k = 0; k < kKeys; ++k) {
        offsets_[k] = static_cast<uint32_t>(positions_.size());
        positions_.insert(positions_.end(), byKey[k].begin(), byKey[k].end());
    }
    offsets_[kKeys] = static_cast<uint32_t>(positions_.size());
}

}  // namespace keldrin
