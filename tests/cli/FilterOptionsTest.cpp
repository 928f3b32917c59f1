#include <gtest/gtest.h>

#include <CLI/CLI.hpp>
#include <string>
#include <vector>

#include "cli/FilterOptions.h"
#include "engine/model/FileTime.h"
#include "engine/model/FileTree.h"
#include "engine/model/MyFileProperties.h"

namespace keldrin::cli {
namespace {

uint64_t At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
    uint64_t t = 0;
    EXPECT_TRUE(CivilToFileTime(y, mo, d, h, mi, s, t));
    return t;
}

TEST(FilterOptions, IsoTimesAtUtc) {
    struct {
        const char* text;
        bool endOfUnit;
        uint64_t expected;
    } good[] = {
        {"2024-03-01", false, At(2024, 3, 1)},
        {"2024-03-01", true, At(2024, 3, 2) - 1},
        {"2024-03-01T10:20", false, At(2024, 3, 1, 10, 20)},
        {"2024-03-01T10:20", true, At(2024, 3, 1, 10, 21) - 1},
        {"2024-03-01T10:20:30", false, At(2024, 3, 1, 10, 20, 30)},
        {"2024-03-01t10:20:30Z", true, At(2024, 3, 1, 10, 20, 31) - 1},
        {"2024-02-29Z", false, At(2024, 2, 29)},
        {"1970-01-01", false, kFileTimeUnixEpoch},
    };
    for (const auto& c : good) {
        uint64_t t = 0;
        EXPECT_TRUE(ParseIsoTime(c.text, c.endOfUnit, t)) << c.text;
        EXPECT_EQ(t, c.expected) << c.text;
    }
    for (const char* bad : {"", "Z", "2024", "2024-3-01", "2024-03-1", "2023-02-29", "2024-13-01",
                            "2024-03-01T", "2024-03-01T1:20", "2024-03-01T10:20:3", "2024-03-01T24:00",
                            "2024-03-01 10:20", "2024-03-01T10:20+02:00", "1600-12-31", "+2024-03-01",
                            "2024-03-01T10:20:30.5", "2024-03-01ZZ", "２０２４-03-01"}) {
        uint64_t t = 0;
        EXPECT_FALSE(ParseIsoTime(bad, false, t)) << bad;
    }
}

TEST(FilterOptions, TimeRangesWithOpenEnds) {
    struct {
        const char* text;
        uint64_t from, to;
    } good[] = {
        {"2024-01-01..2024-01-31", At(2024, 1, 1), At(2024, 2, 1) - 1},
        {"..2024-01-31", 0, At(2024, 2, 1) - 1},
        {"2024-01-01..", At(2024, 1, 1), UINT64_MAX},
        {"..", 0, UINT64_MAX},
        {"2024-01-01T12:00..2024-01-01T12:00", At(2024, 1, 1, 12), At(2024, 1, 1, 12, 1) - 1},
    };
    for (const auto& c : good) {
        uint64_t from = 1, to = 1;
        std::string error;
        EXPECT_TRUE(ParseTimeRange(c.text, from, to, error)) << c.text << ": " << error;
        EXPECT_EQ(from, c.from) << c.text;
        EXPECT_EQ(to, c.to) << c.text;
    }
    for (const char* bad :
         {"2024-01-01", "2024-02-01..2024-01-01", "x..", "..y", "2024-01-01...2024-01-02"}) {
        uint64_t from = 0, to = 0;
        std::string error;
        EXPECT_FALSE(ParseTimeRange(bad, from, to, error)) << bad;
        EXPECT_FALSE(error.empty()) << bad;
    }
}

// Parses a command line of the filter options into criteria.
bool Criteria(const std::vector<std::string>& args, SearchCriteria& criteria, std::string& error) {
    CLI::App app;
    FilterOptions options;
    AddFilterOptions(&app, options);
    std::vector<std::string> reversed(args.rbegin(), args.rend());
    try {
        app.parse(reversed);
    } catch (const CLI::ParseError& e) {
        error = e.what();
        return false;
    }
    return BuildSearchCriteria(options, criteria, error);
}

TEST(FilterOptions, BuildsTheCriteriaOfTheDialog) {
    SearchCriteria criteria;
    std::string error;
    ASSERT_TRUE(Criteria({"--name", "rep*", "--ext", ".doc;.dot", "--size-max", "4", "--modified",
                          "2024-01-01..2024-01-31", "--no-encrypted"},
                         criteria, error))
        << error;
    const SearchValues& v = criteria.GetValues();
    EXPECT_EQ(v.name, "rep*");
    EXPECT_EQ(v.flags, kSearchByType | kSearchByDate | kSearchBySize | kSearchOther);
    EXPECT_EQ(v.extensions, ".doc;.dot");
    EXPECT_EQ(v.size.comparison, kSizeAtMost);
    EXPECT_EQ(v.size.limit, 4096u);
    EXPECT_EQ(v.date.which, kDateModified);
    EXPECT_EQ(v.date.from, At(2024, 1, 1));
    EXPECT_EQ(v.date.to, At(2024, 2, 1) - 1);
    EXPECT_EQ(v.includeEncrypted, 0);
    EXPECT_EQ(v.caseSensitive, 0);

    auto node = [](const char* name, uint16_t attributes, uint64_t size, uint64_t modified) {
        MyFileRecord record;
        record.SetName(name);
        record.attributes = attributes;
        record.size = size;
        record.modificationTime = modified;
        record.typeCode = kTypeCodeFileSystem;
        CFileNode* n = CreateFileNode();
        n->SetProperties(new CMyFileProperties(record));
        return TreeOwner<>(n);
    };
    const uint64_t mid = At(2024, 1, 15);
    EXPECT_TRUE(criteria.Matches(node("Report.DOT", 0, 4096, mid).get()));
    EXPECT_FALSE(criteria.Matches(node("Report.DOT", kAttrEncrypted, 4096, mid).get()));
    EXPECT_FALSE(criteria.Matches(node("Report.DOT", 0, 4097, mid).get()));
    EXPECT_FALSE(criteria.Matches(node("Report.DOT", 0, 10, At(2024, 2, 1)).get()));
    EXPECT_FALSE(criteria.Matches(node("Report.txt", 0, 10, mid).get()));
    EXPECT_FALSE(criteria.Matches(node("Summary.doc", 0, 10, mid).get()));

    ASSERT_TRUE(Criteria({"--size-min", "0", "--accessed", "..2020-05-05T10:00:00Z"}, criteria, error))
        << error;
    EXPECT_EQ(criteria.GetValues().size.comparison, kSizeAtLeast);
    EXPECT_EQ(criteria.GetValues().size.limit, 0u);
    EXPECT_EQ(criteria.GetValues().date.which, kDateAccessed);
    EXPECT_EQ(criteria.GetValues().date.from, 0u);
    EXPECT_EQ(criteria.GetValues().includeEncrypted, 1);

    // No options: every file.
    ASSERT_TRUE(Criteria({}, criteria, error));
    EXPECT_EQ(criteria.GetValues().name, "*");
    EXPECT_EQ(criteria.GetValues().flags, 0u);
    EXPECT_TRUE(criteria.Matches(node("anything", 0, 1, 0).get()));
}

TEST(FilterOptions, RefusesWhatTheDialogWouldRefuse) {
    const std::vector<std::vector<std::string>> bad = {
        {"--name", "a\\b"},
        {"--name", "dir/a"},
        {"--name", "c:x"},
        {"--name", std::string(260, 'a')},
        {"--ext", ".c++"},
        {"--ext", ".a(b"},
        {"--ext", std::string(520, 'x')},
        {"--size-min", "-1"},
        {"--size-min", "1000000001"},
        {"--size-max", "12KB"},
        {"--size-min", "1", "--size-max", "2"},
        {"--modified", "2024-01-01"},
        {"--created", "2024-02-30.."},
        {"--modified", "..", "--accessed", ".."},
    };
    for (const auto& args : bad) {
        SearchCriteria criteria;
        std::string error;
        EXPECT_FALSE(Criteria(args, criteria, error)) << args[0] << " " << args[1];
        EXPECT_FALSE(error.empty()) << args[0];
    }
    // Options filled by code are checked all the same.
    FilterOptions both;
    both.sizeMinKb = "1";
    both.sizeMaxKb = "2";
    SearchCriteria criteria;
    std::string error;
    EXPECT_FALSE(BuildSearchCriteria(both, criteria, error));
    FilterOptions dates;
    dates.created = "..";
    dates.accessed = "..";
    EXPECT_FALSE(BuildSearchCriteria(dates, criteria, error));
    EXPECT_EQ(error, "only one of --modified, --created and --accessed can be given");
}

}  // namespace
}  // namespace keldrin::cli
