#include "engine/ext2/Ext2DataRunList.h"

namespace keldrin::ext2 {

void Ext2RunBuilder::Add(uint64_t start, uint64_t length) {
    if (length == 0) return;
    if (start == 0) holes_ = true;
    if (!runs_.empty()) {
        Extent& last = runs_.back();
        if ((last.start == 0 && start == 0) || (last.start != 0 && last.start + last.length == start)) {
            last.length += length;
            return;
        }
    }
    runs_.push_back(Extent{start, length});
}

}  // namespace keldrin::ext2
