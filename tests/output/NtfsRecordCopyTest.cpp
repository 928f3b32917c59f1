// Files whose bytes the writer reads again from their MFT records: resident values and the $EFS
// stream of encrypted files.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "engine/model/NTFSFileProperties.h"
#include "engine/output/FileRecoverWriter.h"
#include "engine/output/OutputFile.h"
#include "tests/ntfs/NtfsBuilders.h"
#include "tests/output/OutputFixtures.h"
#include "tests/support/TestFiles.h"

namespace keldrin::output {
namespace {

using keldrin::testing::ScopedTempDir;

using keldrin::testing::CountingCallback;
using keldrin::testing::ReadFile;
using ntfs::test::Bytes;
using ntfs::test::DataAttribute;
using ntfs::test::MemoryDevice;
using ntfs::test::ResidentAttribute;
using ntfs::test::UserRecord;

constexpr int64_t kRecordSector = 100;

Bytes Pattern(size_t size, uint8_t seed) {
    Bytes b(size);
    for (size_t i = 0; i < size; ++i) b[i] = static_cast<uint8_t>(seed + i * 7 + (i >> 8));
    return b;
}

struct NtfsFixture {
    MemoryDevice device{4000};
    TreeOwner<CFileSystemNode> root{CreateFileSystemNode()};
    ScopedTempDir dir;

    NtfsFixture() { root->SetVolumeLocation(0, 8); }

    CFileNode* AddFile(const std::string& name, uint64_t size, uint16_t attributes,
                       const StoredRunList& runs) {
        NTFSPropertiesRecord record;
        record.name = name;
        record.size = size;
        record.attributes = attributes;
        record.recordSector = kRecordSector;
        record.storedRuns =
            StoredRunList::FromBytes(runs.GetBytes(), runs.GetSize(), runs.GetResidentOffset());
        CFileNode* node = CreateFileNode();
        node->SetProperties(CNTFSFileProperties::InitFromRecord(record).release());
        root->AddChild(node);
        return node;
    }
};

TEST(NtfsRecordCopy, AResidentValueIsReadAgainFromItsRecord) {
    NtfsFixture f;
    const Bytes value = Pattern(700, 3);
    f.device.Write(kRecordSector,
                   UserRecord(40, {.name = u"small.txt"}).Add(ResidentAttribute(0x80, value)).Build());
    CFileNode* node =
        f.AddFile("small.txt", 700, 0x20, StoredRunList::FromExtents({{kRecordSector, 1}}, 0x140));
    const std::string path = (f.dir.path() / "small.txt").string();
    ASSERT_EQ(CreateNewFile(path), 0);
    CountingCallback callback;
    CFileRecoverWriter writer(&callback, &f.device);
    ASSERT_EQ(writer.RecoverFile(node, path), kOutcomeSuccess);
    EXPECT_EQ(ReadFile(path), std::string(value.begin(), value.end()));
    EXPECT_EQ(callback.bytes, 700u);
    EXPECT_EQ(callback.files, 1u);
}

TEST(NtfsRecordCopy, AResidentValueWhoseRecordIsGoneFails) {
    NtfsFixture f;  // nothing written at the record sector
    CFileNode* node =
        f.AddFile("gone.txt", 10, 0x20, StoredRunList::FromExtents({{kRecordSector, 1}}, 0x140));
    const std::string path = (f.dir.path() / "gone.txt").string();
    CFileRecoverWriter writer(nullptr, &f.device);
    EXPECT_EQ(writer.RecoverFile(node, path), kOutcomeFailure);
}

TEST(NtfsRecordCopy, AnEncryptedFileBecomesItsRawImportStream) {
    NtfsFixture f;
    Bytes efs = Pattern(64, 9);
    const uint32_t efsLength = 64;
    std::memcpy(efs.data(), &efsLength, 4);
    const Bytes cipher = Pattern(4096, 77);
    f.device.Write(50 * 8, cipher);
    f.device.Write(kRecordSector, UserRecord(41, {.name = u"secret.bin", .fileAttributes = 0x4020})
                                      .Add(DataAttribute({{50, 1}}, 1000, 0, 0x4000))
                                      .Add(ResidentAttribute(0x100, efs, u"$EFS"))
                                      .Build());
    CFileNode* node =
        f.AddFile("secret.bin", 1000, kAttrEncrypted | kAttrArchive, StoredRunList::FromExtents({{50, 1}}));
    const std::string path = (f.dir.path() / "secret.bin").string();
    ASSERT_EQ(CreateNewFile(path), 0);
    CountingCallback callback;
    CFileRecoverWriter writer(&callback, &f.device);
    ASSERT_EQ(writer.RecoverFile(node, path), kOutcomeSuccess);

    // The copy counts whole sectors of cipher text, then gives the rounding back.
    EXPECT_EQ(callback.peakBytes, 1024u);
    EXPECT_EQ(callback.subtracted, 24u);
    EXPECT_EQ(callback.bytes, 1000u);
    EXPECT_FALSE(std::filesystem::exists(path));  // the intermediate form is removed
    EXPECT_EQ(writer.LastWrittenPath(), path + ".EFS");
    const std::string stream = ReadFile(path + ".EFS");
    ASSERT_EQ(stream.size(), 66u + 64 + 42 + 512 + 1024);
    EXPECT_EQ(stream.compare(66, 64, std::string(efs.begin(), efs.end())), 0);
    const size_t block = 66 + 64 + 42;
    uint32_t carried = 0;
    std::memcpy(&carried, stream.data() + block + 28, 4);
    EXPECT_EQ(carried, 1000u);
    EXPECT_EQ(stream.compare(block + 512, 1024, std::string(cipher.begin(), cipher.begin() + 1024)), 0);
}

}  // namespace
}  // namespace keldrin::output
