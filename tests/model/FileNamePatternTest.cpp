#include <gtest/gtest.h>

#include <string>

#include "SearchTestSupport.h"
#include "engine/model/FileNamePattern.h"
#include "engine/model/MyFileProperties.h"

namespace keldrin {
namespace {

struct NormalizeCase {
    const char* text;
    int mode;
    bool wholeWord;
    const char* wildcard;
};

TEST(FileNamePattern, NormalizesWildcardsByMode) {
    const NormalizeCase cases[] = {
        // A last '?' in search mode becomes '*' only without a dot.
        {"a?", kPatternSearch, false, "a*"},
        {"a.?", kPatternSearch, false, "a.?"},
        {"*.doc", kPatternSearch, false, "*.doc"},
        {"abc", kPatternSearch, false, "abc"},
        // Collapsing, in one pass.
        {"**??", kPatternSearch, false, "*"},
        {"a*?b", kPatternSearch, false, "a*b"},
        {"a?*b", kPatternSearch, false, "a*b"},
        {"a***b", kPatternSearch, false, "a*b"},
        {"??a", kPatternSearch, false, "??a"},
        {"?*?.x", kPatternSearch, false, "*?.x"},
        {"?*?", kPatternSearch, false, "**"},  // '*?', then the last '?' without a dot
        {"**??*", kPatternSearch, false, "**"},
        // Find mode: without whole word and without '*' the text may lie anywhere.
        {"a?", kPatternFind, true, "a*"},
        {"a?", kPatternFind, false, "*a*"},  // '*a?*', collapsed
        {"abc", kPatternFind, false, "*abc*"},
        {"abc", kPatternFind, true, "abc"},
        {"?bc", kPatternFind, false, "?bc*"},
        {"a*c", kPatternFind, false, "a*c"},
        {"a.?", kPatternFind, true, "a.*"},  // find mode turns any last '?'
        {"?", kPatternFind, false, "*"},
    };
    for (const NormalizeCase& c : cases)
        EXPECT_EQ(FileNamePattern::NormalizeWildcard(c.text, c.wholeWord, c.mode), c.wildcard)
            << c.text << " mode " << c.mode << " whole word " << c.wholeWord;
}

TEST(FileNamePattern, EscapesSpecialCharactersAndReplacesWildcards) {
    EXPECT_EQ(FileNamePattern::ToExpression("*.doc"), R"([^/\x2A\x3F:"<>|]*\x2edoc)");
    EXPECT_EQ(FileNamePattern::ToExpression("[]{}()+|^$-."),
              R"(\x5B\x5D\x7B\x7D\x28\x29\x2B\x7C\x5E\x24\x2D\x2e)");
    EXPECT_EQ(FileNamePattern::ToExpression("a?"), R"(a[^/\x2A\x3F:"<>|\x80-\xBF][\x80-\xBF]*+)");
}

struct MatchCase {
    const char* text;
    int mode;
    bool wholeWord;
    bool caseSensitive;
    const char* name;
    bool matches;
};

TEST(FileNamePattern, MatchesWholeNames) {
    const MatchCase cases[] = {
        {"*.doc", kPatternSearch, false, false, "Report.DOC", true},
        {"*.doc", kPatternSearch, false, false, "Report.docx", false},
        {"*.doc", kPatternSearch, false, true, "Report.DOC", false},
        {"*.doc", kPatternSearch, false, false, ".doc", true},
        {"abc", kPatternSearch, false, false, "ABC", true},
        {"abc", kPatternSearch, false, false, "xabcx", false},
        {"abc", kPatternSearch, false, true, "ABC", false},
        {"abc", kPatternFind, false, false, "xabcx", true},
        {"abc", kPatternFind, true, false, "xabcx", false},
        {"a.?", kPatternSearch, false, false, "a.b", true},
        {"a.?", kPatternSearch, false, false, "a.bc", false},
        {"a.?", kPatternSearch, false, false, "a.", false},
        {"a.?", kPatternSearch, false, false, "aXb", false},  // the dot is no wildcard
        {"a?", kPatternSearch, false, false, "a", true},
        {"a?", kPatternSearch, false, false, "abc.txt", true},
        {"?at", kPatternSearch, false, false, "cat", true},
        {"?at", kPatternSearch, false, false, "at", false},
        // Names with characters of the expression syntax.
        {"report (1).txt", kPatternSearch, false, false, "Report (1).txt", true},
        {"c++*", kPatternSearch, false, false, "c++ notes", true},
        {"c++*", kPatternSearch, false, false, "ccc", false},
        {"[a]{2}^$-x", kPatternSearch, false, false, "[a]{2}^$-x", true},
        {"[a]{2}^$-x", kPatternSearch, false, false, "aa", false},
        // A run never crosses / * ? : " < > |.
        {"*", kPatternSearch, false, false, "a:b", false},
        {"a*", kPatternSearch, false, false, "a/b", false},
        {"a?b", kPatternSearch, false, false, "a|b", false},
        {"a?b", kPatternSearch, false, false, "a\tb", true},
        // '?' is one character, however many bytes it takes.
        {"M?ller", kPatternSearch, false, false, "M\xC3\xBCller", true},
        {"M??ller", kPatternSearch, false, false, "M\xC3\xBCller", false},
        {"??.z", kPatternSearch, false, false, "\xE2\x82\xAC.z", false},
        {"?.z", kPatternSearch, false, false, "\xE2\x82\xAC.z", true},
        {"y??.z", kPatternSearch, false, false, "y\xE2\x82\xAC.z", false},
        {"y??.z", kPatternSearch, false, false,
         "y\xE2\x82\xAC"
         "b.z",
         true},
        {"?.txt", kPatternSearch, false, false, "\xF0\x9F\x98\x80.txt", true},
    };
    for (const MatchCase& c : cases) {
        const FileNamePattern pattern(c.text, c.caseSensitive, c.wholeWord, c.mode);
        ASSERT_TRUE(pattern.IsValid()) << c.text;
        EXPECT_EQ(pattern.MatchesName(c.name), c.matches)
            << c.text << " ~ " << c.name << " (" << pattern.GetExpression() << ")";
    }
}

TEST(FileNamePattern, NeedsTheNameField) {
    const FileNamePattern all;
    const CMyFileProperties named(test::RecordOf({.name = "x.doc"}));
    const CMyFileProperties unnamed(
        test::RecordOf({.name = "x.doc", .typeCode = kTypeCodeFileSystem & ~kHasName}));
    EXPECT_TRUE(all.Matches(&named));
    EXPECT_FALSE(all.Matches(&unnamed));
    EXPECT_FALSE(all.Matches(nullptr));
    EXPECT_EQ(all.GetText(), "*");
}

TEST(FileNamePattern, ExpressionThatDoesNotCompileMatchesNothing) {
    for (const char* text : {"a\\", "\\", "*\\"}) {
        const FileNamePattern pattern(text, false, false, kPatternSearch);
        EXPECT_FALSE(pattern.IsValid()) << text;
        EXPECT_FALSE(pattern.MatchesName("a\\")) << text;
    }
}

TEST(FileNamePattern, ManyRunsOnLongNamesNeitherGiveUpNorBackTrackWithoutBound) {
    // Plain runs back-track over every way of placing them and make the matcher give up.
    std::string name;
    for (int i = 0; i < 80; ++i) name += "abc";
    EXPECT_FALSE(FileNamePattern("*a*b*c*d", false, false, kPatternSearch).MatchesName(name));
    EXPECT_TRUE(FileNamePattern("*a*b*c*c", false, false, kPatternSearch).MatchesName(name));

    std::string hostile;
    for (int i = 0; i < 125; ++i) hostile += "*a";
    hostile += "*b";  // 252 characters: the longest a dialog lets through
    const FileNamePattern pattern(hostile, false, false, kPatternSearch);
    ASSERT_TRUE(pattern.IsValid());
    const std::string as(250, 'a');
    for (int i = 0; i < 200; ++i) ASSERT_FALSE(pattern.MatchesName(as));
    EXPECT_TRUE(pattern.MatchesName(as + "b"));
    EXPECT_FALSE(pattern.MatchesName(std::string(124, 'a') + "b"));  // one 'a' short
}

}  // namespace
}  // namespace keldrin
