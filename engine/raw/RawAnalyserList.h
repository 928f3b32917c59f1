// The one list of RAW analysers of the process, in the order the scan asks them, and how it is
// made: all analysers on first use, or those of the chosen types when a RAW scan begins.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "engine/raw/RawFileAnalyser.h"

namespace keldrin {

using RawAnalysers = std::vector<std::unique_ptr<IRawFileAnalyser>>;

struct RawAnalyserFactory {
    // Appends the analysers that find one chosen type.
    std::function<void(int type, RawAnalysers& list)> forType;
    // Appends one analyser of every kind, for a tree build before any scan.
    std::function<void(RawAnalysers& list)> all;
};

// Replaces the process-wide factory (the signature analysers register theirs; tests their own).
// The list is made again on next use.
void SetRawAnalyserFactory(RawAnalyserFactory factory);

// The list, made with every analyser on first use.
RawAnalysers& GetRawAnalyserList();
// Clears the list and appends, for each type in order, that type's analysers.
void RebuildRawAnalyserList(const std::vector<int>& chosenTypes);
// The first analyser of the list with that id; null when none.
IRawFileAnalyser* FindRawAnalyser(int32_t analyserId);

}  // namespace keldrin
