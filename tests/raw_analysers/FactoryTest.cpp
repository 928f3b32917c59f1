#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
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

// 3DS 3GP ASF AU BMP CAB CHM CPT CRW DBX DWG DXF EMF EPS FH11 GIF GZ HLP HTM ICO JPG LowDoc LZH MDB
// MID MNY MOV MP3 MP4 OLE ONE PDF PNG PSD PSP PST RAR RIFF RTF SWF TAR TIF TTF UnicodeHTM WMF WPD ZIP
const std::vector<int32_t> kAllIds = {1,  2,  6,  7,  9,  10, 12, 15, 16, 19, 22, 23, 24, 25, 27, 28,
                                      29, 30, 31, 32, 33, 21, 34, 37, 36, 38, 40, 41, 42, 44, 45, 46,
                                      47, 50, 51, 52, 54, 55, 56, 58, 59, 60, 61, 31, 66, 64, 68};

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
    // Every built-in type, and some that are not.
    const Case cases[] = {
        {1, {1}},       {2, {2}},       {3, {44}},      {4, {55}},  {5, {46}},  {6, {6}},   {7, {7}},
        {8, {55}},      {9, {9}},       {10, {10}},     {11, {55}}, {12, {12}}, {13, {55}}, {14, {55}},
        {15, {15}},     {16, {16}},     {17, {55}},     {18, {32}}, {19, {19}}, {20, {}},   {21, {44, 21}},
        {22, {22}},     {23, {23}},     {24, {24}},     {25, {25}}, {26, {}},   {27, {27}}, {28, {28}},
        {29, {29}},     {30, {30}},     {31, {31, 31}}, {32, {32}}, {33, {33}}, {34, {34}}, {35, {44}},
        {36, {36}},     {37, {37}},     {38, {38}},     {39, {44}}, {40, {40}}, {41, {41}}, {42, {42}},
        {43, {44}},     {44, {44}},     {45, {45}},     {46, {46}}, {47, {47}}, {48, {44}}, {49, {44}},
        {50, {50}},     {51, {51}},     {52, {52}},     {53, {44}}, {54, {54}}, {55, {55}}, {56, {56}},
        {57, {44, 64}}, {58, {58}},     {59, {59}},     {60, {60}}, {61, {61}}, {62, {44}}, {63, {55}},
        {64, {44, 64}}, {65, {44, 64}}, {66, {66}},     {67, {44}}, {68, {68}}, {0, {}},    {1000, {}},
        {-3, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        RawAnalysers list;
        BuildAnalyserList(c.type, list);
        EXPECT_EQ(Ids(list), c.ids);
    }
}

TEST(RawAnalyserFactoryTest, RebuildForChosenTypesKeepsTheirOrderAndAnalysersNameLeadingBytes) {
    SetRawAnalyserFactory(BuiltInAnalyserFactory());
    RebuildRawAnalyserList({68, 33, 20, 63, 21, 47});
    EXPECT_EQ(Ids(GetRawAnalyserList()), (std::vector<int32_t>{68, 33, 55, 44, 21, 47}));

    // Every built-in kind names its leading bytes, so none is asked about every sector; those
    // whose mark follows a size or a header name them where the mark stands.
    const std::vector<std::pair<int32_t, int>> offsets = {{2, 4},  {24, 40}, {34, 2},  {38, 4},
                                                          {40, 4}, {42, 4},  {59, 257}};
    RawAnalysers all;
    AppendAllAnalysers(all);
    for (const auto& a : all) {
        std::vector<uint16_t> values;
        const int32_t id = a->GetAnalyserId();
        EXPECT_TRUE(a->GetLeadingBytes(values)) << id;
        EXPECT_FALSE(values.empty()) << id;
        const auto named =
            std::find_if(offsets.begin(), offsets.end(), [id](const auto& o) { return o.first == id; });
        EXPECT_EQ(a->GetLeadingBytesOffset(), named == offsets.end() ? 0 : named->second) << id;
    }
}

}  // namespace
}  // namespace keldrin::test
