// The eleven pages of the wizard, by their place in the sheet's stack.
#pragma once

namespace keldrin::ui {

enum PageIndex : int {
    kPageModeSelect = 0,
    kPageDeleteDevice = 1,
    kPageCompleteDevice = 2,
    kPageLostDisk = 3,
    kPageLostPartition = 4,
    kPageSaveResult = 5,
    kPageSaveFile = 6,
    kPageCompleteScan = 7,
    kPageLostScan = 8,
    kPageFileSelect = 9,
    kPageTypeOfFile = 10,
    kPageCount = 11,
};

// The help context id of each page.
int HelpContextId(int pageIndex);

}  // namespace keldrin::ui
