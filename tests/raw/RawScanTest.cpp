#include <gtest/gtest.h>

#include <memory>

#include "engine/raw/RAWSearchController.h"
#include "engine/raw/RawFileStore.h"
#include "engine/raw/RawFileType.h"
#include "tests/raw/RawTestSupport.h"

namespace keldrin::test {
namespace {

using ScanTest = RawTest;

TEST(RawFileTypeTest, BuiltInRowsAndCustomRange) {
    EXPECT_STREQ(RawFileType::Extension(0), "Raw");
    EXPECT_STREQ(RawFileType::Extension(27), "FH11");
    EXPECT_STREQ(RawFileType::Description(33), "JPEG Graphics file");
    EXPECT_STREQ(RawFileType::Description(68), "Zip compression file");
    EXPECT_STREQ(RawFileType::Extension(69), "");
    EXPECT_STREQ(RawFileType::Extension(-1), "");
    EXPECT_EQ(RawFileType::FindByExtension("jpg"), 33);

    RawFileType::ClearCustomTypes();
    EXPECT_EQ(RawFileType::AddCustomType("ABCDEFG", "mine"), 1000);
    EXPECT_STREQ(RawFileType::Extension(1000), "ABCDE");  // five characters at most
    EXPECT_EQ(RawFileType::AddCustomType("XYZ", ""), 1001);
    EXPECT_EQ(RawFileType::AddCustomType("", "no extension"), -1);
    for (int i = 1002; i <= 1999; ++i) ASSERT_EQ(RawFileType::AddCustomType("Q", "q"), i);
    EXPECT_EQ(RawFileType::AddCustomType("FULL", "no room"), -1);
    RawFileType::ClearCustomTypes();
    EXPECT_FALSE(RawFileType::IsRegistered(1000));
}

TEST(RawFileStoreTest, IndexKeepsOneCandidatePerStartSector) {
    CRawFileStore store;
    for (int64_t s : {10, 5, 20, 5, 15}) store.AddRawFile(CRawFileInfo{s, 0, 33});
    EXPECT_EQ(store.GetCount(), 5u);
    std::vector<int64_t> indexed;
    for (const CRawFileInfo* c : store.GetIndex()) indexed.push_back(c->startSector);
    EXPECT_EQ(indexed, (std::vector<int64_t>{5, 10, 15, 20}));
    EXPECT_EQ(store.FindByStartSector(5), store.At(1));  // the first one found
    EXPECT_EQ(store.FindByStartSector(6), nullptr);

    std::vector<int64_t> listed;
    ListIterator it = store.GetIterator();
    for (it.First(); !it.IsDone(); it.Next()) listed.push_back(it.CurrentItem()->startSector);
    EXPECT_EQ(listed, (std::vector<int64_t>{10, 5, 20, 5, 15}));
}

// Both analysers match "KLDA..."; whichever comes first in the list makes the one candidate,
// whether the table knows its leading bytes or it is asked about every sector.
TEST_F(ScanTest, FirstAnalyserInListOrderWins) {
    struct Case {
        bool anyFirst;
        int32_t expectedType;
    };
    for (const Case& c : {Case{false, 33}, Case{true, 47}}) {
        SCOPED_TRACE(c.anyFirst);
        UseAnalysers([&](RawAnalysers& list) {
            auto header = std::make_unique<HeaderSizeAnalyser>(33, 33);
            auto any = std::make_unique<AnySectorAnalyser>(47, 47, 'L');
            if (c.anyFirst) list.push_back(std::move(any));
            list.push_back(std::move(header));
            if (!c.anyFirst) list.push_back(std::make_unique<AnySectorAnalyser>(47, 47, 'L'));
        });
        MemoryDevice device(3000);
        const int64_t size = 777;
        device.Put(1200 * 512, "KLDA");
        device.Put(1200 * 512 + 4, &size, 8);
        CRawFileStore store;
        CRAWSearchController scanner;
        SearchCounters counters;
        ScanRaw(scanner, device, store, &counters);
        ASSERT_EQ(store.GetCount(), 1u);
        EXPECT_EQ(store.At(0)->startSector, 1200);
        EXPECT_EQ(store.At(0)->type, c.expectedType);
        EXPECT_EQ(store.At(0)->analyserId, c.expectedType);
        EXPECT_EQ(counters.value[kCounterFilesIdentified], 1);
        EXPECT_EQ(counters.value[kCounterTotalFilesFound], 1);
    }
}

// Zero-headed sectors are asked nothing; an analyser with leading bytes only about its sectors; one
// without about all the others; an analyser that throws counts as no match.
TEST_F(ScanTest, AsksOnlyTheAnalysersTheSectorCanMatch) {
    AnySectorAnalyser* any = nullptr;
    UseAnalysers([&](RawAnalysers& list) {
        list.push_back(std::make_unique<ThrowingAnalyser>());
        list.push_back(std::make_unique<HeaderSizeAnalyser>(33, 33));
        auto a = std::make_unique<AnySectorAnalyser>(47, 47, 'Z');
        any = a.get();
        list.push_back(std::move(a));
    });
    MemoryDevice device(2000);
    for (int64_t s = 0; s < 10; ++s) device.Put(s * 512, "abcd");  // ten non-zero sectors
    device.Put(500 * 512, "KZxx");                                 // the any-sector one
    CRawFileStore store;
    CRAWSearchController scanner;
    ScanRaw(scanner, device, store);
    EXPECT_EQ(any->asked, 11);
    ASSERT_EQ(store.GetCount(), 1u);
    EXPECT_EQ(store.At(0)->startSector, 500);
    EXPECT_EQ(store.At(0)->size, 1000);
}

// An analyser whose mark stands further in is asked only about sectors with its bytes there, and
// list order still decides between it and one keyed by the first bytes.
TEST_F(ScanTest, LeadingBytesAtAnOffsetKeepListOrder) {
    struct Case {
        bool markFirst;
        int32_t expectedType;  // of the sector both match
    };
    for (const Case& c : {Case{true, 48}, Case{false, 33}}) {
        SCOPED_TRACE(c.markFirst);
        OffsetMarkAnalyser* mark = nullptr;
        UseAnalysers([&](RawAnalysers& list) {
            auto m = std::make_unique<OffsetMarkAnalyser>(48, 48);
            mark = m.get();
            if (c.markFirst) list.push_back(std::move(m));
            list.push_back(std::make_unique<HeaderSizeAnalyser>(33, 33));
            if (!c.markFirst) list.push_back(std::move(m));
        });
        MemoryDevice device(3000);
        const int64_t size = 777;
        device.Put(100 * 512, "KLDA");  // both
        device.Put(100 * 512 + 4, &size, 8);
        device.Put(100 * 512 + 16, "MK");
        device.Put(900 * 512, "xxxx");  // the mark alone
        device.Put(900 * 512 + 16, "MK");
        device.Put(1500 * 512, "MKMK");  // the mark's bytes, but not where it stands
        CRawFileStore store;
        CRAWSearchController scanner;
        ScanRaw(scanner, device, store);
        ASSERT_EQ(store.GetCount(), 2u);
        EXPECT_EQ(store.At(0)->startSector, 100);
        EXPECT_EQ(store.At(0)->type, c.expectedType);
        EXPECT_EQ(store.At(1)->startSector, 900);
        EXPECT_EQ(store.At(1)->type, 48);
        EXPECT_EQ(mark->asked, c.markFirst ? 2 : 1);  // last in the list, sector 100 is taken first
    }
}

TEST_F(ScanTest, NoAnalyserForTheChosenTypesReadsNothing) {
    SetRawAnalyserFactory({[](int type, RawAnalysers& list) {
                               if (type == 33) list.push_back(std::make_unique<HeaderSizeAnalyser>(33, 33));
                           },
                           {}});
    GetScanSettings().raw.chosenTypes = {20, 26};
    MemoryDevice device(3000);
    device.Put(0, "KLDA");
    CRawFileStore store;
    CRAWSearchController scanner;
    ScanRaw(scanner, device, store);
    EXPECT_EQ(store.GetCount(), 0u);
    EXPECT_EQ(device.reads, 0);
}

// A size is decided from the ring once the candidate's chunk is the oldest of 20; the candidates
// of the last 20 chunks are still pending at the end and keep size 0.
TEST_F(ScanTest, SizesFromTheRingExceptInTheLastTwentyChunks) {
    TrailerAnalyser* trailer = nullptr;
    UseAnalysers([&](RawAnalysers& list) {
        auto t = std::make_unique<TrailerAnalyser>(47, 47);
        trailer = t.get();
        list.push_back(std::move(t));
    });
    MemoryDevice device(30000);
    for (int64_t s : {100, 9999, 10001}) {
        device.Put(s * 512, "KLDB");
        device.Put(s * 512 + 5000, "KEND");
    }
    CRawFileStore store;
    CRAWSearchController scanner;
    ScanRaw(scanner, device, store);
    ASSERT_EQ(store.GetCount(), 3u);
    EXPECT_EQ(store.At(0)->size, 5004);
    EXPECT_EQ(store.At(1)->size, 5004);  // in chunk 9, decided before chunk 29 came
    EXPECT_EQ(store.At(2)->size, 0);     // chunk 10: among the last 20
    EXPECT_EQ(trailer->sizeCalls, 2);
    EXPECT_EQ(scanner.GetPendingCount(), 0u);
}

TEST(RawByteReaderTest, WindowsAndTheEndOfTheDevice) {
    MemoryDevice device(3000);
    for (size_t i = 0; i < device.bytes.size(); ++i) device.bytes[i] = static_cast<uint8_t>(i * 7 + i / 4096);
    CRawByteReader reader(&device, 10);
    const int64_t base = 10 * 512;
    for (int64_t offset : {int64_t{0}, kRawWindowBytes - 1, kRawWindowBytes, 2 * kRawWindowBytes + 3}) {
        const uint8_t* b = reader.GetByte(offset);
        ASSERT_NE(b, nullptr) << offset;
        EXPECT_EQ(*b, device.bytes[base + offset]) << offset;
    }
    // A value across the window's end is read whole.
    uint8_t across[8];
    ASSERT_TRUE(reader.ReadBytes(kRawWindowBytes - 4, across, 8));
    EXPECT_EQ(0, std::memcmp(across, device.bytes.data() + base + kRawWindowBytes - 4, 8));
    // The last window is shorter than the 1025 sectors asked: what is left of the device.
    const int64_t last = (3000 - 10) * 512 - 1;
    ASSERT_NE(reader.GetByte(last), nullptr);
    EXPECT_EQ(*reader.GetByte(last), device.bytes.back());
    EXPECT_EQ(reader.GetByte(last + 1), nullptr);
    EXPECT_EQ(reader.GetByte(-1), nullptr);
    uint8_t past[4];
    EXPECT_FALSE(reader.ReadBytes(last - 1, past, 4));

    // Another reader on the same thread takes the window; the first reads its own again.
    CRawByteReader other(&device, 0);
    ASSERT_NE(other.GetByte(0), nullptr);
    EXPECT_EQ(*reader.GetByte(0), device.bytes[base]);

    CRawByteReader exact(&device, 3000 - 1024);  // exactly one window left
    ASSERT_NE(exact.GetByte(kRawWindowBytes - 1), nullptr);
    EXPECT_EQ(exact.GetByte(kRawWindowBytes), nullptr);
}

}  // namespace
}  // namespace keldrin::test
