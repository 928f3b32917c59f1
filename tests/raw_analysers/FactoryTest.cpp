#include <gtest/gtest.h>

#include <vector>

#include "engine/raw/BuiltInAnalysers.h"
#include "engine/raw/RawAnalyserList.h"
#include "tests/raw_analysers/AnalyserTestSupport.h"

namespace keldrin::test {
namespace {

std::vector<int32_t> Ids(const RawAnalysers& list) {
    std::vector<int32_t> ids;
    for (const auto& a : list) ids.push_back(a->GetAnalyserId());
    return ids;
}

const std::vector<int32_t> kAllIds = {9, 28, 33, 44, 46, 47, 55, 68};

// First in the file: in a fresh process the list is made by the built-in factory, unasked.
TEST(RawAnalyserFactoryTest, ProcessListStartsWithEveryBuiltInAnalyserInOrder) {
    EXPECT_EQ(Ids(GetRawAnalyserList()), kAllIds);
    EXPECT_EQ(FindRawAnalyser(47)->GetAnalyserId(), 47);
}

TEST(RawAnalyserFactoryTest, EachTypeGetsItsAnalysers) {
    struct Case {
        int type;
        std::vector<int32_t> ids;
    };
    const Case cases[] = {
        {33, {33}}, {47, {47}}, {28, {28}}, {9, {9}},   {46, {46}}, {5, {46}},  {68, {68}},
        {63, {55}}, {8, {55}},  {4, {55}},  {11, {55}}, {13, {55}}, {14, {55}}, {17, {55}},
        {55, {55}}, {21, {44}}, {67, {44}}, {3, {44}},  {35, {44}}, {39, {44}}, {43, {44}},
        {44, {44}}, {48, {44}}, {49, {44}}, {53, {44}}, {57, {44}}, {62, {44}}, {64, {44}},
        {65, {44}}, {20, {}},   {26, {}},   {0, {}},    {1000, {}}, {-3, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        RawAnalysers list;
        BuildAnalyserList(c.type, list);
        EXPECT_EQ(Ids(list), c.ids);
    }
}

TEST(RawAnalyserFactoryTest, RebuildForChosenTypesKeepsTheirOrderAndEveryAnalyserNamesLeadingBytes) {
    SetRawAnalyserFactory(BuiltInAnalyserFactory());
    RebuildRawAnalyserList({68, 33, 20, 63, 47});
    EXPECT_EQ(Ids(GetRawAnalyserList()), (std::vector<int32_t>{68, 33, 55, 47}));

    RawAnalysers all;
    AppendAllAnalysers(all);
    for (const auto& a : all) {
        std::vector<uint16_t> values;
        EXPECT_TRUE(a->GetLeadingBytes(values)) << a->GetAnalyserId();
        EXPECT_FALSE(values.empty()) << a->GetAnalyserId();
    }
}

}  // namespace
}  // namespace keldrin::test
