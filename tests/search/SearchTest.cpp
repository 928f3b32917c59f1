#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <numeric>
#include <stdexcept>
#include <thread>
#include <vector>

#include "engine/devices/ImageFileDevice.h"
#include "engine/search/CandidateRanking.h"
#include "engine/search/IntelligentSearchController.h"
#include "engine/search/ScanBlockCache.h"
#include "engine/search/SectorScan.h"
#include "tests/support/WithoutFileDevice.h"

namespace keldrin {
namespace {

// Each sector holds its own number in its first eight bytes.
class NumberedDevice final : public IStorageDevice {
  public:
    explicit NumberedDevice(int64_t sectors, int64_t failingBlock = -1)
        : sectors_(sectors), failing_(failingBlock) {}
    bool ReadSectors(void* buffer, int64_t first, int64_t count) override {
        ++reads;
        if (first < 0 || count < 0 || first + count > sectors_) return false;
        if (failing_ >= 0 && first < (failing_ + 1) * 1000 && first + count > failing_ * 1000) return false;
        auto* out = static_cast<uint8_t*>(buffer);
        std::memset(out, 0, static_cast<size_t>(count) * kSectorSize);
        for (int64_t i = 0; i < count; ++i) {
            const int64_t n = first + i;
            std::memcpy(out + i * kSectorSize, &n, sizeof n);
        }
        return true;
    }
    int64_t GetTotalSectors() override { return sectors_; }
    bool Open() override { return true; }
    bool Close() override { return true; }
    std::atomic<int64_t> reads{0};

  private:
    int64_t sectors_;
    int64_t failing_;
};

// Records the calls it gets and checks that each block it is fed can be read from the device.
class RecordingAnalyser : public IFileSystemSearchController {
  public:
    void SetDevice(IStorageDevice* d) override {
        device = d;
        calls.push_back("device");
    }
    void SetBlockSize(int64_t s) override {
        blockSize = s;
        calls.push_back("blocksize");
    }
    bool BeginSearch() override {
        calls.push_back("begin");
        return true;
    }
    bool EndSearch() override {
        calls.push_back("end");
        return true;
    }
    bool AnalyzeSectors(int64_t first, int64_t count, SearchCounters& counters) override {
        blocks.emplace_back(first, count);
        std::vector<uint8_t> data(static_cast<size_t>(count) * kSectorSize);
        int64_t last = -1;
        if (device->ReadSectors(data.data(), first, count))
            std::memcpy(&last, data.data() + (count - 1) * kSectorSize, sizeof last);
        lastSectorSeen.push_back(last);
        counters.value[9] += 5;
        ++counters.value[kCounterTotalFilesFound];
        return true;
    }
    void GetResults(CandidateList& results) override {
        for (auto& c : candidates) results.push_back(std::move(c));
        candidates.clear();
    }
    void SetRawFileStore(CRawFileStore* s) override { store = s; }
    int GetAnalyserKind() const override { return kAnalyserNtfs; }

    IStorageDevice* device = nullptr;
    CRawFileStore* store = nullptr;
    int64_t blockSize = 0;
    std::vector<std::string> calls;
    std::vector<std::pair<int64_t, int64_t>> blocks;
    std::vector<int64_t> lastSectorSeen;
    CandidateList candidates;
};

class CancelAt final : public IIntelligentSearchCallback {
  public:
    explicit CancelAt(int64_t block) : block_(block) {}
    void SetPosition(int64_t b) override { position = b; }
    void SetRange(int64_t f, int64_t l) override {
        first = f;
        last = l;
    }
    int IsCancelled() override { return position + 1 >= block_ ? 1 : 0; }
    void BlockDone() override { ++done; }
    void GetCounters(SearchCounters& out) override { out = counters; }
    void SetCounters(const SearchCounters& c) override { counters = c; }
    int64_t position = -1, first = -1, last = -1, done = 0;
    SearchCounters counters;

  private:
    int64_t block_;
};

std::unique_ptr<CSearchedPartitionInfo> Candidate(int type, int64_t start, uint32_t sectors, int64_t base,
                                                  int64_t files = 0, int64_t folders = 0) {
    auto c = std::make_unique<CSearchedPartitionInfo>();
    c->fileSystemType = type;
    c->partitionStartSector = start;
    c->partitionSectorsCount = sectors;
    c->baseScore = base;
    c->filesMatch = files;
    c->foldersMatch = folders;
    return c;
}

TEST(SectorScanDriver, FeedsBlocksOf1000AndTheRestInListOrder) {
    NumberedDevice device(2500);
    RecordingAnalyser a, b;
    CIntelligentSearchController driver;
    driver.SetSourceDevice(&device);
    driver.AddController(&a);
    driver.AddController(&b);
    CancelAt never(1 << 30);
    ASSERT_TRUE(driver.Run(&never));
    using Blocks = std::vector<std::pair<int64_t, int64_t>>;
    EXPECT_EQ(a.blocks, (Blocks{{0, 1000}, {1000, 1000}, {2000, 500}}));
    EXPECT_EQ(b.blocks, a.blocks);
    EXPECT_EQ(a.lastSectorSeen, (std::vector<int64_t>{999, 1999, 2499}));
    EXPECT_EQ(a.calls, (std::vector<std::string>{"device", "blocksize", "begin", "end"}));
    EXPECT_EQ(a.blockSize, 1000);
    EXPECT_EQ(never.first, 0);
    EXPECT_EQ(never.last, 3);
    EXPECT_EQ(never.done, 3);
    EXPECT_EQ(never.counters.value[kCounterTotalFilesFound], 6);
    EXPECT_EQ(never.counters.value[9], 10);  // zeroed before each block
    EXPECT_TRUE(driver.IsDone());
    EXPECT_EQ(device.reads, 3);  // each block once, nothing else
}

TEST(SectorScanDriver, CancelDuringBlockFiveStillEndsAndRanks) {
    NumberedDevice device(20000);
    RecordingAnalyser a, b;
    a.candidates.push_back(Candidate(kFsNtfs, 0, 100, 1, 9));
    b.candidates.push_back(Candidate(kFsFat32, 200, 100, 1, 99));
    CancelAt cancel(5);
    CandidateList results;
    ASSERT_TRUE(RunSectorScan(&device, {&a, &b}, results, &cancel));
    EXPECT_EQ(a.blocks.size(), 5u);
    EXPECT_EQ(a.calls.back(), "end");
    EXPECT_EQ(b.calls.back(), "end");
    ASSERT_EQ(results.size(), 2u);
    EXPECT_EQ(results[0]->fileSystemType, kFsFat32);
    EXPECT_DOUBLE_EQ(results[0]->rank, 1.0);
    EXPECT_EQ(results[0]->selected, 1);
    EXPECT_EQ(results[1]->selected, 1);
}

class ThrowingAnalyser final : public RecordingAnalyser {
  public:
    bool AnalyzeSectors(int64_t first, int64_t count, SearchCounters& counters) override {
        RecordingAnalyser::AnalyzeSectors(first, count, counters);
        if (first == 1000) throw std::runtime_error("damaged structure");
        return true;
    }
};

TEST(SectorScanDriver, AnAnalyserThatThrowsLosesTheRestOfThatBlockOnly) {
    NumberedDevice device(3000, /*failingBlock=*/2);
    ThrowingAnalyser first;
    RecordingAnalyser second;
    CIntelligentSearchController driver;
    driver.SetSourceDevice(&device);
    driver.AddController(&first);
    driver.AddController(&second);
    ASSERT_TRUE(driver.Run(nullptr));
    EXPECT_EQ(first.blocks.size(), 3u);
    using Blocks = std::vector<std::pair<int64_t, int64_t>>;
    EXPECT_EQ(second.blocks, (Blocks{{0, 1000}, {2000, 1000}}));
    // An unreadable block is still fed; the analyser's own read fails.
    EXPECT_EQ(second.lastSectorSeen.back(), -1);
    EXPECT_EQ(second.calls.back(), "end");
}

TEST(SectorScanDriver, NoDeviceNoScan) {
    CIntelligentSearchController driver;
    RecordingAnalyser a;
    driver.AddController(&a);
    EXPECT_FALSE(driver.Run(nullptr));
    EXPECT_TRUE(a.calls.empty());
    CandidateList results;
    EXPECT_FALSE(RunSectorScan(nullptr, {&a}, results, nullptr));
}

TEST(ScanBlockCacheTest, LoadedBlockFromMemoryOtherSectorsFromTheSource) {
    NumberedDevice device(2500);
    CScanBlockCache cache(&device, 1000);
    EXPECT_EQ(cache.GetBlockCount(), 3);
    std::vector<uint8_t> buffer(1200 * kSectorSize);
    auto sectorAt = [&](int64_t i) {
        int64_t n;
        std::memcpy(&n, buffer.data() + i * kSectorSize, sizeof n);
        return n;
    };
    ASSERT_TRUE(cache.LoadBlock(0));
    ASSERT_NE(cache.GetBlockData(0, 1000), nullptr);
    EXPECT_EQ(cache.GetBlockData(999, 2), nullptr);
    ASSERT_TRUE(cache.ReadSectors(buffer.data(), 17, 3));
    EXPECT_EQ(sectorAt(2), 19);
    ASSERT_TRUE(cache.LoadBlock(1));
    ASSERT_TRUE(cache.LoadBlock(2));
    ASSERT_TRUE(cache.ReadSectors(buffer.data(), 1900, 600));  // 100 from the source, 500 from memory
    EXPECT_EQ(sectorAt(0), 1900);
    EXPECT_EQ(sectorAt(599), 2499);
    EXPECT_FALSE(cache.ReadSectors(buffer.data(), 2400, 200));  // past the end
    // Out of order is allowed, just not fetched ahead.
    ASSERT_TRUE(cache.LoadBlock(0));
    ASSERT_TRUE(cache.ReadSectors(buffer.data(), 0, 1));
    EXPECT_EQ(sectorAt(0), 0);

    // A block that cannot be read leaves nothing loaded, and reads go to the source.
    NumberedDevice damaged(2500, /*failingBlock=*/1);
    CScanBlockCache other(&damaged, 1000);
    ASSERT_TRUE(other.LoadBlock(0));
    EXPECT_FALSE(other.LoadBlock(1));
    EXPECT_EQ(other.GetLoadedBlock(), -1);
    EXPECT_EQ(other.GetBlockData(1000, 1), nullptr);
    ASSERT_TRUE(other.ReadSectors(buffer.data(), 5, 1));
    EXPECT_EQ(sectorAt(0), 5);
    ASSERT_TRUE(other.LoadBlock(2));
}

TEST(ScanBlockCacheTest, LongSequentialRunReadsEachBlockOnceThroughTheRing) {
    // Far more blocks than the read-ahead ring holds, and a short last block.
    NumberedDevice device(20500);
    CScanBlockCache cache(&device, 1000);
    ASSERT_EQ(cache.GetBlockCount(), 21);
    for (int64_t b = 0; b < cache.GetBlockCount(); ++b) {
        ASSERT_TRUE(cache.LoadBlock(b)) << b;
        const int64_t count = b == 20 ? 500 : 1000;
        const uint8_t* data = cache.GetBlockData(b * 1000, count);
        ASSERT_NE(data, nullptr) << b;
        int64_t first, last;
        std::memcpy(&first, data, sizeof first);
        std::memcpy(&last, data + (count - 1) * kSectorSize, sizeof last);
        EXPECT_EQ(first, b * 1000);
        EXPECT_EQ(last, b * 1000 + count - 1);
    }
    EXPECT_EQ(device.reads, 21);
}

// The numbered sectors of NumberedDevice in an image file, removed at the end.
struct NumberedImage {
    explicit NumberedImage(int64_t sectors)
        : path((std::filesystem::temp_directory_path() / ("scan-cache-" + std::to_string(getpid())))
                   .string()) {
        NumberedDevice numbers(sectors);
        std::vector<uint8_t> bytes(static_cast<size_t>(sectors) * kSectorSize);
        numbers.ReadSectors(bytes.data(), 0, sectors);
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    ~NumberedImage() { std::filesystem::remove(path); }
    std::string path;
};

using WithoutFile = keldrin::testing::WithoutFileDevice;

// Notes the sectors whose number ends in the digit given, and counts its blocks.
class DigitPrepass final : public IBlockPrepass {
  public:
    explicit DigitPrepass(int64_t digit) : digit_(digit) {}
    void PrepareBlock(const uint8_t* data, int64_t sectorCount, std::vector<uint32_t>& notes) const override {
        for (int64_t i = 0; i < sectorCount; ++i) {
            int64_t n;
            std::memcpy(&n, data + i * kSectorSize, sizeof n);
            if (n % 10 == digit_) notes.push_back(static_cast<uint32_t>(i));
        }
        ++blocks;
    }
    std::vector<uint32_t> Expected(int64_t first, int64_t count) const {
        std::vector<uint32_t> notes;
        for (int64_t i = 0; i < count; ++i)
            if ((first + i) % 10 == digit_) notes.push_back(static_cast<uint32_t>(i));
        return notes;
    }
    mutable std::atomic<int> blocks{0};

  private:
    int64_t digit_;
};

// Waits (boundedly) until the reader thread has run the prepass on some block.
void AwaitPrepass(const DigitPrepass& prepass, int atLeast) {
    for (int i = 0; i < 10000 && prepass.blocks < atLeast; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

TEST(ScanBlockCacheTest, MappedImageGivesWhatBlockReadsGive) {
    // More blocks than the read-ahead ring, a short last block, a jump back and a prepass
    // replaced halfway: the mapped cache and the reading one agree on every byte and note.
    NumberedImage image(20500);
    CImageFileDevice file(image.path);
    ASSERT_TRUE(file.IsOpen());
    WithoutFile plain(file);
    CScanBlockCache mapped(&file, 1000);
    CScanBlockCache read(&plain, 1000);
    const int64_t order[] = {0, 1, 2,  3,  4,  5,  6,  7,  8,  9,  10, 3,
                             4, 5, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20};
    for (CScanBlockCache* cache : {&mapped, &read}) {
        SCOPED_TRACE(cache == &mapped ? "mapped" : "read");
        DigitPrepass threes(3), sevens(7);
        cache->SetBlockPrepass(&threes);
        const DigitPrepass* prepass = &threes;
        const uint8_t* lastingFirst = nullptr;
        int noted = 0;
        for (int64_t b : order) {
            if (b == 11) {
                cache->SetBlockPrepass(&sevens);
                prepass = &sevens;
            }
            const int64_t count = b == 20 ? 500 : 1000;
            ASSERT_TRUE(cache->LoadBlock(b)) << b;
            const uint8_t* data = cache->GetBlockData(b * 1000, count);
            ASSERT_NE(data, nullptr) << b;
            std::vector<uint8_t> expected(static_cast<size_t>(count) * kSectorSize);
            ASSERT_TRUE(plain.ReadSectors(expected.data(), b * 1000, count));
            ASSERT_EQ(std::memcmp(data, expected.data(), expected.size()), 0) << b;
            // Only a mapping outlives the load.
            const uint8_t* lasting = cache->GetLastingBlockData(b * 1000, count);
            EXPECT_EQ(lasting, cache == &mapped ? data : nullptr) << b;
            if (b == 0) lastingFirst = lasting;
            if (const std::vector<uint32_t>* notes = cache->GetBlockNotes(b * 1000)) {
                EXPECT_EQ(*notes, prepass->Expected(b * 1000, count)) << b;
                ++noted;
            }
            EXPECT_EQ(cache->GetBlockNotes(b * 1000 + 1), nullptr);
            // The reader runs the prepass two blocks ahead of the loaded one at the soonest.
            if (b == 0 || b == 11) AwaitPrepass(*prepass, 1);
        }
        EXPECT_GE(noted, 2);
        if (lastingFirst) {
            int64_t n;
            std::memcpy(&n, lastingFirst + 999 * kSectorSize, sizeof n);
            EXPECT_EQ(n, 999);
        }
        cache->SetBlockPrepass(nullptr);
        ASSERT_TRUE(cache->LoadBlock(2));
        EXPECT_EQ(cache->GetBlockNotes(2000), nullptr);
    }
}

TEST(CandidateRankingTest, RanksOrdersAndSelects) {
    struct Case {
        const char* what;
        std::vector<std::tuple<int64_t, uint32_t, int64_t, int64_t>>
            candidates;  // start, sectors, base, files
        int64_t totalSectors;
        std::vector<double> ranks;    // in result order
        std::vector<int> selected;    // in result order
        std::vector<int64_t> starts;  // in result order
    };
    const Case cases[] = {
        {"equal low scores", {{0, 100, 1, 0}, {200, 100, 1, 0}}, 1000, {1.0, 1.0}, {1, 1}, {0, 200}},
        {"overlap loses",
         {{0, 500, 1, 0}, {100, 100, 1, 999}},
         1000,
         {1.0, 1.0 / std::log(1000.0)},
         {1, 0},
         {100, 0}},
        {"past the end",
         {{900, 200, 1, 99}, {0, 100, 1, 9}},
         1000,
         {1.0, std::log(10.0) / std::log(100.0)},
         {0, 1},
         {900, 0}},
        {"score 0", {{0, 100, 0, 0}}, 1000, {0.0}, {0}, {0}},
        {"stable on equal ranks", {{0, 600, 1, 9}, {400, 600, 1, 9}}, 1000, {1.0, 1.0}, {1, 0}, {0, 400}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CandidateList list;
        for (auto [start, sectors, base, files] : c.candidates)
            list.push_back(Candidate(kFsNtfs, start, sectors, base, files));
        RankCandidates(list);
        OrderCandidates(list);
        SelectCandidates(list, c.totalSectors);
        ASSERT_EQ(list.size(), c.ranks.size());
        for (size_t i = 0; i < list.size(); ++i) {
            EXPECT_NEAR(list[i]->rank, c.ranks[i], 1e-12) << i;
            EXPECT_EQ(list[i]->selected, c.selected[i]) << i;
            EXPECT_EQ(list[i]->partitionStartSector, c.starts[i]) << i;
        }
    }
}

TEST(CandidateRankingTest, FoldersWeighFifty) {
    CandidateList list;
    list.push_back(Candidate(kFsFat16, 0, 10, 1, 0, 2));  // 101
    list.push_back(Candidate(kFsFat16, 10, 10, 1, 100));  // 101
    RankCandidates(list);
    EXPECT_DOUBLE_EQ(list[0]->rank, 1.0);
    EXPECT_DOUBLE_EQ(list[1]->rank, 1.0);
}

class BuildsNtfs final : public RecordingAnalyser {
  public:
    bool HandlesType(int type) const override { return type == kFsNtfs; }
    CFileSystemNode* BuildTree(CSearchedPartitionInfo*, IStorageDevice*, int index,
                               IDIRBuildCallback*) override {
        builtIndex = index;
        return nullptr;
    }
    int builtIndex = -1;
};

TEST(SectorScanDriver, TreesComeFromTheFirstAnalyserOfTheType) {
    RecordingAnalyser none;
    BuildsNtfs first, second;
    auto ntfs = Candidate(kFsNtfs, 0, 1, 1);
    auto fat = Candidate(kFsFat12, 0, 1, 1);
    BuildTreeForCandidate({&none, &first, &second}, ntfs.get(), nullptr, 4, nullptr);
    EXPECT_EQ(first.builtIndex, 4);
    EXPECT_EQ(second.builtIndex, -1);
    EXPECT_EQ(BuildTreeForCandidate({&none, &first}, fat.get(), nullptr, 1, nullptr), nullptr);
    EXPECT_EQ(BuildTreeForCandidate({&first}, nullptr, nullptr, 1, nullptr), nullptr);

    ShareRawFileStore({&none, &first}, reinterpret_cast<CRawFileStore*>(&none));
    EXPECT_EQ(first.store, reinterpret_cast<CRawFileStore*>(&none));
}

}  // namespace
}  // namespace keldrin
