// Real samples placed between noise and zeros, found by the RAW scan with the built-in analysers.
#include <gtest/gtest.h>

#include <algorithm>
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
    int64_t size;   // kWhole, a stated length, or 0 when the walk cannot decide
    int inner = 0;  // candidates that begin inside the sample, as members of an archive do
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
    {"mimetype/3gp.3gp", 2, kWhole},
    {"mimetype/asf.asf", 6, 877327},  // an index object other than the simple index follows
    {"mimetype/au.au", 7, kWhole},
    {"hachoir/formats/georgia.cab", 10, kWhole},
    {"hachoir/formats/grasslogo_vector.emf", 24, kWhole},
    {"mimetype/gz.gz", 29, 50000000},
    {"dftt/4-kwsrch-ext3/index.html", 31, 2809},  // the line break after the closing tag is left
    {"exiftool/ICO.ico", 32, kWhole},
    {"magika/mitra_candidates/lha.lzh", 34, kWhole},
    {"hachoir/formats/indiana.mid", 36, kWhole},
    {"mimetype/mdb.mdb", 37, 270336 + 4096},  // the zeros after it pass for one more page
    {"exiftool/QuickTime.mov", 40, kWhole},
    {"mimetype/mp3.mp3", 41, kWhole},
    {"mimetype/mp4.mp4", 42, kWhole},
    {"magika/basic/psd/MagikaTest.psd", 50, kWhole},
    {"exiftool/PSP.psp", 51, kWhole},
    {"hachoir/formats/hachoir-core.rar", 54, kWhole},
    {"mimetype/rtf.rtf", 56, kWhole},
    {"hachoir/formats/claque-beignet.swf", 58, kWhole},
    // Up to the first zero block, not the record's padding; the later members' headers are tar
    // starts of their own.
    {"hachoir/formats/small_text.tar", 59, 3072, 2},
    {"mimetype/tiff.tiff", 60, kWhole},
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

    GetScanSettings().raw.chosenTypes.clear();
    for (const Row& row : kRows) GetScanSettings().raw.chosenTypes.push_back(row.type);
    CRawFileStore store;
    CRAWSearchController scanner;
    ScanRaw(scanner, device, store);
    size_t expected = 0;
    for (const Row& row : kRows) expected += 1 + row.inner;
    EXPECT_EQ(store.GetCount(), expected);
    for (size_t i = 0; i < store.GetCount(); ++i) {
        const int64_t at = store.At(i)->startSector;
        // A candidate that is no sample's start must lie inside a sample that has such members.
        const auto after = std::upper_bound(sectors.begin(), sectors.end(), at);
        if (after == sectors.begin() || *(after - 1) == at) continue;
        const size_t within = static_cast<size_t>(after - sectors.begin()) - 1;
        EXPECT_GT(kRows[within].inner, 0)
            << "a candidate of type " << store.At(i)->type << " at sector " << at;
        EXPECT_LT(at * 512, sectors[within] * 512 + static_cast<int64_t>(samples[within].size()));
    }

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
