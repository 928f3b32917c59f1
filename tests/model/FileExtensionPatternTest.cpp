#include <gtest/gtest.h>

#include "SearchTestSupport.h"
#include "engine/model/FileExtensionPattern.h"
#include "engine/model/MyFileProperties.h"

namespace keldrin {
namespace {

TEST(FileExtensionPattern, BuildsOneAlternativePerItem) {
    EXPECT_EQ(FileExtensionPattern::ToExpression(".doc;.dot"),
              R"(([^/\x2A\x3F:"<>|]*\x2edoc$)|([^/\x2A\x3F:"<>|]*\x2edot$))");
    EXPECT_EQ(FileExtensionPattern::ToExpression(""), R"(([^/\x2A\x3F:"<>|]*$))");
    EXPECT_EQ(FileExtensionPattern::ToExpression(";"), "");
}

struct ExtensionCase {
    const char* list;
    const char* name;
    bool matches;
};

TEST(FileExtensionPattern, MatchesNamesEndingInAnItem) {
    const ExtensionCase cases[] = {
        {".doc;.dot", "Letter.DOC", true},
        {".doc;.dot", "letter.dot", true},
        {".doc;.dot", "letter.docx", false},
        {".doc;.dot", "doc", false},
        {".doc;.dot", "letterXdoc", false},  // the dot is no wildcard
        {".tar.gz", "a.TAR.GZ", true},
        {".tar.gz", "a.tar_gz", false},
        {"", "anything", true},  // the empty list is "*"
        {"*", "anything", true},
        // A leading empty item and an empty remainder are not items.
        {";.doc", "x.txt", false},
        {";.doc", "x.doc", true},
        {".doc;", "x.txt", false},
        {";", "x", false},
        // An empty item between two ';' is kept, and it matches every name.
        {".doc;;.dot", "x.txt", true},
        {";;.doc", "x.txt", true},
        // Items may hold wildcards of their own.
        {".d*c", "a.dXYc", true},
        {".d*c", "a.dXYz", false},
    };
    for (const ExtensionCase& c : cases) {
        const FileExtensionPattern pattern(c.list);
        ASSERT_TRUE(pattern.IsValid()) << c.list;
        EXPECT_EQ(pattern.MatchesName(c.name), c.matches) << c.list << " ~ " << c.name;
    }
}

TEST(FileExtensionPattern, FailsWithoutANameAndForBadLists) {
    const FileExtensionPattern doc(".doc");
    const CMyFileProperties unnamed(test::RecordOf({.name = "x.doc", .typeCode = kTypeCodeRaw & ~kHasName}));
    const CMyFileProperties named(test::RecordOf({.name = "x.doc", .typeCode = kTypeCodeRaw}));
    EXPECT_TRUE(doc.Matches(&named));
    EXPECT_FALSE(doc.Matches(&unnamed));
    EXPECT_FALSE(doc.Matches(nullptr));

    const FileExtensionPattern broken(".c(");
    EXPECT_FALSE(broken.IsValid());
    EXPECT_FALSE(broken.MatchesName("a.c("));
}

}  // namespace
}  // namespace keldrin
