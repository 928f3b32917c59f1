#include "ui/controller/RawTypeGroups.h"

#include <algorithm>
#include <iterator>

namespace keldrin::ui {

namespace {
constexpr int kOleType = 44;
constexpr int kPdfType = 46;
constexpr int kAiType = 5;
constexpr int kOleStoredTypes[] = {39, 21, 67, 48, 35, 62, 64, 57, 65, 49, 53, 43, 3};
}  // namespace

const std::vector<RawTypeGroup>& RawTypeGroups() {
    static const std::vector<RawTypeGroup> groups = {
        {"Graphics", "file.bmp", {35, 4,  5,  9,  11, 13, 14, 15, 16, 18, 22, 23,
                                  24, 25, 27, 28, 32, 33, 47, 50, 51, 53, 57, 60}},
        {"Documents", "file.doc", {21, 30, 31, 39, 43, 45, 46, 48, 49, 56, 61, 62, 64, 65, 67}},
        {"Archives", "file.cab", {1, 10, 12, 17, 29, 34, 54, 59, 68}},
        {"Multimedia", "file.wav", {2, 6, 7, 8, 36, 40, 41, 42, 58, 63, 66}},
        {"Email", "file.pst", {19, 52}},
        {"Databases and Financials", "file.mdb", {3, 37, 38}},
    };
    return groups;
}

std::vector<int> ChosenTypesFromTicked(const std::vector<int>& ticked, bool typeFilterOn, bool rawOnly) {
    std::vector<int> chosen = ticked;
    if (typeFilterOn && !rawOnly) return chosen;
    for (int type : ticked) {
        if (std::find(std::begin(kOleStoredTypes), std::end(kOleStoredTypes), type) !=
            std::end(kOleStoredTypes))
            chosen.push_back(kOleType);
        else if (type == kAiType)
            chosen.push_back(kPdfType);
    }
    return chosen;
}

}  // namespace keldrin::ui
