#include "engine/fat/FATDataRunList.h"

namespace keldrin::fat {

void FatRunBuilder::AddRun(const Extent& run) {
    if (!runs_.empty()) {
        Extent& last = runs_.back();
        // Starts are never negative here as signed values: a start past INT64_MAX is not merged.
        if (static_cast<int64_t>(last.start) >= 0 && last.start + last.length == run.start) {
            last.length += run.length;
            return;
        }
    }
    runs_.push_back(run);
}

}  // namespace keldrin::fat
