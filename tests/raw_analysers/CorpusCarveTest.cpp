// Real samples placed between noise and zeros, found by the RAW scan with the built-in analysers.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "engine/raw/RAWSearchController.h"
#include "engine/raw/RawFileStore.h"
#include "tests/raw/RawTestSupport.h"
#include "tests/raw_analysers/AnalyserTestSupport.h"

namespace keldrin::test {
namespace {

constexpr int64_t kWhole = -1;  // the sample's own length

struct Row {
    const char* path;  // under the corpus
    int32_t type;
    int64_t size;  // kWhole, a stated length, or 0 when the walk cannot decide
};

// One row per type.
const Row kRows[] = {
    {"exiftool/Canon.jpg", 33, kWhole},                // Exif walk
    {"hachoir/formats/usa_railroad.jpg", 33, kWhole},  // JFIF walk
    {"exiftool/PNG.png", 47, kWhole},
    // Cut inside IDAT: the walk ends where the stated IDAT would end, as no chunk follows there.
    {"hachoir/formats/png_331x90x8_truncated.png", 47, 91 + 12 + 0x2000},
    {"exiftool/GIF.gif", 28, kWhole},
    {"hachoir/formats/kde_haypo_corner.bmp", 9, kWhole},
    {"magika/basic/pdf/magika_test.pdf", 46, kWhole},
    {"magika/mitra/zip/filecomment.zip", 68, kWhole},
    {"exiftool/RIFF.wav", 63, 208},  // 16 bytes follow the RIFF form
    {"mimetype/doc.doc", 21, kWhole},
    {"textract/xls/standardized_text.xls", 67, kWhole},
    {"exiftool/Pentax.avi", 8, 117324624 + 8},  // a cut file states its whole size
};

Bytes ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void Noise(Bytes& out, size_t sectors, uint32_t& seed) {
    for (size_t i = 0; i < sectors * 512; ++i) {
        seed = seed * 1103515245u + 12345u;
        out.push_back(static_cast<uint8_t>(seed >> 16));
    }
}

using CorpusCarveTest = AnalyserTest;

TEST_F(CorpusCarveTest, SamplesAreFoundAtTheirSectorsAndCarvedWhole) {
    const std::filesystem::path corpus = KELDRIN_CORPUS_DIR;
    if (!std::filesystem::exists(corpus / "SOURCES.md")) GTEST_SKIP() << "no corpus at " << corpus;

    Bytes image;
    uint32_t seed = 7;
    std::vector<Bytes> samples;
    std::vector<int64_t> sectors;
    for (const Row& row : kRows) {
        samples.push_back(ReadFile(corpus / row.path));
        ASSERT_FALSE(samples.back().empty()) << row.path;
        Noise(image, 3, seed);
        sectors.push_back(static_cast<int64_t>(image.size() / 512));
        Append(image, samples.back());
        image.resize((image.size() + 511) / 512 * 512 + 2 * 512, 0);
    }
    Noise(image, 3, seed);
    MemoryDevice device(static_cast<int64_t>(image.size() / 512));
    device.Put(0, image.data(), image.size());

    GetScanSettings().raw.chosenTypes = {33, 47, 28, 9, 46, 68, 63, 8, 21};
    CRawFileStore store;
    CRAWSearchController scanner;
    ScanRaw(scanner, device, store);
    EXPECT_EQ(store.GetCount(), std::size(kRows));

    for (size_t i = 0; i < std::size(kRows); ++i) {
        const Row& row = kRows[i];
        SCOPED_TRACE(row.path);
        CRawFileInfo* found = store.FindByStartSector(sectors[i]);
        ASSERT_NE(found, nullptr);
        CRawFileInfo decided = *found;
        if (decided.size == 0) decided.analyser->FindFileSize(decided, &device);
        EXPECT_EQ(decided.type, row.type);  // some walks name the kind
        const Bytes& sample = samples[i];
        const int64_t expected = row.size == kWhole ? static_cast<int64_t>(sample.size()) : row.size;
        EXPECT_EQ(decided.size, expected);
        if (decided.size > 0 && decided.size <= static_cast<int64_t>(sample.size())) {
            const auto begin = image.begin() + sectors[i] * 512;
            EXPECT_TRUE(std::equal(begin, begin + decided.size, sample.begin()));
        }
    }
}

}  // namespace
}  // namespace keldrin::test
