#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/fat/FATDirEntry.h"
#include "shared/ScanSettings.h"
#include "tests/fat/FatTestImage.h"

namespace keldrin::fat {
namespace {

using test::EntrySpec;
using test::WriteEntry;

std::vector<uint8_t> Entry(const EntrySpec& spec) {
    std::vector<uint8_t> bytes(32 * 32, 0);
    bytes.resize(WriteEntry(bytes.data(), spec) * 32);
    return bytes;
}

void Put16(std::vector<uint8_t>& b, size_t at, uint16_t v) {
    b[at] = static_cast<uint8_t>(v);
    b[at + 1] = static_cast<uint8_t>(v >> 8);
}

// Restores the date and time checks whatever a test did to them.
class FatDirEntryTest : public ::testing::Test {
  protected:
    void TearDown() override {
        GetScanSettings().fatCheckDate = true;
        GetScanSettings().fatCheckTime = true;
    }
};

TEST_F(FatDirEntryTest, ShortNames) {
    struct Case {
        const char* stored;
        uint8_t first;  // 0: as stored
        uint8_t caseFlags;
        bool asLabel;
        const char* shown;
    };
    const Case cases[] = {
        {"FOO     TXT", 0, 0, false, "FOO.TXT"},
        {"README     ", 0, 0, false, "README"},
        {"FOO     TXT", 0xE5, 0, false, "#OO.TXT"},
        {"MY DISK    ", 0, 0, true, "MY DISK"},
        {"HELLOWORLD1", 0, 0, true, "HELLOWORLD1"},
        {"NOTES   TXT", 0, 0x08, false, "notes.TXT"},
        {"NOTES   TXT", 0, 0x18, false, "notes.txt"},
        {"NOTES   TXT", 0, 0x18, true, "NOTESTXT"},
        {"CAF\x82    TXT", 0, 0, false, "CAF\xC2\x82.TXT"},  // a high byte stays one character
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> bytes = Entry({c.stored, static_cast<uint8_t>(c.asLabel ? 0x08 : 0x20)});
        if (c.first) bytes[0] = c.first;
        bytes[0x0C] = c.caseFlags;
        EXPECT_EQ(CFATDirEntry(bytes.data()).FormatShortName(c.asLabel), c.shown) << c.stored;
    }
}

TEST_F(FatDirEntryTest, KindsAndFields) {
    std::vector<uint8_t> dot = Entry({".", 0x10, 7});
    std::vector<uint8_t> dotDot = Entry({"..", 0x10, 0});
    std::vector<uint8_t> file = Entry({".", 0x20, 7});
    EXPECT_TRUE(CFATDirEntry(dot.data()).IsDot());
    EXPECT_FALSE(CFATDirEntry(dot.data()).IsDotDot());
    EXPECT_TRUE(CFATDirEntry(dotDot.data()).IsDotDot());
    EXPECT_FALSE(CFATDirEntry(file.data()).IsDot());  // no folder bit
    std::vector<uint8_t> big = Entry({"BIG     BIN", 0x20, 0x00123456, 0xFFFFFFFF});
    EXPECT_EQ(CFATDirEntry(big.data()).GetFirstCluster(), 0x00123456u);
    EXPECT_EQ(CFATDirEntry(big.data()).GetSize(), 0xFFFFFFFFu);
}

TEST_F(FatDirEntryTest, Validity) {
    struct Case {
        const char* what;
        EntrySpec spec;
        bool checkClusters;
        bool valid;
    };
    const Case cases[] = {
        {"a file", {"FILE    TXT", 0x20, 5, 100}, true, true},
        {"a file of size 0 at cluster 5", {"FILE    TXT", 0x20, 5, 0}, true, false},
        {"the same without the cluster rule", {"FILE    TXT", 0x20, 5, 0}, false, true},
        {"a file with size and no cluster", {"FILE    TXT", 0x20, 0, 10}, true, false},
        {"an empty file", {"FILE    TXT", 0x20, 0, 0}, true, true},
        {"a folder of size 0", {"DIR        ", 0x10, 9, 0}, true, true},
        {"a folder with size and a high cluster word", {"DIR        ", 0x10, 0x10009, 512}, true, false},
        {"attribute 0x40", {"FILE    TXT", 0x60, 5, 1}, false, false},
        {"a label", {"MY LABEL   ", 0x08}, false, true},
        {"a leading blank", {" FILE   TXT", 0x20}, false, false},
        {"a '?' in the name", {"FI?E    TXT", 0x20}, false, false},
        {"a control byte",
         {"FI\x05"
          "E    TXT",
          0x20},
         false,
         false},
        {"an end marker", {"", 0x00}, false, false},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> bytes = Entry(c.spec);
        EXPECT_EQ(CFATDirEntry(bytes.data()).IsValid(c.checkClusters), c.valid) << c.what;
    }
    std::vector<uint8_t> piece = Entry({"LONG    TXT", 0x20, 5, 1, 0, 0, u"x"});
    EXPECT_TRUE(CFATDirEntry(piece.data()).IsValid(true));  // a long-name piece passes as it is
}

TEST_F(FatDirEntryTest, DateAndTimeChecksFollowTheSettings) {
    std::vector<uint8_t> bytes = Entry({"FILE    TXT", 0x20, 5, 1});
    const CFATDirEntry entry(bytes.data());
    Put16(bytes, 0x10, 0);  // creation date 0 passes
    EXPECT_TRUE(entry.IsValid(false));
    Put16(bytes, 0x10, (40 << 9) | (13 << 5) | 1);  // month 13
    EXPECT_FALSE(entry.IsValid(false));
    GetScanSettings().fatCheckDate = false;
    EXPECT_TRUE(entry.IsValid(false));
    Put16(bytes, 0x16, (24 << 11));  // hour 24
    EXPECT_FALSE(entry.IsValid(false));
    GetScanSettings().fatCheckTime = false;
    EXPECT_TRUE(entry.IsValid(false));
    GetScanSettings().fatCheckDate = true;
    Put16(bytes, 0x10, (40 << 9) | (1 << 5));  // day 0
    EXPECT_FALSE(entry.IsValid(false));
}

TEST_F(FatDirEntryTest, LongNames) {
    struct Case {
        const char* what;
        EntrySpec spec;
        std::string name;
    };
    const Case cases[] = {
        {"a long name over two pieces",
         {"LONGFI~1TXT", 0x20, 5, 1, 0, 0, u"long file name.txt"},
         "long file name.txt"},
        {"exactly one piece", {"ABCDEF~1TXT", 0x20, 5, 1, 0, 0, u"abcdefghi.txt"}, "abcdefghi.txt"},
        {"Cyrillic and Japanese to UTF-8",
         {"12345~1 TXT", 0x20, 5, 1, 0, 0, u"привет日本.txt"},
         "привет日本.txt"},
        {"a character outside the BMP",
         {"EMOJI~1 TXT", 0x20, 5, 1, 0, 0, u"a\U0001F600.txt"},
         "a\xF0\x9F\x98\x80.txt"},
        {"a ':' falls back to the short name",
         {"BADNAM~1TXT", 0x20, 5, 1, 0, 0, u"bad:name.txt"},
         "BADNAM~1.TXT"},
        {"no pieces", {"PLAIN   TXT", 0x20, 5, 1}, "PLAIN.TXT"},
        {"a deleted entry keeps its long name",
         {"\xE5"
          "ELETE~1TXT",
          0x20, 5, 1, 0, 0, u"deleted one.txt"},
         "deleted one.txt"},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> bytes = Entry(c.spec);
        std::string name;
        ASSERT_TRUE(AssembleEntryName(bytes.data(), bytes.size() / 32, name)) << c.what;
        EXPECT_EQ(name, c.name) << c.what;
    }
    // Pieces without their short entry give no name.
    std::vector<uint8_t> bytes = Entry({"LONGFI~1TXT", 0x20, 5, 1, 0, 0, u"long file name.txt"});
    std::string name;
    EXPECT_FALSE(AssembleEntryName(bytes.data(), bytes.size() / 32 - 1, name));
}

TEST_F(FatDirEntryTest, OverlongNamesAreCutOnACharacterBoundary) {
    // 24 pieces of Cyrillic: 312 characters, 624 bytes of UTF-8.
    std::u16string units(312, u'ж');
    std::vector<uint8_t> bytes = Entry({"LONG~1     ", 0x20, 5, 1, 0, 0, units});
    std::string name;
    ASSERT_TRUE(AssembleEntryName(bytes.data(), bytes.size() / 32, name));
    EXPECT_EQ(name.size(), 518u);
    EXPECT_EQ(name.substr(0, 2), "ж");
}

}  // namespace
}  // namespace keldrin::fat
