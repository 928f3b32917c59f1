// What happens to the file-system candidates after a scan: ranked against each other, ordered
// best first, and the best ones that do not overlap marked selected.
#pragma once

#include <cstdint>

#include "engine/search/FileSystemSearchController.h"

namespace keldrin {

// score = base + 50 * folders + files; rank = ln(score) / ln(best score) (scores below 2 count as
// themselves, a best score below 2 as 1).
void RankCandidates(CandidateList& candidates);
// By rank, highest first; equal ranks keep their order.
void OrderCandidates(CandidateList& candidates);
// Marks, best rank first, each candidate of rank above 0 whose sectors lie wholly in the part of
// [0, totalSectors) that no marked candidate holds yet.
void SelectCandidates(CandidateList& candidates, int64_t totalSectors);

}  // namespace keldrin
