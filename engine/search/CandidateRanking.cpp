#include "engine/search/CandidateRanking.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>
#include <map>

namespace keldrin {
namespace {

// Counts come from on-disk data: saturate instead of overflowing.
int64_t SaturatedScore(const CSearchedPartitionInfo& c) {
    const long double s = static_cast<long double>(c.baseScore) + 50.0L * c.foldersMatch + c.filesMatch;
    if (s >= static_cast<long double>(std::numeric_limits<int64_t>::max()))
        return std::numeric_limits<int64_t>::max();
    if (s <= static_cast<long double>(std::numeric_limits<int64_t>::min()))
        return std::numeric_limits<int64_t>::min();
    return static_cast<int64_t>(s);
}

double Scaled(int64_t score) {
    return score >= 2 ? std::log(static_cast<double>(score)) : static_cast<double>(score);
}

// Free sectors as disjoint ranges, start -> end (exclusive).
using FreeSpace = std::map<int64_t, int64_t>;

bool LiesInFree(const FreeSpace& free, int64_t start, int64_t end) {
    if (end <= start) return false;  // an empty range holds no file system
    auto it = free.upper_bound(start);
    if (it == free.begin()) return false;
    --it;
    return it->first <= start && end <= it->second;
}

void Take(FreeSpace& free, int64_t start, int64_t end) {
    auto it = std::prev(free.upper_bound(start));
    const int64_t from = it->first;
    const int64_t to = it->second;
    free.erase(it);
    if (from < start) free.emplace(from, start);
    if (end < to) free.emplace(end, to);
}

}  // namespace

void RankCandidates(CandidateList& candidates) {
    int64_t best = std::numeric_limits<int64_t>::min();
    for (const auto& c : candidates)
        if (c) best = std::max(best, SaturatedScore(*c));
    const double d = best >= 2 ? std::log(static_cast<double>(best)) : 1.0;
    for (auto& c : candidates)
        if (c) c->rank = Scaled(SaturatedScore(*c)) / d;
}

void OrderCandidates(CandidateList& candidates) {
    std::stable_sort(candidates.begin(), candidates.end(), [](const auto& a, const auto& b) {
        const double ra = a ? a->rank : -std::numeric_limits<double>::infinity();
        const double rb = b ? b->rank : -std::numeric_limits<double>::infinity();
        return ra > rb;
    });
}

void SelectCandidates(CandidateList& candidates, int64_t totalSectors) {
    FreeSpace free;
    if (totalSectors > 0) free.emplace(0, totalSectors);
    std::vector<CSearchedPartitionInfo*> remaining;
    for (auto& c : candidates)
        if (c) remaining.push_back(c.get());
    auto range = [](const CSearchedPartitionInfo* c) {
        const int64_t start = c->partitionStartSector;
        const int64_t count = c->partitionSectorsCount;
        const int64_t end = start > std::numeric_limits<int64_t>::max() - count
                                ? std::numeric_limits<int64_t>::max()
                                : start + count;
        return std::pair<int64_t, int64_t>(start, end);
    };
    auto fits = [&](const CSearchedPartitionInfo* c) {
        const auto [start, end] = range(c);
        return start >= 0 && LiesInFree(free, start, end);
    };
    for (;;) {
        CSearchedPartitionInfo* best = nullptr;
        for (CSearchedPartitionInfo* c : remaining)
            if (c->rank > 0 && fits(c) && (!best || c->rank > best->rank)) best = c;
        if (!best) break;
        best->selected = 1;
        const auto [start, end] = range(best);
        Take(free, start, end);
        std::erase_if(remaining, [&](CSearchedPartitionInfo* c) { return c == best || !fits(c); });
    }
}

}  // namespace keldrin
