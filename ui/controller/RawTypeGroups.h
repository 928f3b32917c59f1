// The RAW type tree's groups and the chosen type list built from its ticked types. Without widgets,
// so the list's rules are tested on their own.
#pragma once

#include <vector>

namespace keldrin::ui {

struct RawTypeGroup {
    const char* name;
    const char* iconOf;  // the file name whose icon stands for the group
    std::vector<int> types;
};

// The six groups in tree order.
const std::vector<RawTypeGroup>& RawTypeGroups();

// The RAW settings' type list from the ticked types (in tree order). Unless a file-type choice is
// active with RAW-only off, the OLE compound type follows each type stored in one, and PDF follows AI.
std::vector<int> ChosenTypesFromTicked(const std::vector<int>& ticked, bool typeFilterOn, bool rawOnly);

}  // namespace keldrin::ui
