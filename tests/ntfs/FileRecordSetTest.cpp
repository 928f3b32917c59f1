#include <gtest/gtest.h>

#include "engine/model/Extent.h"
#include "engine/ntfs/DataRuns.h"
#include "engine/ntfs/FileRecordSet.h"
#include "tests/ntfs/NtfsBuilders.h"

namespace keldrin::ntfs {
namespace {

using test::Bytes;
using test::MemoryDevice;
using test::NonResidentSpec;
using test::RecordBuilder;

// A volume at sector 64 of its device with 2-sector clusters and 1024-byte records; $MFT holds
// records 0-15 at cluster 20 and records 16-31 at cluster 300.
constexpr int64_t kFirst = 64;
const NtfsGeometry kGeometry{kFirst, 2, 1024};
const std::vector<NtfsRun> kMftRuns = {{20, 0, 16}, {300, 16, 16}};

int64_t SectorOfRecord(int64_t n) {
    return kFirst + (n < 16 ? 20 + n : 300 + n - 16) * 2;
}

uint64_t Ref(int64_t number, uint16_t sequence = 1) {
    return uint64_t{sequence} << 48 | uint64_t(number);
}

Bytes ListEntry(uint32_t type, uint64_t reference) {
    Bytes e(32);
    test::Put32(e, 0, type);
    test::Put16(e, 4, 32);
    test::Put64(e, 16, reference);
    return e;
}

Bytes AttributeList(std::initializer_list<std::pair<uint32_t, uint64_t>> entries) {
    Bytes list;
    for (const auto& [type, reference] : entries) {
        const Bytes e = ListEntry(type, reference);
        list.insert(list.end(), e.begin(), e.end());
    }
    return list;
}

Bytes DataPiece(int64_t lcn, int64_t length, int64_t firstVcn, int64_t size) {
    return test::NonResidentAttribute(
        0x80, {.pairs = EncodeMappingPairs({{static_cast<uint64_t>(lcn), static_cast<uint64_t>(length)}}),
               .firstVcn = firstVcn,
               .lastVcn = firstVcn + length - 1,
               .allocatedSize = size,
               .dataSize = size,
               .initializedSize = size});
}

// Base record 16 whose $DATA lives in extension records 20 and 25; record 25 also holds the
// Win32 name.
struct Fixture {
    MemoryDevice device{4096};
    MftMap mft{kGeometry, kMftRuns};

    Bytes Base(const Bytes& listAttribute) {
        RecordBuilder b;
        b.Number(16)
            .AddStandardInformation(0x20)
            .Add(listAttribute)
            .AddFileName({.name = u"BIGFIL~1.DAT", .nameSpace = 2});
        return b.Build();
    }
    void WriteExtensions(uint64_t baseOf25 = Ref(16)) {
        RecordBuilder e20;
        e20.Number(20).Base(Ref(16)).Add(DataPiece(1000, 2, 0, 5 * 1024));
        device.Write(SectorOfRecord(20), e20.Build());
        RecordBuilder e25;
        e25.Number(25).Base(baseOf25).AddFileName({.name = u"big file.dat"}).Add(DataPiece(1200, 3, 2, 0));
        device.Write(SectorOfRecord(25), e25.Build());
    }
};

const auto kEntries = {std::pair<uint32_t, uint64_t>{0x10, Ref(16)},
                       {0x20, Ref(16)},
                       {0x30, Ref(16)},
                       {0x30, Ref(25, 3)},
                       {0x80, Ref(20)},
                       {0x80, Ref(25)},
                       {0x80, Ref(20, 9)},
                       {0x80, Ref(40)}};

TEST(FileRecordSet, ResidentListReadsExtensionsLazilyInListOrder) {
    Fixture f;
    f.WriteExtensions();
    const Bytes base = f.Base(test::ResidentAttribute(0x20, AttributeList(kEntries)));
    const FileRecordSet set(base, SectorOfRecord(16), &f.device, f.mft);
    ASSERT_TRUE(set.IsValid());
    const std::vector<ExtensionRecord> expected = {{25, SectorOfRecord(25)}, {20, SectorOfRecord(20)}};
    EXPECT_EQ(set.Extensions(), expected) << "each record once, without the base and the unplaced record 40";
    EXPECT_EQ(f.device.reads(), 0);

    int64_t sector = 0;
    ASSERT_TRUE(set.FindAttribute(0x10, 0, &sector));
    EXPECT_EQ(sector, SectorOfRecord(16));
    EXPECT_EQ(f.device.reads(), 0) << "the base record answers without a read";

    const auto win32 = set.FindAttribute(0x30, 1, &sector);
    ASSERT_TRUE(win32);
    EXPECT_EQ(sector, SectorOfRecord(25));
    FileName name;
    ASSERT_TRUE(ReadFileName(*win32, name));
    EXPECT_EQ(name.name, "big file.dat");
    EXPECT_EQ(win32->Offset(), RecordBuilder().FirstAttributeOffset());
    EXPECT_EQ(f.device.reads(), 1);

    DataRuns data;
    ASSERT_TRUE(ReadDataRuns(set, data));
    const std::vector<NtfsRun> runs = {{1000, 0, 2}, {1200, 2, 3}};
    EXPECT_EQ(data.runs, runs);
    EXPECT_EQ(data.size, 5 * 1024);
    EXPECT_EQ(f.device.reads(), 2) << "each extension record is read once";
    EXPECT_FALSE(set.FindAttribute(0x80, 2));
}

TEST(FileRecordSet, NonResidentListIsReadFromItsClusters) {
    Fixture f;
    f.WriteExtensions();
    Bytes list = AttributeList(kEntries);
    const int64_t used = static_cast<int64_t>(list.size());
    list.resize(2048);
    f.device.Write(kFirst + 500 * 2, list);
    NonResidentSpec spec{.pairs = {0x21, 0x02, 0xF4, 0x01, 0x00},  // 2 clusters at 500
                         .lastVcn = 1,
                         .allocatedSize = 2048,
                         .dataSize = used,
                         .initializedSize = used};
    const FileRecordSet set(f.Base(test::NonResidentAttribute(0x20, spec)), SectorOfRecord(16), &f.device,
                            f.mft);
    EXPECT_EQ(set.Extensions().size(), 2u);
    EXPECT_EQ(set.FindAttribute(0x80, 1)->Bytes()[64], 0x21) << "record 20's piece: 2 clusters at 1000";

    struct Case {
        const char* what;
        int64_t allocated;
        int64_t initialized;
        size_t extensions;
    } cases[] = {
        {"no initialized bytes", 2048, 0, 0},
        {"allocated below initialized", 100, 200, 0},
        // The buffer is capped, not sized from the damaged field; the list's start still reads.
        {"allocated size of a terabyte", int64_t{1} << 40, int64_t{1} << 40, 2},
    };
    for (const Case& c : cases) {
        spec.allocatedSize = c.allocated;
        spec.initializedSize = c.initialized;
        const FileRecordSet damaged(f.Base(test::NonResidentAttribute(0x20, spec)), SectorOfRecord(16),
                                    &f.device, f.mft);
        EXPECT_EQ(damaged.Extensions().size(), c.extensions) << c.what;
    }

    const FileRecordSet withoutDevice(f.Base(test::NonResidentAttribute(0x20, spec)), SectorOfRecord(16),
                                      nullptr, f.mft);
    EXPECT_TRUE(withoutDevice.Extensions().empty());
}

TEST(FileRecordSet, ReusedExtensionRecordIsNotTaken) {
    Fixture f;
    f.WriteExtensions(Ref(99));  // record 25 now belongs to another file
    const Bytes base = f.Base(test::ResidentAttribute(0x20, AttributeList(kEntries)));
    const FileRecordSet set(base, SectorOfRecord(16), &f.device, f.mft);
    EXPECT_FALSE(set.FindAttribute(0x30, 1));
    DataRuns data;
    ASSERT_TRUE(ReadDataRuns(set, data));
    EXPECT_EQ(data.runs, (std::vector<NtfsRun>{{1000, 0, 2}}));
}

TEST(FileRecordSet, FourKilobyteRecordsAcrossTwoMftRuns) {
    // 512-byte clusters: record 16 spans clusters 128-135, of which 132 onwards lie in the
    // second run, so the record must be read in two pieces.
    MemoryDevice device(2048);
    const MftMap mft({0, 1, 4096}, {{100, 0, 132}, {900, 132, 200}});
    EXPECT_EQ(mft.RecordSector(16), 228);
    EXPECT_EQ(mft.RecordSector(17), 904);
    EXPECT_EQ(mft.RecordSector(60), -1);

    RecordBuilder ext(4096);
    ext.Number(16)
        .Base(Ref(17))
        .Add(test::ResidentAttribute(0x40, Bytes(2500)))
        .AddFileName({.name = u"second half"});
    const Bytes extBytes = ext.Build();
    device.Write(228, std::span<const uint8_t>(extBytes).first(2048));
    device.Write(900, std::span<const uint8_t>(extBytes).subspan(2048));

    RecordBuilder base(4096);
    base.Number(17).AddStandardInformation(0).Add(
        test::ResidentAttribute(0x20, AttributeList({{0x30, Ref(16)}})));
    const FileRecordSet set(base.Build(), 904, &device, mft);
    ASSERT_EQ(set.Extensions(), (std::vector<ExtensionRecord>{{16, 228}}));
    FileName name;
    ASSERT_TRUE(ReadFileName(*set.FindAttribute(0x30, 0), name));
    EXPECT_EQ(name.name, "second half");
}

}  // namespace
}  // namespace keldrin::ntfs
