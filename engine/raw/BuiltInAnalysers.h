// The built-in signature analysers: which of them find a chosen file type, and the list of one of
// each that a tree build uses before any scan.
#pragma once

#include "engine/raw/RawAnalyserList.h"

namespace keldrin {

// Appends new analysers for one chosen type. Types whose analysers are not built in append
// nothing.
void BuildAnalyserList(int type, RawAnalysers& list);
// Appends one analyser of every built-in kind, in the scan's order.
void AppendAllAnalysers(RawAnalysers& list);
// Both, as the factory of the process-wide analyser list.
RawAnalyserFactory BuiltInAnalyserFactory();

}  // namespace keldrin
