#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/ntfs/FileRecord.h"
#include "engine/ntfs/Fixup.h"
#include "tests/ntfs/NtfsBuilders.h"

namespace keldrin::ntfs {
namespace {

using test::Bytes;
using test::FileNameSpec;
using test::RecordBuilder;

// A record with a $STANDARD_INFORMATION, a Win32 name and a $DATA value that covers the first
// stride end, so that reading it right needs the fix-up.
Bytes TypicalRecord(size_t size = 1024) {
    RecordBuilder b(size);
    b.AddStandardInformation(0x20).AddFileName({.parent = 0x0003000000000005ull, .name = u"report.doc"});
    b.Add(test::ResidentAttribute(0x80, Bytes(400, 0x5A)));
    return b.Build();
}

TEST(Fixup, ApplyThenRevertRestoresTheDiskForm) {
    Bytes record = TypicalRecord();
    const Bytes disk = record;
    ASSERT_TRUE(CheckFixup(record));
    ASSERT_TRUE(ApplyFixup(record));
    EXPECT_EQ(record[510], 0x5A) << "the real byte is back at the stride end";
    EXPECT_FALSE(CheckFixup(record));
    ASSERT_TRUE(RevertFixup(record));
    EXPECT_EQ(record, disk);
}

TEST(Fixup, RefusesArraysThatDoNotFitOrDoNotMatch) {
    Bytes mismatch = TypicalRecord();
    mismatch[1022] ^= 1;
    const Bytes before = mismatch;
    EXPECT_FALSE(ApplyFixup(mismatch));
    EXPECT_EQ(mismatch, before);

    Bytes tooManyStrides = TypicalRecord();
    test::Put16(tooManyStrides, 6, 4);  // three strides in 1024 bytes
    EXPECT_FALSE(CheckFixup(tooManyStrides));

    Bytes arrayOutside = TypicalRecord();
    test::Put16(arrayOutside, 4, 1020);
    EXPECT_FALSE(CheckFixup(arrayOutside));

    Bytes noStride = TypicalRecord();
    test::Put16(noStride, 6, 1);
    EXPECT_FALSE(CheckFixup(noStride));
    EXPECT_FALSE(CheckFixup(Bytes(4)));
}

TEST(FileRecord, ValidRecordIsCheckedWithoutChangingTheBuffer) {
    Bytes record = TypicalRecord();
    const Bytes disk = record;
    EXPECT_TRUE(IsValidFileRecord(record));
    EXPECT_EQ(record, disk);
}

TEST(FileRecord, InPlaceViewFixesUpAndRevertsOnDestruction) {
    Bytes record = TypicalRecord();
    const Bytes disk = record;
    {
        const FileRecord view(record, false);
        ASSERT_TRUE(view.IsValid());
        EXPECT_TRUE(view.IsFixedUp());
        EXPECT_EQ(view.Bytes().data(), record.data());
        EXPECT_EQ(record[510], 0x5A);
        const auto data = view.FindAttribute(0x80, 0);
        ASSERT_TRUE(data);
        for (uint8_t byte : data->Value()) ASSERT_EQ(byte, 0x5A);
    }
    EXPECT_EQ(record, disk);
}

TEST(FileRecord, CopyLeavesTheBufferAloneAndSurvivesAMove) {
    Bytes record = TypicalRecord();
    const Bytes disk = record;
    FileRecord copy(record, true);
    ASSERT_TRUE(copy.IsValid());
    EXPECT_NE(copy.Bytes().data(), record.data());
    EXPECT_EQ(record, disk);
    const FileRecord moved(std::move(copy));
    EXPECT_FALSE(copy.IsValid());
    ASSERT_TRUE(moved.IsValid());
    EXPECT_EQ(moved.Bytes()[510], 0x5A);
    EXPECT_EQ(moved.CountAttributes(0x30), 1);
}

TEST(FileRecord, HeaderFields) {
    RecordBuilder b;
    b.Flags(0x0003).Base(0x0002000000000010ull).Number(77).AddStandardInformation(0);
    const Bytes bytes = b.Build();
    const FileRecord r{std::span<const uint8_t>(bytes)};
    ASSERT_TRUE(r.IsValid());
    EXPECT_TRUE(r.IsInUse());
    EXPECT_TRUE(r.IsFolder());
    EXPECT_TRUE(r.IsExtension());
    EXPECT_EQ(r.GetBaseReference(), 0x0002000000000010ull);
    EXPECT_EQ(r.GetRecordNumber(), 77);
    EXPECT_EQ(r.GetLsn(), 0x1234u);

    Bytes shortHeader = bytes;
    test::Put16(shortHeader, 4, 42);  // the NT4 header has no record number
    test::ProtectStrides(shortHeader, 42, 2, 0x0A0B);
    const FileRecord old{std::span<const uint8_t>(shortHeader)};
    ASSERT_TRUE(old.IsValid());
    EXPECT_EQ(old.GetRecordNumber(), -1);
}

TEST(FileRecord, HeaderRulesRejectTheRecord) {
    struct Case {
        const char* what;
        std::function<void(Bytes&)> spoil;
    } cases[] = {
        {"magic", [](Bytes& r) { r[0] = 'B'; }},
        {"17 update-sequence entries", [](Bytes& r) { test::Put16(r, 6, 17); }},
        {"more strides than the length holds", [](Bytes& r) { test::Put16(r, 6, 4); }},
        {"array offset below 42", [](Bytes& r) { test::Put16(r, 4, 40); }},
        {"array offset above 256", [](Bytes& r) { test::Put16(r, 4, 258); }},
        {"shorter than a header", [](Bytes& r) { r.resize(40); }},
    };
    for (const Case& c : cases) {
        Bytes r = TypicalRecord();
        c.spoil(r);
        const Bytes before = r;
        EXPECT_FALSE(IsValidFileRecord(r)) << c.what;
        EXPECT_EQ(r, before) << c.what;
        EXPECT_FALSE(FileRecord(r, false).IsValid()) << c.what;
    }
}

TEST(FileRecord, FixupMismatchStillWalksAndLeavesTheBuffer) {
    Bytes record = TypicalRecord();
    record[1023] ^= 0xFF;  // the second stride no longer ends with the sequence number
    const Bytes before = record;
    EXPECT_TRUE(IsValidFileRecord(record));
    EXPECT_EQ(record, before);
    {
        const FileRecord view(record, false);
        ASSERT_TRUE(view.IsValid());
        EXPECT_FALSE(view.IsFixedUp());
        FileName name;
        ASSERT_TRUE(ReadFileName(*view.FindAttribute(0x30, 0), name));
        EXPECT_EQ(name.name, "report.doc");
    }
    EXPECT_EQ(record, before);
}

TEST(FileRecord, AttributeRulesRejectTheRecord) {
    struct Case {
        const char* what;
        std::function<void(RecordBuilder&)> add;
    } cases[] = {
        {"length past the record",
         [](RecordBuilder& b) {
             Bytes a = test::ResidentAttribute(0x80, Bytes(8));
             test::Put32(a, 4, 4000);
             b.Add(a);
         }},
        {"resident value past its attribute",
         [](RecordBuilder& b) {
             Bytes a = test::ResidentAttribute(0x80, Bytes(8));
             test::Put32(a, 16, 64);
             b.Add(a);
         }},
        {"mapping pairs offset past the attribute",
         [](RecordBuilder& b) {
             Bytes a = test::NonResidentAttribute(0x80, {.pairs = {0x11, 0x01, 0x10, 0x00}});
             test::Put16(a, 32, 200);
             b.Add(a);
         }},
        {"resident header cut short",
         [](RecordBuilder& b) {
             Bytes a(16);
             test::Put32(a, 0, 0x40);
             test::Put32(a, 4, 16);
             b.Add(a);
         }},
        {"$DATA with a 5-byte cluster field",
         [](RecordBuilder& b) {
             b.Add(test::NonResidentAttribute(0x80, {.pairs = {0x51, 0x01, 1, 2, 3, 4, 5, 0x00}}));
         }},
        {"\"a:b\" as a file name", [](RecordBuilder& b) { b.AddFileName({.name = u"a:b"}); }},
        {"an attribute starting 12 bytes before the end",
         [](RecordBuilder& b) {
             // From 128 to 1012, leaving fewer than 16 bytes for the next header.
             Bytes a = test::ResidentAttribute(0x80, Bytes(860));
             a.resize(884);
             test::Put32(a, 4, 884);
             b.Add(a).NoEndMarker().BytesInUse(1024);
         }},
    };
    for (const Case& c : cases) {
        RecordBuilder b;
        b.AddStandardInformation(0);
        c.add(b);
        Bytes r = b.Build();
        const Bytes disk = r;
        EXPECT_FALSE(IsValidFileRecord(r)) << c.what;
        // The view applies the matching fix-up to judge the record, and must undo it again.
        EXPECT_FALSE(FileRecord(r, false).IsValid()) << c.what;
        EXPECT_EQ(r, disk) << c.what;
    }
}

TEST(FileRecord, EveryForbiddenNameCharacterInvalidatesUntilAZero) {
    for (char16_t c : std::u16string_view(u"\"*/:<>?\\|")) {
        const std::u16string name = std::u16string(u"ab") + c;
        Bytes r = RecordBuilder().AddFileName({.name = name}).Build();
        EXPECT_FALSE(IsValidFileRecord(r)) << static_cast<char>(c);
    }
    const std::u16string afterZero(u"ab\0:", 4);
    Bytes r = RecordBuilder().AddFileName({.name = afterZero}).Build();
    EXPECT_TRUE(IsValidFileRecord(r));
    Bytes named = RecordBuilder().AddFileName({.name = u"ok name (1).txt"}).Build();
    EXPECT_TRUE(IsValidFileRecord(named));
}

TEST(FileRecord, ZeroLengthAttributeEndsTheWalk) {
    RecordBuilder b;
    b.AddStandardInformation(0);
    Bytes zero(24);
    test::Put32(zero, 0, 0x40);
    b.Add(zero).AddFileName({});
    Bytes r = b.Build();
    EXPECT_TRUE(IsValidFileRecord(r));
    const FileRecord view(r, false);
    ASSERT_TRUE(view.IsValid());
    EXPECT_EQ(view.CountAttributes(0x10), 1);
    EXPECT_EQ(view.CountAttributes(0x40), 0);
    EXPECT_EQ(view.CountAttributes(0x30), 0);
}

TEST(FileRecord, WalkStaysInsideTheBytesInUse) {
    // Without an end marker, what follows the bytes in use is never read as an attribute.
    RecordBuilder b;
    b.AddStandardInformation(0).AddFileName({});
    const size_t end = b.NextOffset();
    Bytes r = b.NoEndMarker().BytesInUse(static_cast<uint32_t>(end)).Build();
    ApplyFixup(r);
    test::Put32(r, end, 0x80);
    test::Put32(r, end + 4, 0x7FFF);  // would run past the record
    Bytes disk = r;
    test::ProtectStrides(disk, 48, 2, 0x0A0B);
    EXPECT_TRUE(IsValidFileRecord(disk));
    EXPECT_EQ(FileRecord(disk, false).CountAttributes(0x30), 1);

    // A bytes-in-use past the record is no bound, and the record's length still is.
    Bytes wild = RecordBuilder().AddFileName({}).BytesInUse(0xFFFFFFF0).Build();
    EXPECT_TRUE(IsValidFileRecord(wild));
    EXPECT_EQ(FileRecord(wild, false).CountAttributes(0x30), 1);
}

TEST(FileRecord, FindAttributeCountsWithinOneType) {
    RecordBuilder b;
    b.AddStandardInformation(0)
        .AddFileName({.name = u"LONGNA~1.TXT", .nameSpace = 2})
        .Add(test::ResidentAttribute(0x80, Bytes(3, 1)))
        .AddFileName({.name = u"Long name.txt", .nameSpace = 1});
    const Bytes bytes = b.Build();
    const FileRecord r{std::span<const uint8_t>(bytes)};
    EXPECT_EQ(r.CountAttributes(0x30), 2);
    FileName dos, win32;
    ASSERT_TRUE(ReadFileName(*r.FindAttribute(0x30, 0), dos));
    ASSERT_TRUE(ReadFileName(*r.FindAttribute(0x30, 1), win32));
    EXPECT_EQ(dos.name, "LONGNA~1.TXT");
    EXPECT_EQ(dos.nameSpace, kNameDos);
    EXPECT_EQ(win32.name, "Long name.txt");
    EXPECT_EQ(win32.nameSpace, kNameWin32);
    EXPECT_FALSE(r.FindAttribute(0x30, 2));
    EXPECT_FALSE(r.FindAttribute(0x30, -1));
    EXPECT_EQ(r.FindAttribute(0x30, 1)->Offset(), r.FindAttribute(0x80, 0)->Offset() + 32);
}

// Searches remember where the attributes of a record start, up to a number of them; records with
// more are walked again. Either way every attribute is found, in order, also after a move.
TEST(FileRecord, ManyAttributesAreAllFoundInOrder) {
    for (const int count : {15, 16, 17, 60}) {
        RecordBuilder b(4096);
        std::vector<size_t> offsets;
        for (int i = 0; i < count; ++i) {
            offsets.push_back(b.NextOffset());
            b.Add(test::ResidentAttribute(i % 2 ? 0x80 : 0x40, Bytes(8, static_cast<uint8_t>(i))));
        }
        offsets.push_back(b.NextOffset());
        b.AddFileName({.name = u"last"});
        Bytes bytes = b.Build();
        FileRecord moved;
        {
            FileRecord view(bytes, false);
            ASSERT_TRUE(view.IsValid()) << count;
            moved = std::move(view);
        }
        std::vector<size_t> visited;
        moved.ForEachAttribute([&visited](const Attribute& a) {
            visited.push_back(a.Offset());
            return true;
        });
        EXPECT_EQ(visited, offsets) << count;
        EXPECT_EQ(moved.CountAttributes(0x80), count / 2) << count;
        EXPECT_EQ(moved.CountAttributes(0x40), count - count / 2) << count;
        const int lastData = count / 2 - 1;
        const auto data = moved.FindAttribute(0x80, lastData);
        ASSERT_TRUE(data) << count;
        EXPECT_EQ(data->Offset(), offsets[static_cast<size_t>(2 * lastData + 1)]) << count;
        EXPECT_EQ(data->Value()[0], 2 * lastData + 1) << count;
        FileName name;
        ASSERT_TRUE(ReadFileName(*moved.FindAttribute(0x30, 0), name)) << count;
        EXPECT_EQ(name.name, "last");
        EXPECT_FALSE(moved.FindAttribute(0x80, count / 2)) << count;
    }
}

TEST(FileRecord, FourKilobyteRecordsAreWalkedToTheirEnd) {
    RecordBuilder b(4096);
    b.AddStandardInformation(0)
        .Add(test::ResidentAttribute(0x80, Bytes(2500, 7)))
        .AddFileName({.name = u"far"});
    Bytes r = b.Build();
    ASSERT_GT(b.NextOffset(), 2600u);
    const Bytes disk = r;
    EXPECT_TRUE(IsValidFileRecord(r));
    {
        const FileRecord view(r, false);
        ASSERT_TRUE(view.IsFixedUp());
        FileName name;
        ASSERT_TRUE(ReadFileName(*view.FindAttribute(0x30, 0), name));
        EXPECT_EQ(name.name, "far");
        for (uint8_t byte : view.FindAttribute(0x80, 0)->Value()) ASSERT_EQ(byte, 7);
    }
    EXPECT_EQ(r, disk);
}

TEST(Attributes, FileNameFieldsAndUtf8Names) {
    struct Case {
        std::u16string name;
        const char* utf8;
    } cases[] = {
        {u"caf\u00e9", "caf\xc3\xa9"},
        {u"\U0001F600.png", "\xf0\x9f\x98\x80.png"},
        {std::u16string(1, char16_t{0xD800}) + u"x", "_x"},
        {std::u16string(1, char16_t{0xDC00}), "_"},
    };
    for (const Case& c : cases) {
        const Bytes value = test::FileNameValue({.parent = 0x0007000000000123ull,
                                                 .name = c.name,
                                                 .nameSpace = 9,
                                                 .flags = 0x10000000,
                                                 .dataSize = 42});
        FileName fn;
        ASSERT_TRUE(ReadFileNameValue(value, fn));
        EXPECT_EQ(fn.name, c.utf8);
        EXPECT_EQ(fn.parentRecord, 0x123);
        EXPECT_EQ(fn.parentReference, 0x0007000000000123ull);
        EXPECT_EQ(fn.nameSpace, kNameOther);
        EXPECT_EQ(fn.flags & kFileNameFlagFolder, kFileNameFlagFolder);
        EXPECT_EQ(fn.dataSize, 42);
        EXPECT_EQ(fn.creationTime, 11u);
        EXPECT_EQ(fn.modificationTime, 12u);
        EXPECT_EQ(fn.accessTime, 14u);
    }
    Bytes cut = test::FileNameValue({.name = u"abcdef"});
    cut.resize(70);
    FileName fn;
    EXPECT_FALSE(ReadFileNameValue(cut, fn)) << "name past the value";
}

TEST(Attributes, StandardInformationAndStreamNames) {
    const Bytes si = test::ResidentAttribute(0x10, test::StandardInformationValue(0x27, 100, 200, 300));
    const Attribute a(si, 0);
    StandardInformation info;
    ASSERT_TRUE(ReadStandardInformation(a, info));
    EXPECT_EQ(info.creationTime, 100u);
    EXPECT_EQ(info.modificationTime, 200u);
    EXPECT_EQ(info.accessTime, 300u);
    EXPECT_EQ(info.fileAttributes, 0x27u);
    const Bytes tooShort = test::ResidentAttribute(0x10, Bytes(32));
    EXPECT_FALSE(ReadStandardInformation(Attribute(tooShort, 0), info));

    const Bytes named =
        test::NonResidentAttribute(0x80, {.pairs = {0x11, 0x02, 0x30, 0x00}, .name = u"Zone"});
    const Attribute stream(named, 0);
    EXPECT_TRUE(stream.IsNamed());
    EXPECT_EQ(stream.Name(), "Zone");
    EXPECT_TRUE(stream.Value().empty());
    EXPECT_EQ(stream.MappingPairs()[0], 0x11);
}

}  // namespace
}  // namespace keldrin::ntfs
