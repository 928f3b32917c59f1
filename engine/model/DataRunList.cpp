#include "engine/model/DataRunList.h"

namespace keldrin {

const Extent* IDataRunList::First() {
    cursor_ = 0;
    return IsEnd() ? nullptr : &extents_[cursor_];
}

const Extent* IDataRunList::Next() {
    if (IsEnd()) return nullptr;
    ++cursor_;
    return IsEnd() ? nullptr : &extents_[cursor_];
}

}  // namespace keldrin
