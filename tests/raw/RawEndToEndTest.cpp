// Carves two files out of an image through the whole road: the sector scan, the RAW tree and the
// recovery writer, and compares the copies byte for byte.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <random>

#include "engine/devices/ImageFileDevice.h"
#include "engine/model/FileTree.h"
#include "engine/output/RecoverJobs.h"
#include "engine/raw/RawTreeBuilder.h"
#include "engine/search/SectorScan.h"
#include "tests/raw/RawTestSupport.h"
#include "tests/support/WithoutFileDevice.h"

namespace keldrin::test {
namespace {

using EndToEnd = RawTest;

class QuietRecover final : public IFileRecoverCallback {
  public:
    int Begin(uint32_t, uint64_t) override { return kGoOn; }
    int AddFiles(uint32_t) override { return kGoOn; }
    int AddBytes(uint64_t) override { return kGoOn; }
    int SubtractBytes(uint32_t) override { return kGoOn; }
    int SetCurrentFile(const char*) override { return kGoOn; }
    int IsCancelled() override { return kGoOn; }
};

std::vector<uint8_t> ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::filesystem::path FindFile(const std::filesystem::path& folder, const std::string& name) {
    for (const auto& e : std::filesystem::recursive_directory_iterator(folder))
        if (e.path().filename() == name) return e.path();
    return {};
}

TEST_F(EndToEnd, CarvesTwoEmbeddedFilesByteExact) {
    UseAnalysers([](RawAnalysers& list) {
        list.push_back(std::make_unique<HeaderSizeAnalyser>(33, 33));
        list.push_back(std::make_unique<TrailerAnalyser>(47, 47));
    });
    // Noise whose sectors never begin with "KL", then two files in it; the second ends in the
    // last 20 blocks, so its size is decided at tree time.
    MemoryDevice device(25000);
    std::mt19937 random(7);
    for (auto& b : device.bytes) b = static_cast<uint8_t>(random());
    for (int64_t s = 0; s < 25000; ++s)
        if (device.bytes[s * 512] == 'K') device.bytes[s * 512] = 'k';

    std::vector<uint8_t> first(70001);
    for (auto& b : first) b = static_cast<uint8_t>(random());
    const int64_t firstSize = static_cast<int64_t>(first.size());
    std::memcpy(first.data(), "KLDA", 4);
    std::memcpy(first.data() + 4, &firstSize, 8);

    std::vector<uint8_t> second(30004);
    for (auto& b : second) b = static_cast<uint8_t>(random() % 200);  // no "KEND" before its end
    std::memcpy(second.data(), "KLDB", 4);
    std::memcpy(second.data() + 30000, "KEND", 4);
    for (auto* file : {&first, &second})
        for (size_t at = 512; at < file->size(); at += 512)
            if ((*file)[at] == 'K') (*file)[at] = 'k';
    device.Put(1000 * 512, first.data(), first.size());
    device.Put(21001 * 512, second.data(), second.size());

    CRawFileStore store;
    CRAWSearchController scanner;
    const AnalyserList analysers{&scanner};
    ShareRawFileStore(analysers, &store);
    CandidateList results;
    ASSERT_TRUE(RunSectorScan(&device, analysers, results, nullptr));
    EXPECT_TRUE(results.empty());
    ASSERT_EQ(store.GetCount(), 2u);

    ListIterator it = store.GetIterator();
    TreeOwner<CFileSystemNode> root(CRawTreeBuilder::BuildRawTree(&device, it, nullptr, nullptr, false));
    ASSERT_TRUE(root);
    root->ToggleCheck(root.get(), false);

    const auto destination = std::filesystem::temp_directory_path() / ("raw-e2e-" + std::to_string(getpid()));
    std::filesystem::remove_all(destination);
    QuietRecover callback;
    output::RecoverTreeResult result;
    ASSERT_TRUE(output::RecoverTree(&callback, &device, root.get(), destination.string(), &result));
    EXPECT_EQ(result.outcome, 0);
    EXPECT_EQ(ReadFile(FindFile(destination, "FILE001.JPG")), first);
    EXPECT_EQ(ReadFile(FindFile(destination, "FILE001.PNG")), second);
    std::filesystem::remove_all(destination);
}

// bytes in a file of their own, removed at the end.
struct TempImage {
    explicit TempImage(const std::vector<uint8_t>& bytes)
        : path(
              (std::filesystem::temp_directory_path() / ("raw-image-" + std::to_string(getpid()))).string()) {
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    ~TempImage() { std::filesystem::remove(path); }
    std::string path;
};

using PlainReads = keldrin::testing::WithoutFileDevice;

struct Found {
    int64_t start;
    int64_t size;
    int type;
    bool operator==(const Found&) const = default;
    friend void PrintTo(const Found& f, std::ostream* os) {
        *os << "{" << f.start << ", " << f.size << ", " << f.type << "}";
    }
};

std::vector<Found> ScanAll(IStorageDevice& device) {
    CRawFileStore store;
    CRAWSearchController scanner;
    const AnalyserList analysers{&scanner};
    ShareRawFileStore(analysers, &store);
    CandidateList results;
    EXPECT_TRUE(RunSectorScan(&device, analysers, results, nullptr));
    std::vector<Found> found;
    for (ListIterator it = store.GetIterator(); !it.IsDone(); it.Next())
        found.push_back({it.CurrentItem()->startSector, it.CurrentItem()->size, it.CurrentItem()->type});
    return found;
}

TEST_F(EndToEnd, MappedImageFindsWhatPlainReadsFind) {
    UseAnalysers([](RawAnalysers& list) {
        list.push_back(std::make_unique<HeaderSizeAnalyser>(33, 33));
        list.push_back(std::make_unique<TrailerAnalyser>(47, 47));
    });
    // Noise, a short last block, and files where the scan's blocks and its look-back ring end:
    // candidates on a block's first and last sectors, a trailer split across blocks, a trailer
    // just inside and just past the ring, and one in the short last block.
    constexpr int64_t kSectors = 45321;
    MemoryDevice device(kSectors);
    std::mt19937 random(11);
    for (auto& b : device.bytes) b = static_cast<uint8_t>(random() % 64);  // never "KL" or "KEND"
    const int64_t ring = kRawRingChunks * 1000;
    struct Trailer {
        int64_t startSector;
        int64_t endByte;  // where "KEND" begins, from the file start
    };
    const Trailer trailers[] = {
        {0, 1000 * 512 - 2},      // "KEND" across the first block boundary
        {1999, 512 * 3},          // starts on a block's last sector
        {4000, ring * 512 - 4},   // ends on the last byte the ring holds at its decision
        {25000, ring * 512 - 2},  // across the ring's end: left to the tree build
        {45100, 100},             // in the short last block: left to the tree build
    };
    for (const Trailer& t : trailers) {
        device.Put(t.startSector * 512, "KLDB");
        device.Put(t.startSector * 512 + t.endByte, "KEND");
    }
    for (int64_t s : {3000, 30000, 44999}) {
        const int64_t size = 4096;
        device.Put(s * 512, "KLDA");
        device.Put(s * 512 + 4, &size, sizeof size);
    }
    TempImage image(device.bytes);
    CImageFileDevice mapped(image.path);
    ASSERT_TRUE(mapped.IsOpen());
    PlainReads plain(mapped);

    const std::vector<Found> fromMapping = ScanAll(mapped);
    EXPECT_EQ(fromMapping, ScanAll(plain));
    EXPECT_EQ(fromMapping, ScanAll(device));
    const std::vector<Found> expected = {
        {0, 512002, 47}, {1999, 1540, 47},  {3000, 4096, 33},  {4000, ring * 512, 47},
        {25000, 0, 47},  {30000, 4096, 33}, {44999, 4096, 33}, {45100, 0, 47},
    };
    EXPECT_EQ(fromMapping, expected);
}

}  // namespace
}  // namespace keldrin::test
