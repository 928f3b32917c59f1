#include "ui/controller/PageIndex.h"

namespace keldrin::ui {

int HelpContextId(int pageIndex) {
    static constexpr int kIds[kPageCount] = {15, 16, 50, 51, 51, 27, 25, 50, 51, 23, 52};
    return pageIndex >= 0 && pageIndex < kPageCount ? kIds[pageIndex] : 0;
}

}  // namespace keldrin::ui
