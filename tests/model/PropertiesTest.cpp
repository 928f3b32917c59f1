#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "engine/model/MyFileProperties.h"
#include "engine/model/NTFSFileProperties.h"
#include "engine/model/SmallBlockPool.h"

namespace keldrin {
namespace {

NTFSPropertiesRecord SampleRecord() {
    NTFSPropertiesRecord r;
    r.name = "Bericht für März.docx";
    r.size = 70000;
    r.attributes = kAttrArchive | kAttrCompressed;
    r.creationTime = 1;
    r.modificationTime = 2;
    r.accessTime = 3;
    r.state = kStateDeleted;
    r.recordSector = 0x123456789;
    r.storedRuns = StoredRunList::FromExtents({{4000000, 10}, {kSparseStart, 6}, {3999000, 2}});
    r.extensionRecords = {{0x123456799, 77}, {0x1234567A1, 81}};
    return r;
}

TEST(NTFSFileProperties, KeepsEveryFieldOfTheRecord) {
    const size_t liveBefore = TreePool().LiveBlocks();
    const NTFSPropertiesRecord r = SampleRecord();
    std::unique_ptr<CNTFSFileProperties> p = CNTFSFileProperties::InitFromRecord(r);
    ASSERT_TRUE(p);
    EXPECT_STREQ(p->GetName(), "Bericht für März.docx");
    EXPECT_EQ(p->GetNameLength(), r.name.size());
    EXPECT_EQ(p->GetFileSize(), 70000u);
    EXPECT_EQ(p->GetAttributes(), kAttrArchive | kAttrCompressed);
    EXPECT_EQ(p->GetCreationTime(), 1u);
    EXPECT_EQ(p->GetModificationTime(), 2u);
    EXPECT_EQ(p->GetAccessTime(), 3u);
    EXPECT_EQ(p->GetState(), kStateDeleted);
    EXPECT_EQ(p->GetCheckState(), kUnchecked);
    EXPECT_EQ(p->GetRecordSector(), 0x123456789);
    EXPECT_EQ(p->GetTypeCode(), 255u);
    EXPECT_EQ(p->GetPropertiesKind(), kPropertiesNtfs);
    ASSERT_EQ(p->GetExtensionRecords().size(), 2u);
    EXPECT_EQ(p->GetExtensionRecords()[1], (NTFSExtensionRecord{0x1234567A1, 81}));
    EXPECT_EQ(p->GetStoredRunSize(), r.storedRuns.GetSize());

    std::unique_ptr<IDataRunList> runs = p->GetDataRunList();
    ASSERT_TRUE(runs);
    EXPECT_EQ(runs->GetExtents(), r.storedRuns.GetDataRunList()->GetExtents());
    EXPECT_EQ(TreePool().LiveBlocks(), liveBefore + 1);
    p.reset();
    EXPECT_EQ(TreePool().LiveBlocks(), liveBefore);
}

TEST(NTFSFileProperties, MarkAndCheckStateAndSize) {
    NTFSPropertiesRecord r;
    r.name = "a";
    std::unique_ptr<CNTFSFileProperties> p = CNTFSFileProperties::InitFromRecord(r);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->SetMark(0x1A5), 0u);  // kept to 8 bits
    EXPECT_EQ(p->GetMark(), 0xA5u);
    EXPECT_EQ(p->SetMark(3), 0xA5u);
    p->SetCheckState(kChecked);
    EXPECT_EQ(p->GetCheckState(), kChecked);
    p->SetFileSize(1u << 20);
    EXPECT_EQ(p->GetFileSize(), 1u << 20);
}

TEST(NTFSFileProperties, ResidentAndMissingData) {
    NTFSPropertiesRecord r;
    r.name = "folder";
    r.attributes = kAttrFolder;
    std::unique_ptr<CNTFSFileProperties> folder = CNTFSFileProperties::InitFromRecord(r);
    ASSERT_TRUE(folder);
    EXPECT_EQ(folder->GetDataRunList(), nullptr);
    EXPECT_STREQ(folder->GetName(), "folder");
    EXPECT_TRUE(folder->GetExtensionRecords().empty());

    r.name = "small.txt";
    r.attributes = 0;
    r.storedRuns = StoredRunList::FromExtents({{8192, 1}}, 0x118);
    std::unique_ptr<CNTFSFileProperties> small = CNTFSFileProperties::InitFromRecord(r);
    ASSERT_TRUE(small);
    std::unique_ptr<IDataRunList> runs = small->GetDataRunList();
    ASSERT_TRUE(runs);
    EXPECT_TRUE(runs->IsResident());
    EXPECT_EQ(runs->GetResidentOffset(), 0x118u);
    EXPECT_EQ(runs->GetExtents(), (std::vector<Extent>{{8192, 1}}));
}

TEST(NTFSFileProperties, FieldsThatDoNotFitGiveNull) {
    const std::string longName(0x10000, 'x');
    NTFSPropertiesRecord r;
    r.name = longName;
    EXPECT_EQ(CNTFSFileProperties::InitFromRecord(r), nullptr);
    r.name = std::string_view(longName).substr(0, 0xFFFF);  // the longest that fits; beyond the pooled sizes
    std::unique_ptr<CNTFSFileProperties> p = CNTFSFileProperties::InitFromRecord(r);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->GetNameLength(), 0xFFFFu);

    r.name = "x";
    r.extensionRecords.resize(0x10000);
    EXPECT_EQ(CNTFSFileProperties::InitFromRecord(r), nullptr);
}

TEST(NTFSFileProperties, DeletedThroughTheInterface) {
    const size_t liveBefore = TreePool().LiveBlocks();
    std::unique_ptr<IFileProperties> p = CNTFSFileProperties::InitFromRecord(SampleRecord());
    ASSERT_TRUE(p);
    p.reset();
    EXPECT_EQ(TreePool().LiveBlocks(), liveBefore);
}

TEST(MyFileProperties, RecordIsCopiedWhole) {
    MyFileRecord record;
    record.SetName("Lost Folders");
    record.size = 5;
    record.attributes = kAttrFolder;
    record.creationTime = 7;
    record.state = kStateTemp;
    record.checkState = kPartlyChecked;
    record.mark = 0x12345678;
    record.typeCode = 0x1C7;
    CMyFileProperties p(record);
    EXPECT_STREQ(p.GetName(), "Lost Folders");
    EXPECT_EQ(p.GetNameLength(), 12u);
    EXPECT_EQ(p.GetFileSize(), 5u);
    EXPECT_EQ(p.GetCreationTime(), 7u);
    EXPECT_EQ(p.GetState(), kStateTemp);
    EXPECT_EQ(p.GetCheckState(), kPartlyChecked);
    EXPECT_EQ(p.GetTypeCode(), 0x1C7u);
    EXPECT_EQ(p.GetPropertiesKind(), kPropertiesMy);
    EXPECT_EQ(p.GetDataRunList(), nullptr);
    EXPECT_EQ(p.SetMark(9), 0x12345678u);
    EXPECT_EQ(p.GetMark(), 9u);
}

TEST(MyFileProperties, NamesAreCutToTheBufferOnACharacterBoundary) {
    MyFileRecord record;
    // 129 two-byte characters: 258 bytes fit, the 259th would split a character.
    std::string umlauts;
    for (int i = 0; i < 130; ++i) umlauts += "ä";
    record.SetName(umlauts);
    EXPECT_EQ(record.nameLength, 258u);
    EXPECT_EQ(std::string(record.name), umlauts.substr(0, 258));

    // A record filled without a terminating zero and a wrong length is made consistent.
    std::memset(record.name, 'a', sizeof(record.name));
    record.nameLength = 1000;
    CMyFileProperties p(record);
    EXPECT_EQ(p.GetNameLength(), 259u);
    EXPECT_EQ(std::string(p.GetName()), std::string(259, 'a'));
}

}  // namespace
}  // namespace keldrin
