#include <gtest/gtest.h>

#include "engine/ntfs/SystemFiles.h"
#include "engine/ntfs/VolumeName.h"
#include "tests/ntfs/NtfsBuilders.h"

namespace keldrin::ntfs {
namespace {

using test::Bytes;
using test::RecordBuilder;

FileRecord Record(std::u16string_view name, uint32_t attributes, uint16_t flags = 1, uint64_t base = 0) {
    const Bytes bytes = RecordBuilder()
                            .Flags(flags)
                            .Base(base)
                            .AddStandardInformation(attributes)
                            .AddFileName({.name = name})
                            .Build();
    return FileRecord(std::span<const uint8_t>(bytes));
}

TEST(SystemFiles, CodesFollowTheNames) {
    struct Case {
        std::u16string_view name;
        int code;
    } cases[] = {{u"$MFT", 0},      {u"$MFTMirr", 1}, {u"$Volume", 3}, {u".", 5},
                 {u"$UpCase", 10},  {u"$Extend", 11}, {u"$Quota", 32}, {u"$ObjId", 33},
                 {u"$Reparse", 34}, {u"$mft", -1},    {u"$Foo", -1}};
    for (const Case& c : cases) EXPECT_EQ(GetSystemFileCode(Record(c.name, 0x06)), c.code);
}

TEST(SystemFiles, NeedSystemAndHiddenAndABaseRecord) {
    EXPECT_TRUE(IsSystemFile(Record(u"$MFT", 0x06), "$MFT"));
    EXPECT_FALSE(IsSystemFile(Record(u"$MFT", 0x06), "$MFTMirr"));
    EXPECT_FALSE(IsSystemFile(Record(u"$MFT", 0x04), "$MFT"));
    EXPECT_EQ(GetSystemFileCode(Record(u"$MFT", 0x02)), -1);
    EXPECT_EQ(GetSystemFileCode(Record(u"$MFT", 0x06, 1, 0x10)), -1) << "extension record";

    const FileRecord deleted = Record(u"$Bitmap", 0x06, 0);
    EXPECT_FALSE(IsSystemFile(deleted, "$Bitmap")) << "not in use";
    EXPECT_EQ(GetSystemFileCode(deleted), 6);
    EXPECT_EQ(GetSystemFileCode(FileRecord()), -1);
}

TEST(VolumeName, LabelAsUtf8CutOnACharacterBoundary) {
    auto label = [](const std::u16string& text, size_t maxBytes = kMaxVolumeNameBytes) {
        const Bytes bytes = RecordBuilder()
                                .AddStandardInformation(6)
                                .Add(test::ResidentAttribute(0x60, test::Utf16(text)))
                                .Build();
        return ReadVolumeName(FileRecord(std::span<const uint8_t>(bytes)), maxBytes);
    };
    EXPECT_EQ(label(u"Daten"), "Daten");
    EXPECT_EQ(label(u"M\u00fcller"), "M\xc3\xbcller");
    EXPECT_EQ(label(u"a" + std::u16string(1, char16_t{0xDBFF}) + u"b"), "a_b");
    EXPECT_EQ(label(std::u16string(u"ab\0cd", 5)), "ab");
    std::string euros;  // 26 three-byte characters fit in 80 bytes, the 27th would not
    for (int i = 0; i < 26; ++i) euros += "\xe2\x82\xac";
    EXPECT_EQ(label(std::u16string(40, u'\u20ac')), euros);
    EXPECT_EQ(label(u"\u00e9\u00e9", 3), "\xc3\xa9");
    EXPECT_EQ(label(u""), "");

    const Bytes none = RecordBuilder().AddStandardInformation(6).Build();
    EXPECT_EQ(ReadVolumeName(FileRecord(std::span<const uint8_t>(none))), "");
}

}  // namespace
}  // namespace keldrin::ntfs
