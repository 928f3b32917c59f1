#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/model/SmallBlockPool.h"
#include "engine/ntfs/BootSector.h"
#include "engine/ntfs/MftLocator.h"
#include "engine/ntfs/MftMap.h"
#include "engine/ntfs/MftReader.h"
#include "tests/ntfs/NtfsBuilders.h"

namespace keldrin::ntfs {
namespace {

using test::FakeVolume;
using test::RecordBuilder;
using test::Ref;
using test::UserRecord;

// Cancels once the reading has reached a position.
class CancelAt : public IDIRBuildCallback {
  public:
    explicit CancelAt(int64_t position) : at_(position) {}
    int BeginPhase(const char*, int64_t) override { return kGoOn; }
    int Step(int64_t) override { return kGoOn; }
    int Finish() override { return kGoOn; }
    int SetPosition(int64_t position) override {
        reached_ = position;
        return IsCancelled();
    }
    int IsCancelled() override { return reached_ >= at_ ? kCancelled : kGoOn; }
    int64_t reached() const { return reached_; }

  private:
    int64_t at_;
    int64_t reached_ = 0;
};

struct Read {
    bool finished = false;
    int64_t lastPosition = 0;
    std::vector<std::string> records;  // one line per build record, in list order
};

Read ReadWith(FakeVolume& v, int threads, int64_t cancelAt = INT64_MAX) {
    uint8_t sector[512];
    EXPECT_TRUE(v.device().ReadSectors(sector, v.layout().firstSector, 1));
    const CNTFSDBR boot{std::span<const uint8_t>(sector)};
    NtfsGeometry g;
    CMFTInfo info;
    EXPECT_TRUE(GeometryFromBootSector(boot, v.layout().firstSector, g));
    EXPECT_TRUE(LocateMft(v.device(), boot, g, v.device().GetTotalSectors(), info));
    const MftMap mft(g, info.runs);
    BuildRecordList list;
    CMftReader reader(v.device(), mft, v.device().GetTotalSectors(), list, threads);
    CancelAt callback(cancelAt);
    Read read;
    read.finished = reader.ReadMft(callback, "reading");
    read.lastPosition = callback.reached();
    for (size_t i = 0; i < list.Size(); ++i) {
        const CNTFSBuildRecord& r = list[i];
        const CNTFSFileProperties& p = *r.properties;
        read.records.push_back(std::to_string(r.recordNumber) + " " + std::to_string(r.parent) + " " +
                               std::to_string(r.folder) + " " + p.GetName() + " " +
                               std::to_string(p.GetFileSize()) + " " + std::to_string(p.GetState()) + " " +
                               std::to_string(p.GetRecordSector()));
    }
    return read;
}

// 4096 records, 64 chunks: folders, files in them, deleted files, a file whose data lies in an
// extension record, and a hole in $MFT's runs.
FakeVolume LargeVolume() {
    constexpr int64_t kRecords = 4096;
    FakeVolume v({.mftRecords = kRecords, .deviceSectors = 20000});
    // Clusters 16-515 and 528-1039 hold records; the 12 clusters between are a hole.
    v.Put(0, v.MftRecord({{16, 500}, {-1, 12}, {528, 512}}, kRecords * 1024));
    for (uint32_t n = 64; n < kRecords; ++n) {
        if (n % 100 == 0) {
            v.Put(n, UserRecord(n, {.name = u"folder", .folder = true}));
        } else {
            const uint32_t parent = n / 100 * 100;
            v.Put(n, UserRecord(n, {.name = n % 7 ? u"file.txt" : u"gone.txt",
                                    .parent = parent >= 100 ? parent : 5u,
                                    .inUse = n % 7 != 0,
                                    .residentBytes = n % 50}));
        }
    }
    v.Put(3001,
          RecordBuilder(1024)
              .Number(3001)
              .AddStandardInformation(0x20)
              .Add(test::ResidentAttribute(
                  0x20, test::AttributeListValue({{0x10, Ref(3001)}, {0x30, Ref(3001)}, {0x80, Ref(3002)}})))
              .AddFileName({.parent = 3000, .name = u"extended.bin"}));
    v.Put(3002, RecordBuilder(1024).Number(3002).Base(Ref(3001)).Add(test::DataAttribute({{1500, 2}}, 7000)));
    return v;
}

TEST(CMftReader, TwoThreadsFindWhatOneFindsInTheSameOrder) {
    FakeVolume v = LargeVolume();
    const Read one = ReadWith(v, 1);
    const Read two = ReadWith(v, 2);
    ASSERT_TRUE(one.finished);
    ASSERT_TRUE(two.finished);
    // Records 2000-2047 lie in the hole; the extension record is no file of its own.
    EXPECT_EQ(one.records.size(), 4096u - 64 - 48 - 1);
    EXPECT_EQ(two.records, one.records);
    EXPECT_EQ(two.lastPosition, one.lastPosition);
    EXPECT_EQ(one.lastPosition, 64);
}

TEST(CMftReader, CancellingTwoThreadsLeavesNothingBehind) {
    FakeVolume v = LargeVolume();
    const size_t liveBefore = TreePool().LiveBlocks();
    const Read read = ReadWith(v, 2, 10);
    EXPECT_FALSE(read.finished);
    // How far the helper got before it saw the cancel depends on the scheduler.
    EXPECT_GE(read.lastPosition, 10);
    EXPECT_EQ(TreePool().LiveBlocks(), liveBefore);
}

}  // namespace
}  // namespace keldrin::ntfs
