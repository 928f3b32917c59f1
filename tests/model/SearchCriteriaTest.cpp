#include <gtest/gtest.h>

#include <string>

#include "SearchTestSupport.h"
#include "engine/model/FileTime.h"
#include "engine/model/MyFileProperties.h"
#include "engine/model/SearchCriteria.h"

namespace keldrin {
namespace {

using test::FileFields;
using test::RecordOf;

constexpr uint64_t kNow = 133500000000000000ull;  // some day of 2024

TEST(DateCriterion, LastDayReachesBackExactlyTwentyFourHours) {
    DateCriterion last;
    ASSERT_TRUE(DateCriterion::InLastDays(kDateModified, 1, kNow, last));
    EXPECT_EQ(last.from, kNow - 864000000000ull);
    EXPECT_EQ(last.to, kNow);
    struct {
        uint64_t modified;
        bool passes;
    } cases[] = {
        {kNow - 864000000000ull, true},
        {kNow - 864000000000ull - 1, false},
        {kNow, true},
        {kNow + 1, false},
    };
    for (const auto& c : cases) {
        const CMyFileProperties file(RecordOf({.modified = c.modified}));
        EXPECT_EQ(last.Matches(&file), c.passes) << c.modified;
    }
}

TEST(DateCriterion, RangesOfTheInLastChoices) {
    DateCriterion out;
    EXPECT_FALSE(DateCriterion::InLastDays(kDateModified, 0, kNow, out));
    EXPECT_FALSE(DateCriterion::InLastDays(kDateModified, 32, kNow, out));
    EXPECT_TRUE(DateCriterion::InLastDays(kDateAccessed, 31, kNow, out));
    EXPECT_EQ(out.from, kNow - 31 * kFileTimeTicksPerDay);
    EXPECT_EQ(out.which, kDateAccessed);
    EXPECT_FALSE(DateCriterion::InLastMonths(kDateModified, 0, kNow, out));
    EXPECT_FALSE(DateCriterion::InLastMonths(kDateModified, 121, kNow, out));
    EXPECT_TRUE(DateCriterion::InLastMonths(kDateCreated, 120, kNow, out));
    EXPECT_EQ(out.from, kNow - 120 * 25920000000000ull);
    // A clock near 1601 does not wrap round.
    EXPECT_TRUE(DateCriterion::InLastMonths(kDateModified, 2, 1000, out));
    EXPECT_EQ(out.from, 0u);
    EXPECT_EQ(out.to, 1000u);
}

TEST(DateCriterion, TestsTheChosenTimeOnlyWhenPresent) {
    const FileFields fields{.created = 100, .modified = 200, .accessed = 300};
    const CMyFileProperties file(RecordOf(fields));
    FileFields rawFields = fields;
    rawFields.typeCode = kTypeCodeRaw;  // no times
    const CMyFileProperties raw(RecordOf(rawFields));
    struct {
        int32_t which;
        uint64_t from, to;
        bool passes, rawPasses;
    } cases[] = {
        {kDateCreated, 100, 100, true, false},
        {kDateModified, 200, 200, true, false},
        {kDateAccessed, 300, 300, true, false},
        {kDateAccessed, 301, UINT64_MAX, false, false},
        {kDateModified, 0, UINT64_MAX, true, false},
        {kDateModified, 300, 100, false, false},
        {kDateModified | kDateCreated, 0, UINT64_MAX, false, false},
        {0, 0, UINT64_MAX, false, false},
    };
    for (const auto& c : cases) {
        const DateCriterion criterion{c.which, c.from, c.to};
        EXPECT_EQ(criterion.Matches(&file), c.passes) << c.which << " " << c.from;
        EXPECT_EQ(criterion.Matches(&raw), c.rawPasses) << c.which << " " << c.from;
    }
    // Times are compared as unsigned values.
    const CMyFileProperties late(RecordOf({.modified = 0x8000000000000000ull}));
    EXPECT_TRUE((DateCriterion{kDateModified, 1, UINT64_MAX}).Matches(&late));
    EXPECT_FALSE((DateCriterion{kDateModified, 0, 0x7FFFFFFFFFFFFFFFull}).Matches(&late));
    EXPECT_FALSE(DateCriterion{}.Matches(nullptr));
}

TEST(SizeCriterion, BoundsAreInclusiveAndNeedTheSize) {
    SizeCriterion lessThan0, moreThan0, lessThan2;
    ASSERT_TRUE(SizeCriterion::FromKb(kSizeAtMost, 0, lessThan0));
    ASSERT_TRUE(SizeCriterion::FromKb(kSizeAtLeast, 0, moreThan0));
    ASSERT_TRUE(SizeCriterion::FromKb(kSizeAtMost, 2, lessThan2));
    EXPECT_EQ(lessThan2.limit, 2048u);
    struct {
        uint64_t size;
        uint32_t typeCode;
        bool lessThan0, moreThan0, lessThan2;
    } cases[] = {
        {0, kTypeCodeFileSystem, true, true, true},
        {1, kTypeCodeFileSystem, false, true, true},
        {2048, kTypeCodeFileSystem, false, true, true},
        {2049, kTypeCodeFileSystem, false, true, false},
        {UINT64_MAX, kTypeCodeFileSystem, false, true, false},
        {0, kTypeCodeFileSystem & ~kHasSize, false, false, false},
    };
    for (const auto& c : cases) {
        const CMyFileProperties file(RecordOf({.size = c.size, .typeCode = c.typeCode}));
        EXPECT_EQ(lessThan0.Matches(&file), c.lessThan0) << c.size;
        EXPECT_EQ(moreThan0.Matches(&file), c.moreThan0) << c.size;
        EXPECT_EQ(lessThan2.Matches(&file), c.lessThan2) << c.size;
    }
    const CMyFileProperties any(RecordOf({.size = 5}));
    EXPECT_FALSE((SizeCriterion{3, 0}).Matches(&any));
    SizeCriterion out;
    EXPECT_TRUE(SizeCriterion::FromKb(kSizeAtLeast, kMaxSizeKb, out));
    EXPECT_EQ(out.limit, 1024000000000ull);
    EXPECT_FALSE(SizeCriterion::FromKb(kSizeAtLeast, kMaxSizeKb + 1, out));
}

TEST(SearchCriteria, ExcludesEncryptedFilesOnlyWithOtherParameters) {
    TreeOwner<> encrypted(test::AddFields(nullptr, {.name = "secret.doc", .attributes = kAttrEncrypted}));
    TreeOwner<> plain(test::AddFields(nullptr, {.name = "plain.doc"}));
    struct {
        uint32_t flags;
        int32_t includeEncrypted;
        bool encryptedPasses;
    } cases[] = {
        {0, 1, true},
        {0, 0, true},  // not ticked: the value is not looked at
        {kSearchOther, 1, true},
        {kSearchOther, 0, false},
    };
    for (const auto& c : cases) {
        SearchValues values;
        values.flags = c.flags;
        values.includeEncrypted = c.includeEncrypted;
        const SearchCriteria criteria(values);
        EXPECT_EQ(criteria.Matches(encrypted.get()), c.encryptedPasses)
            << c.flags << " " << c.includeEncrypted;
        EXPECT_TRUE(criteria.Matches(plain.get()));
    }
}

TEST(SearchCriteria, TestsOnlyTheTickedPages) {
    TreeOwner<> file(test::AddFields(nullptr, {.name = "Report.doc", .size = 4096, .modified = kNow}));
    SearchValues values;
    values.name = "report*";
    values.extensions = ".xls";
    values.date = {kDateModified, 0, kNow - 1};
    values.size = {kSizeAtMost, 1024};
    struct {
        uint32_t flags;
        bool passes;
    } cases[] = {
        {0, true},
        {kSearchByType, false},
        {kSearchByDate, false},
        {kSearchBySize, false},
        {kSearchOther, true},
    };
    for (const auto& c : cases) {
        values.flags = c.flags;
        EXPECT_EQ(SearchCriteria(values).Matches(file.get()), c.passes) << c.flags;
    }
    values.flags = kSearchByType | kSearchByDate | kSearchBySize;
    values.extensions = ".xls;.doc";
    values.date.to = kNow;
    values.size.limit = 4096;
    EXPECT_TRUE(SearchCriteria(values).Matches(file.get()));
    values.name = "x*";
    EXPECT_FALSE(SearchCriteria(values).Matches(file.get()));  // the name is always tested
    EXPECT_FALSE(SearchCriteria().Matches(nullptr));
}

TEST(SearchCriteria, TakesOverTheValuesWithinTheirLimits) {
    SearchValues values;
    values.name = "";
    values.caseSensitive = 1;
    const SearchCriteria empty(values);
    EXPECT_EQ(empty.GetValues().name, "*");
    EXPECT_TRUE(empty.GetNamePattern().IsCaseSensitive());

    values.name = std::string(300, 'n');
    std::string list;
    while (list.size() < 515) list += ".abc;";  // 515 bytes, then one more item
    list += ".jpeg";
    values.extensions = list;
    const SearchCriteria long_(values);
    EXPECT_EQ(long_.GetValues().name, std::string(kMaxSearchName, 'n'));
    // Cut at the last whole item, never into ".jp".
    EXPECT_EQ(long_.GetValues().extensions, list.substr(0, 514));
    EXPECT_TRUE(long_.GetExtensionPattern().MatchesName("x.abc"));
    EXPECT_FALSE(long_.GetExtensionPattern().MatchesName("x.jp"));
}

TEST(SearchCriteria, NameTextCheck) {
    struct {
        const char* text;
        bool allowEmpty;
        bool acceptable;
    } cases[] = {
        {"*.doc", false, true}, {"a?b*", false, true}, {"", false, false},   {"", true, true},
        {"a\\b", true, false},  {"a/b", true, false},  {"a:b", true, false}, {"a\"b", true, false},
        {"a<b", true, false},   {"a>b", true, false},  {"a|b", true, false}, {"(1)+[x]", false, true},
    };
    for (const auto& c : cases) EXPECT_EQ(IsAcceptableNameText(c.text, c.allowEmpty), c.acceptable) << c.text;
}

TEST(FileTime, CivilDatesAtUtc) {
    uint64_t t = 0;
    ASSERT_TRUE(CivilToFileTime(1601, 1, 1, 0, 0, 0, t));
    EXPECT_EQ(t, 0u);
    ASSERT_TRUE(CivilToFileTime(1970, 1, 1, 0, 0, 0, t));
    EXPECT_EQ(t, kFileTimeUnixEpoch);
    ASSERT_TRUE(CivilToFileTime(2000, 2, 29, 23, 59, 59, t));
    EXPECT_EQ(t, kFileTimeUnixEpoch + (951868799ull * kFileTimeTicksPerSecond));
    const int bad[][6] = {{1600, 12, 31, 0, 0, 0}, {2001, 2, 29, 0, 0, 0}, {2000, 13, 1, 0, 0, 0},
                          {2000, 4, 31, 0, 0, 0},  {2000, 1, 1, 24, 0, 0}, {2000, 1, 1, 0, 60, 0},
                          {2000, 1, 1, 0, 0, 60},  {30828, 1, 1, 0, 0, 0}, {2000, 0, 1, 0, 0, 0}};
    for (const auto& b : bad)
        EXPECT_FALSE(CivilToFileTime(b[0], b[1], b[2], b[3], b[4], b[5], t))
            << b[0] << "-" << b[1] << "-" << b[2];
    const uint64_t now = FileTimeNow();
    EXPECT_GT(now, 133000000000000000ull);  // after 2022
}

}  // namespace
}  // namespace keldrin
