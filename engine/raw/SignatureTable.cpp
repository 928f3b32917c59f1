#include "engine/raw/SignatureTable.h"

#include <tuple>

namespace keldrin {

void CSignatureTable::Build(const RawAnalysers& list) {
    constexpr size_t kKeys = 65536;
    constexpr int kLastOffset = 510;  // the two bytes lie within the sector
    // Positions are 16-bit: a list longer than that is far beyond any set of types.
    const size_t count = std::min<size_t>(list.size(), 65535);
    analysers_.clear();
    groups_.clear();
    lines_.clear();
    anyKey_.clear();
    // (offset, key, position) of every named value, sorted: groups by offset, keys in order and
    // each key's analysers in list order.
    std::vector<std::tuple<int, uint16_t, uint16_t>> entries;
    std::vector<uint16_t> values;
    for (size_t i = 0; i < count; ++i) {
        IRawFileAnalyser* a = list[i].get();
        if (!a) continue;
        const auto position = static_cast<uint16_t>(analysers_.size());
        analysers_.push_back(a);
        values.clear();
        const int offset = a->GetLeadingBytesOffset();
        if (!a->GetLeadingBytes(values) || values.empty() || offset < 0 || offset > kLastOffset) {
            anyKey_.push_back(position);
            continue;
        }
        for (uint16_t v : values) entries.emplace_back(offset, v, position);
    }
    std::sort(entries.begin(), entries.end());
    entries.erase(std::unique(entries.begin(), entries.end()), entries.end());
    for (size_t i = 0; i < entries.size();) {
        Group& g = groups_.emplace_back();
        g.offset = std::get<0>(entries[i]);
        g.present.assign(kKeys / 64, 0);
        g.starts.assign(kKeys + 1, 0);
        for (; i < entries.size() && std::get<0>(entries[i]) == g.offset; ++i) {
            const uint16_t key = std::get<1>(entries[i]);
            g.present[key / 64] |= uint64_t{1} << (key % 64);
            ++g.starts[key + 1];
            g.positions.push_back(std::get<2>(entries[i]));
        }
        // Counts per key into where each key's positions begin.
        for (size_t k = 0; k < kKeys; ++k) g.starts[k + 1] += g.starts[k];
    }
    // The scan reads the first four bytes of every sector, and each group's two.
    constexpr int kLine = 64;
    lines_.assign(1, 0);
    for (const Group& g : groups_) {
        for (int at : {g.offset, g.offset + 1}) {
            const auto line = static_cast<uint16_t>(at / kLine * kLine);
            if (std::find(lines_.begin(), lines_.end(), line) == lines_.end()) lines_.push_back(line);
        }
    }
    asked_.reserve(analysers_.size());
}

}  // namespace keldrin
