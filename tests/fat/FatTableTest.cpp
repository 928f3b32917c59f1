#include <gtest/gtest.h>

#include <vector>

#include "engine/devices/Volume.h"
#include "engine/fat/FATTable.h"
#include "tests/fat/FatTestImage.h"

namespace keldrin::fat {
namespace {

using test::FatImage;
using test::MemoryDevice;

// A FAT16 copy of 12 sectors with the usual first two entries and the given entries.
CFAT16Table Fat16(const std::vector<std::pair<uint32_t, uint16_t>>& entries) {
    std::vector<uint8_t> bytes(12 * 512, 0);
    auto put = [&](uint32_t n, uint16_t v) {
        bytes[n * 2] = static_cast<uint8_t>(v);
        bytes[n * 2 + 1] = static_cast<uint8_t>(v >> 8);
    };
    put(0, 0xFFF8);
    put(1, 0xFFFF);
    for (auto [n, v] : entries) put(n, v);
    CFAT16Table table(nullptr, 0, 12);
    table.SetBytes(bytes);
    return table;
}

TEST(FatTable, Fat12Packing) {
    std::vector<uint8_t> bytes(512, 0);
    bytes[0] = 0xF0;
    bytes[1] = 0xFF;
    bytes[2] = 0xFF;
    bytes[3] = 0x03;  // clusters 2 and 3: 0x003 and 0x004
    bytes[4] = 0x40;
    bytes[5] = 0x00;
    bytes[6] = 0xFF;  // clusters 4 and 5: 0xFFF and 0xFF8
    bytes[7] = 0x8F;
    bytes[8] = 0xFF;
    CFAT12Table table(nullptr, 0, 1);
    table.SetBytes(bytes);
    EXPECT_TRUE(table.Validate());
    EXPECT_EQ(table.GetEntry(2), 0x003u);
    EXPECT_EQ(table.GetEntry(3), 0x004u);
    EXPECT_EQ(table.GetEntry(4), kEndOfChainAllOnes);
    EXPECT_EQ(table.GetEntry(5), kEndOfChain);
    // The last whole entry of the sector, and the first one whose word would leave it.
    EXPECT_EQ(table.GetEntry(340), 0u);
    EXPECT_EQ(table.GetEntry(341), 0u);
    EXPECT_EQ(table.GetEntry(0xFFFFFFFF), 0u);
}

TEST(FatTable, EndMarksReachCallersAsEachTypeGivesThem) {
    const CFAT16Table fat16 = Fat16({{2, 0xFFFF}, {3, 0xFFFA}, {4, 0xFFF7}, {5, 6}});
    EXPECT_EQ(fat16.GetEntry(2), 0xFFFFFFFFu);
    EXPECT_EQ(fat16.GetEntry(3), 0x0FFFFFF8u);
    EXPECT_EQ(fat16.GetEntry(4), 0xFFF7u);  // a bad cluster stays as it is
    EXPECT_EQ(fat16.GetEntry(5), 6u);
    EXPECT_EQ(fat16.GetEntry(12 * 256), 0u);  // past the loaded copy

    std::vector<uint8_t> bytes(256 * 512, 0);
    auto put = [&](uint32_t n, uint32_t v) {
        for (int i = 0; i < 4; ++i) bytes[n * 4 + i] = static_cast<uint8_t>(v >> (8 * i));
    };
    put(0, 0x0FFFFFF8);
    put(1, 0xFFFFFFFF);
    put(2, 0xFFFFFFFF);
    put(3, 0x0FFFFFFF);
    CFAT32Table fat32(nullptr, 0, 256);
    fat32.SetBytes(bytes);
    EXPECT_TRUE(fat32.Validate());
    EXPECT_EQ(fat32.GetEntry(2), 0xFFFFFFFFu);
    EXPECT_EQ(fat32.GetEntry(3), 0x0FFFFFFFu);
    EXPECT_EQ(fat32.GetEntry(256 * 128), 0u);
}

TEST(FatTable, Fat16ValidationCases) {
    struct Case {
        const char* what;
        std::vector<std::pair<uint32_t, uint16_t>> entries;
        bool valid;
    };
    const Case cases[] = {
        {"a chain 5 -> 6 -> 7 -> end", {{5, 6}, {6, 7}, {7, 0xFFFF}}, true},
        {"a chain numbered backwards", {{9, 8}, {8, 7}, {7, 0xFFFF}}, true},
        {"two chains and a bad cluster", {{5, 6}, {6, 0xFFFF}, {8, 0xFFF7}, {10, 11}, {11, 0xFFF8}}, true},
        {"an entry past the half of the table", {{5, 3000}, {3000, 0xFFFF}}, true},
        {"clusters 5 and 9 both lead to 7", {{5, 7}, {9, 7}, {7, 0xFFFF}}, false},
        {"the loop 5 -> 6 -> 5", {{5, 6}, {6, 5}}, false},
        {"a loop reached from a chain", {{4, 5}, {5, 6}, {6, 7}, {7, 5}}, false},
        {"an entry naming its own cluster", {{5, 5}}, false},
        {"an entry of 1", {{5, 1}}, false},
        {"an entry past the table", {{5, 12 * 256}}, false},
        {"a damaged first entry", {{0, 0xFFF0}}, false},
    };
    for (const Case& c : cases) EXPECT_EQ(Fat16(c.entries).Validate(), c.valid) << c.what;
}

TEST(FatTable, SecondCopyOnlyWhenTheFirstFails) {
    FatImage image = FatImage::Fat16();
    image.SetFat(5, 6);
    image.SetFat(6, 0xFFFF);
    image.SetFat(5, 9, 1);  // the copies differ, so each answer tells which was used
    image.SetFat(9, 0xFFFF, 1);
    MemoryDevice device(&image.bytes);

    auto both = CreateFATTable(&device, image.FatStart(), kFsFat16, image.sectorsPerFAT, true, true);
    EXPECT_EQ(both->GetEntry(5), 6u);
    EXPECT_FALSE(device.WasRead(image.FatStart(1)));

    image.SetFat(0, 0xFFF0, 0);  // first copy damaged
    auto fallback = CreateFATTable(&device, image.FatStart(), kFsFat16, image.sectorsPerFAT, true, true);
    EXPECT_EQ(fallback->GetEntry(5), 9u);
    EXPECT_TRUE(device.WasRead(image.FatStart(1)));

    auto onlyFirst = CreateFATTable(&device, image.FatStart(), kFsFat16, image.sectorsPerFAT, true, false);
    EXPECT_EQ(onlyFirst->GetEntry(5), 0u);
    auto none = CreateFATTable(&device, image.FatStart(), kFsFat16, image.sectorsPerFAT, false, false);
    EXPECT_EQ(none->GetEntry(5), 0u);
    // Sizes outside the class's range load nothing.
    auto tooSmall = CreateFATTable(&device, image.FatStart(), kFsFat32, image.sectorsPerFAT, true, true);
    EXPECT_EQ(tooSmall->GetEntry(5), 0u);
    auto notFat = CreateFATTable(&device, image.FatStart(), kFsNtfs, image.sectorsPerFAT, true, true);
    EXPECT_EQ(notFat->GetEntry(5), 0u);
}

}  // namespace
}  // namespace keldrin::fat
