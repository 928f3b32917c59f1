#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "engine/devices/Volume.h"
#include "engine/fat/FATBootRecord.h"
#include "engine/fat/FATVolumeLabel.h"
#include "engine/fat/FatVolumeAnalyze.h"
#include "tests/fat/FatTestImage.h"

namespace keldrin::fat {
namespace {

using test::EntrySpec;
using test::FatImage;
using test::MemoryDevice;
using test::WriteEntry;

std::vector<uint8_t> BootBytes(const char* text, size_t textOffset) {
    std::vector<uint8_t> b(512, 0);
    b[0] = 0xEB;
    b[0x0D] = 4;
    b[0x0E] = 1;
    b[0x10] = 2;
    b[0x11] = 0x00;  // 512 root entries
    b[0x12] = 0x02;
    b[0x13] = 0x00;
    b[0x14] = 0x10;  // 4096 sectors
    b[0x16] = 9;
    b[0x20] = 0x00;
    b[0x21] = 0x00;
    b[0x22] = 0x10;  // 32-bit total 1 Mi sectors
    b[0x24] = 0x00;
    b[0x25] = 0x02;  // 512 sectors per FAT (FAT32 field)
    b[0x2C] = 2;
    std::memcpy(b.data() + textOffset, text, 8);
    b[0x1FE] = 0x55;
    b[0x1FF] = 0xAA;
    return b;
}

void Set16(std::vector<uint8_t>& b, size_t at, uint16_t v) {
    b[at] = static_cast<uint8_t>(v);
    b[at + 1] = static_cast<uint8_t>(v >> 8);
}

TEST(FatBootRecord, ClassificationTable) {
    struct Case {
        const char* what;
        const char* text;
        size_t offset;
        void (*change)(std::vector<uint8_t>&);
        int type;
    };
    const Case cases[] = {
        {"FAT12", "FAT12   ", 0x36, [](std::vector<uint8_t>&) {}, kFsFat12},
        {"FAT16", "FAT16   ", 0x36, [](std::vector<uint8_t>&) {}, kFsFat16},
        {"FAT16 text in lower case", "fat16   ", 0x36, [](std::vector<uint8_t>&) {}, kFsFat16},
        {"FAT32", "FAT32   ", 0x52, [](std::vector<uint8_t>&) {}, kFsFat32},
        {"FAT12 with 200 sectors per FAT", "FAT12   ", 0x36,
         [](std::vector<uint8_t>& b) { Set16(b, 0x16, 200); }, kFsFat12},
        {"FAT12 with 201 sectors per FAT", "FAT12   ", 0x36,
         [](std::vector<uint8_t>& b) { Set16(b, 0x16, 201); }, kFsUnknown},
        {"FAT12 with 224 root entries", "FAT12   ", 0x36,
         [](std::vector<uint8_t>& b) { Set16(b, 0x11, 224); }, kFsFat12},
        {"FAT12 with 225 root entries", "FAT12   ", 0x36,
         [](std::vector<uint8_t>& b) { Set16(b, 0x11, 225); }, kFsUnknown},
        {"FAT16 with 2064 root entries", "FAT16   ", 0x36,
         [](std::vector<uint8_t>& b) { Set16(b, 0x11, 2064); }, kFsUnknown},
        {"FAT16 with no sectors per FAT", "FAT16   ", 0x36,
         [](std::vector<uint8_t>& b) { Set16(b, 0x16, 0); }, kFsUnknown},
        {"FAT32 never tests root entries", "FAT32   ", 0x52,
         [](std::vector<uint8_t>& b) { Set16(b, 0x11, 3); }, kFsFat32},
        {"FAT32 with no sectors per FAT", "FAT32   ", 0x52,
         [](std::vector<uint8_t>& b) { b[0x24] = b[0x25] = b[0x26] = b[0x27] = 0; }, kFsUnknown},
        {"one FAT", "FAT16   ", 0x36, [](std::vector<uint8_t>& b) { b[0x10] = 1; }, kFsUnknown},
        {"3 sectors per cluster", "FAT16   ", 0x36, [](std::vector<uint8_t>& b) { b[0x0D] = 3; }, kFsUnknown},
        {"128 sectors per cluster", "FAT16   ", 0x36, [](std::vector<uint8_t>& b) { b[0x0D] = 128; },
         kFsFat16},
        {"no signature", "FAT16   ", 0x36, [](std::vector<uint8_t>& b) { b[0x1FF] = 0; }, kFsUnknown},
        {"FAT32 text at the FAT16 place", "FAT32   ", 0x36, [](std::vector<uint8_t>&) {}, kFsUnknown},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> bytes = BootBytes(c.text, c.offset);
        c.change(bytes);
        EXPECT_EQ(CFATBootRecord(bytes.data(), bytes.size()).GetType(), c.type) << c.what;
    }
}

TEST(FatBootRecord, AccessorsFollowTheType) {
    std::vector<uint8_t> fat16 = BootBytes("FAT16   ", 0x36);
    const CFATBootRecord small(fat16.data(), fat16.size());
    EXPECT_EQ(small.GetTotalSectors(), 4096u);
    EXPECT_EQ(small.GetSectorsPerFAT(), 9u);
    EXPECT_EQ(small.GetRootCluster(), 0u);
    Set16(fat16, 0x13, 0);
    EXPECT_EQ(CFATBootRecord(fat16.data(), fat16.size()).GetTotalSectors(), 1u << 20);  // the 32-bit form

    std::vector<uint8_t> fat32 = BootBytes("FAT32   ", 0x52);
    const CFATBootRecord big(fat32.data(), fat32.size());
    EXPECT_EQ(big.GetTotalSectors(), 1u << 20);
    EXPECT_EQ(big.GetSectorsPerFAT(), 512u);
    EXPECT_EQ(big.GetRootCluster(), 2u);

    std::vector<uint8_t> none = BootBytes("NTFS    ", 0x36);
    const CFATBootRecord other(none.data(), none.size());
    EXPECT_FALSE(other.IsValid());
    EXPECT_EQ(other.GetTotalSectors() + other.GetSectorsPerFAT() + other.GetReservedSectors() +
                  other.GetNumberOfFATs() + other.GetSectorsPerCluster(),
              0u);
    // A short buffer is zero-padded, never read past.
    EXPECT_FALSE(CFATBootRecord(fat16.data(), 100).IsValid());
}

TEST(FatBootRecord, SignatureAndFatStartTests) {
    uint8_t sector[512] = {};
    EXPECT_FALSE(HasBootSignature(sector));
    sector[510] = 0x55;
    sector[511] = 0xAA;
    EXPECT_FALSE(HasBootSignature(sector));  // first byte 0
    sector[0] = 0xEB;
    EXPECT_TRUE(HasBootSignature(sector));

    const uint8_t fat12[4] = {0xF0, 0xFF, 0xFF, 0x00};
    const uint8_t fat16[4] = {0xF8, 0xFF, 0xFF, 0xFF};
    const uint8_t fat32[4] = {0xF8, 0xFF, 0xFF, 0x0F};
    const uint8_t empty[4] = {0, 0, 0, 0};
    EXPECT_TRUE(IsFATStart(fat12));
    EXPECT_TRUE(IsFATStart(fat16));
    EXPECT_TRUE(IsFATStart(fat32));
    EXPECT_FALSE(IsFATStart(empty));

    EXPECT_FALSE(IsValidClusterNumber(1));
    EXPECT_TRUE(IsValidClusterNumber(2));
    EXPECT_TRUE(IsValidClusterNumber(0x0FFFFFEF));
    EXPECT_FALSE(IsValidClusterNumber(0x0FFFFFF0));
}

TEST(FatBootRecord, CheckFatPresenceNeedsOneCopyInPlace) {
    FatImage image = FatImage::Fat16(8);
    MemoryDevice device(&image.bytes);
    EXPECT_TRUE(CheckFATPresence(&device, image.Boot(), 8));
    // The first copy damaged: the second still answers.
    image.SetFat(0, 0, 0);
    image.SetFat(1, 0, 0);
    EXPECT_TRUE(CheckFATPresence(&device, image.Boot(), 8));
    image.SetFat(0, 0, 1);
    image.SetFat(1, 0, 1);
    EXPECT_FALSE(CheckFATPresence(&device, image.Boot(), 8));
    // FAT positions always come from the partition start given.
    FatImage moved = FatImage::Fat16(8);
    MemoryDevice movedDevice(&moved.bytes);
    EXPECT_FALSE(CheckFATPresence(&movedDevice, moved.Boot(), 0));
    // FATs larger than the volume.
    FatImage tiny = FatImage::Fat16();
    tiny.Boot()[0x13] = 20;
    tiny.Boot()[0x14] = 0;
    MemoryDevice tinyDevice(&tiny.bytes);
    EXPECT_FALSE(CheckFATPresence(&tinyDevice, tiny.Boot(), 0));
}

TEST(FatVolumeLabel, Fat16SkipsDeletedLabelAndFindsLiveOne) {
    FatImage image = FatImage::Fat16();
    uint8_t* root = image.Root();
    WriteEntry(root, {"OLDLABEL   ", 0x08});
    root[0] = 0xE5;
    WriteEntry(root + 32, {"DATA       ", 0x08});
    MemoryDevice device(&image.bytes);
    const CFATBootRecord boot(image.Boot(), 512);
    std::string label;
    ASSERT_TRUE(ReadVolumeLabel(&device, 0, boot, label));
    EXPECT_EQ(label, "DATA");

    CFatVolumeAnalyze volume(&device, 0);
    EXPECT_EQ(volume.GetFileSystemType(), kFsFat16);
    EXPECT_EQ(volume.GetTotalSectors(), image.totalSectors);
    char buffer[3];
    volume.GetVolumeLabel(buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "DA");
}

TEST(FatVolumeLabel, Fat32RootChainThatLoopsEnds) {
    FatImage image = FatImage::Fat32();
    image.SetFat(2, 3);
    image.SetFat(3, 2);  // the root chain comes back to its start
    WriteEntry(image.Root(), {"FILE    TXT", 0x20, 5, 10});
    MemoryDevice device(&image.bytes);
    std::string label;
    EXPECT_FALSE(ReadVolumeLabel(&device, 0, CFATBootRecord(image.Boot(), 512), label));
    WriteEntry(image.Cluster(3), {"MY DISK    ", 0x08});
    EXPECT_TRUE(ReadVolumeLabel(&device, 0, CFATBootRecord(image.Boot(), 512), label));
    EXPECT_EQ(label, "MY DISK");
}

TEST(FatVolumeAnalyze, NotFatGivesUnknown) {
    std::vector<uint8_t> bytes(4096, 0);
    MemoryDevice device(&bytes);
    CFatVolumeAnalyze volume(&device, 0);
    EXPECT_EQ(volume.GetFileSystemType(), kFsUnknown);
    EXPECT_EQ(volume.GetTotalSectors(), 0);
    CFatVolumeAnalyze pastEnd(&device, 100);
    EXPECT_EQ(pastEnd.GetFileSystemType(), kFsUnknown);
}

}  // namespace
}  // namespace keldrin::fat
