#include "engine/model/CheckStates.h"

#include <cstddef>

#include "engine/model/FileProperties.h"
#include "engine/model/TreeWalk.h"

namespace keldrin {

void RecomputeOwnCheckState(CFileNode* node) {
    IFileProperties* properties = node ? node->GetProperties() : nullptr;
    if (!IsFolder(properties)) return;
    size_t all = 0, full = 0, part = 0;
    for (const CFileNode* child = node->GetFirstChild(); child; child = child->GetNextSibling()) {
        const IFileProperties* p = child->GetProperties();
        if (!p) continue;
        ++all;
        if (p->GetCheckState() == kChecked) ++full;
        if (p->GetCheckState() == kPartlyChecked) ++part;
    }
    uint8_t state = kPartlyChecked;
    if (full == 0 && part == 0)
        state = kUnchecked;
    else if (full == all)
        state = kChecked;
    properties->SetCheckState(state);
}

void RecomputeCheckStates(CFileNode* node) {
    // Only folders have states of their own to recompute, so only folders are entered.
    WalkSubtree(
        node, [](CFileNode* n) { return IsFolder(n->GetProperties()); },
        [](CFileNode* n) { RecomputeOwnCheckState(n); });
}

}  // namespace keldrin
