// Carves two files out of an image through the whole road: the sector scan, the RAW tree and the
// recovery writer, and compares the copies byte for byte.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "engine/model/FileTree.h"
#include "engine/output/RecoverJobs.h"
#include "engine/raw/RawTreeBuilder.h"
#include "engine/search/SectorScan.h"
#include "tests/raw/RawTestSupport.h"

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

}  // namespace
}  // namespace keldrin::test
