#include "engine/raw/RawAnalyserList.h"

#include "engine/raw/BuiltInAnalysers.h"

namespace keldrin {
namespace {

struct ListState {
    RawAnalyserFactory factory = BuiltInAnalyserFactory();
    RawAnalysers list;
    bool made = false;
};

ListState& State() {
    static ListState state;
    return state;
}

}  // namespace

void SetRawAnalyserFactory(RawAnalyserFactory factory) {
    ListState& s = State();
    s.factory = std::move(factory);
    s.list.clear();
    s.made = false;
}

RawAnalysers& GetRawAnalyserList() {
    ListState& s = State();
    if (!s.made) {
        s.made = true;
        if (s.factory.all) s.factory.all(s.list);
    }
    return s.list;
}

void RebuildRawAnalyserList(const std::vector<int>& chosenTypes) {
    ListState& s = State();
    s.list.clear();
    s.made = true;
    if (!s.factory.forType) return;
    for (int type : chosenTypes) s.factory.forType(type, s.list);
}

IRawFileAnalyser* FindRawAnalyser(int32_t analyserId) {
    for (const auto& a : GetRawAnalyserList())
        if (a && a->GetAnalyserId() == analyserId) return a.get();
    return nullptr;
}

}  // namespace keldrin
