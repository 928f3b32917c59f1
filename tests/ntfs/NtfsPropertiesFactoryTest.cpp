#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/model/FileProperties.h"
#include "engine/ntfs/NtfsPropertiesFactory.h"
#include "shared/TypeFilter.h"
#include "tests/ntfs/NtfsBuilders.h"

namespace keldrin::ntfs {
namespace {

using test::Bytes;
using test::RecordBuilder;

constexpr int64_t kSector = 777;
const MftMap kNoMft({0, 8, 1024}, {});

struct Made {
    std::unique_ptr<CNTFSFileProperties> properties;
    NtfsRecordFacts facts;
};

Made Make(const Bytes& record) {
    const FileRecordSet set(record, kSector, nullptr, kNoMft);
    Made m;
    m.properties = CreateNtfsProperties(kSector, set, &m.facts);
    return m;
}

std::vector<Extent> ExtentsOf(const CNTFSFileProperties& p) {
    auto list = p.GetDataRunList();
    return list ? list->GetExtents() : std::vector<Extent>{};
}

struct TypeFilterScope {
    explicit TypeFilterScope(const std::vector<std::string>& extensions) { SetTypeFilter(extensions); }
    ~TypeFilterScope() { SetTypeFilter({}); }
};

TEST(CreateNtfsProperties, ChoosesTheNameAndTheParent) {
    struct Case {
        const char* what;
        test::FileNameSpec first;
        std::optional<test::FileNameSpec> second;
        const char* name;  // null: no properties
        int64_t parent;
    } cases[] = {
        {"one Win32 name", {.parent = 40, .name = u"report.txt"}, {}, "report.txt", 40},
        {"DOS name first, Win32 second",
         {.parent = 40, .name = u"REPORT~1.TXT", .nameSpace = 2},
         test::FileNameSpec{.parent = 40, .name = u"Long report.txt", .nameSpace = 1},
         "Long report.txt",
         40},
        {"Win32 first, DOS second",
         {.parent = 40, .name = u"Long report.txt", .nameSpace = 1},
         test::FileNameSpec{.parent = 40, .name = u"REPORT~1.TXT", .nameSpace = 2},
         "Long report.txt",
         40},
        {"second name under $Volume: the first's parent",
         {.parent = 41, .name = u"A~1", .nameSpace = 2},
         test::FileNameSpec{.parent = 3, .name = u"a name", .nameSpace = 1},
         "a name",
         41},
        {"both parents below 5: the shown name's", {.parent = 0, .name = u"zeroed"}, {}, "zeroed", 0},
        {"an empty name", {.name = u""}, {}, nullptr, 0},
        {"names keep every character",
         {.name = u"Grüße \U0001F600.txt"},
         {},
         "Grüße \xF0\x9F\x98\x80.txt",
         5},
        {"a lone surrogate becomes _",
         {.name = u"a\xD800"
                  u"b"},
         {},
         "a_b",
         5},
    };
    for (const Case& c : cases) {
        RecordBuilder b;
        b.AddStandardInformation(0x20).AddFileName(c.first);
        if (c.second) b.AddFileName(*c.second);
        const Made m = Make(b.Build());
        if (!c.name) {
            EXPECT_FALSE(m.properties) << c.what;
            continue;
        }
        ASSERT_TRUE(m.properties) << c.what;
        EXPECT_STREQ(m.properties->GetName(), c.name) << c.what;
        EXPECT_EQ(m.facts.parent, c.parent) << c.what;
    }
    EXPECT_FALSE(Make(RecordBuilder().AddStandardInformation(0x20).Build()).properties) << "no $FILE_NAME";
}

TEST(CreateNtfsProperties, TimesAttributesAndStateFromTheRecord) {
    const Bytes withInfo =
        RecordBuilder()
            .Flags(0)  // not in use
            .Add(test::ResidentAttribute(0x10, test::StandardInformationValue(0x27 | 0x100, 101, 102, 103)))
            .AddFileName({.name = u"old.txt"})
            .Build();
    Made m = Make(withInfo);
    ASSERT_TRUE(m.properties);
    EXPECT_EQ(m.properties->GetCreationTime(), 101u);
    EXPECT_EQ(m.properties->GetModificationTime(), 102u);
    EXPECT_EQ(m.properties->GetAccessTime(), 103u);
    EXPECT_EQ(m.properties->GetAttributes(), kAttrReadOnly | kAttrHidden | kAttrSystem | kAttrArchive)
        << "only the four bits of $STANDARD_INFORMATION the tree shows";
    EXPECT_EQ(m.properties->GetState(), kStateDeleted);
    EXPECT_EQ(m.properties->GetRecordSector(), kSector);
    EXPECT_EQ(m.properties->GetCheckState(), 0);
    EXPECT_EQ(m.properties->GetMark(), 0u);

    // Without $STANDARD_INFORMATION the name's times stand (the builder writes 11, 12, 14).
    m = Make(RecordBuilder().AddFileName({.name = u"Folder", .flags = test::kFileNameFolder}).Build());
    ASSERT_TRUE(m.properties);
    EXPECT_EQ(m.properties->GetCreationTime(), 11u);
    EXPECT_EQ(m.properties->GetModificationTime(), 12u);
    EXPECT_EQ(m.properties->GetAccessTime(), 14u);
    EXPECT_EQ(m.properties->GetAttributes(), kAttrFolder);
    EXPECT_EQ(m.properties->GetState(), 0);

    // A $STANDARD_INFORMATION too short to hold the attribute word is not used.
    m = Make(RecordBuilder()
                 .Add(test::ResidentAttribute(0x10, Bytes(24, 0xFF)))
                 .AddFileName({.name = u"short.txt"})
                 .Build());
    ASSERT_TRUE(m.properties);
    EXPECT_EQ(m.properties->GetCreationTime(), 11u);
    EXPECT_EQ(m.properties->GetAttributes(), 0);
}

TEST(CreateNtfsProperties, ResidentDataIsItsRecordSectorAndValueOffset) {
    RecordBuilder b;
    b.AddStandardInformation(0x20).AddFileName({.name = u"small.txt", .dataSize = 999});
    const size_t dataOffset = b.NextOffset();
    b.Add(test::ResidentAttribute(0x80, Bytes(300, 'x')));
    const Made m = Make(b.Build());
    ASSERT_TRUE(m.properties);
    EXPECT_EQ(m.properties->GetFileSize(), 300u) << "the value's length, not the name's stale size";
    EXPECT_TRUE(m.facts.resident);
    auto list = m.properties->GetDataRunList();
    ASSERT_TRUE(list);
    EXPECT_TRUE(list->IsResident());
    EXPECT_EQ(list->GetResidentOffset(), dataOffset + 24);
    EXPECT_EQ(list->GetExtents(), (std::vector<Extent>{{kSector, 1}}));
}

TEST(CreateNtfsProperties, NonResidentDataKeepsItsRunsAndSize) {
    const Bytes named = test::NonResidentAttribute(
        0x80, {.pairs = EncodeMappingPairs({{9000, 1}}), .dataSize = 10, .name = u"Zone.Identifier"});
    const Bytes record = RecordBuilder()
                             .AddStandardInformation(0x20)
                             .AddFileName({.name = u"big.bin", .dataSize = 5})
                             .Add(test::DataAttribute({{500, 4}, {-1, 2}, {300, 1}}, 27000))
                             .Add(named)
                             .Build();
    const Made m = Make(record);
    ASSERT_TRUE(m.properties);
    EXPECT_EQ(m.properties->GetFileSize(), 27000u) << "the data size of the piece at VCN 0";
    EXPECT_FALSE(m.facts.resident);
    EXPECT_EQ(m.facts.dataClusters, 7);
    EXPECT_EQ(ExtentsOf(*m.properties), (std::vector<Extent>{{500, 4}, {kSparseStart, 2}, {300, 1}}))
        << "named streams are not the file's data";
    EXPECT_TRUE(m.properties->GetExtensionRecords().empty());
}

TEST(CreateNtfsProperties, CompressedAndEncryptedGiveEncryptedOnly) {
    struct Case {
        uint16_t flags;
        uint16_t attributes;
    } cases[] = {{0x0001, kAttrCompressed}, {0x4000, kAttrEncrypted}, {0x4001, kAttrEncrypted}, {0, 0}};
    for (const Case& c : cases) {
        const Bytes record = RecordBuilder()
                                 .AddFileName({.name = u"f.dat"})
                                 .Add(test::DataAttribute({{100, 16}}, 4096, 0, c.flags))
                                 .Build();
        const Made m = Make(record);
        ASSERT_TRUE(m.properties);
        EXPECT_EQ(m.properties->GetAttributes(), c.attributes) << std::hex << c.flags;
    }
}

TEST(CreateNtfsProperties, TypeFilterDropsFilesButNeverFolders) {
    const TypeFilterScope filter({".doc"});
    struct Case {
        std::u16string_view name;
        bool folder;
        bool kept;
    } cases[] = {{u"letter.doc", false, true}, {u"LETTER.DOC", false, true}, {u"notes.txt", false, false},
                 {u"readme", false, false},    {u"Pictures", true, true},    {u"archive.d", true, true}};
    for (const Case& c : cases) {
        const Bytes record = RecordBuilder()
                                 .AddFileName({.name = c.name, .flags = c.folder ? test::kFileNameFolder : 0})
                                 .Build();
        EXPECT_EQ(Make(record).properties != nullptr, c.kept) << std::string(c.name.begin(), c.name.end());
    }
}

}  // namespace
}  // namespace keldrin::ntfs
