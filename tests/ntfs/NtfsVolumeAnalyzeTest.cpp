#include <gtest/gtest.h>

#include <cstring>

#include "engine/ntfs/NtfsVolumeAnalyze.h"
#include "tests/ntfs/NtfsBuilders.h"

namespace keldrin::ntfs {
namespace {

using test::BootSpec;
using test::Bytes;
using test::MemoryDevice;
using test::RecordBuilder;

constexpr int64_t kFirst = 100;

// A volume at sector 100 whose $MFT starts at cluster 4 (8-sector clusters), with the $Volume
// record 3 carrying label.
void WriteVolume(MemoryDevice& device, int8_t clustersPerRecord, uint32_t recordSize,
                 std::u16string_view label, uint64_t totalSectors = 0x100000005ull) {
    BootSpec spec;
    spec.clustersPerRecord = clustersPerRecord;
    spec.totalSectors = totalSectors;
    device.Write(kFirst, test::BootSector(spec));
    RecordBuilder volume(recordSize);
    volume.Number(3).AddStandardInformation(6).AddFileName({.name = u"$Volume"});
    volume.Add(test::ResidentAttribute(0x60, test::Utf16(label)));
    device.Write(kFirst + 4 * 8 + 3 * (recordSize / 512), volume.Build());
}

std::string Label(CNtfsVolumeAnalyze& v, size_t size = 100) {
    char buffer[128];
    std::memset(buffer, 'x', sizeof buffer);
    v.GetVolumeLabel(buffer, size);
    return std::string(buffer, strnlen(buffer, sizeof buffer));
}

TEST(NtfsVolumeAnalyze, TypeSizeAndLabelForEachRecordSize) {
    struct Case {
        int8_t clustersPerRecord;
        uint32_t recordSize;
    } cases[] = {{-10, 1024}, {1, 4096}};
    for (const Case& c : cases) {
        MemoryDevice device(400);
        WriteVolume(device, c.clustersPerRecord, c.recordSize, u"Backup \u00c4");
        CNtfsVolumeAnalyze v(&device, kFirst);
        EXPECT_EQ(v.GetFileSystemType(), kFsNtfs) << c.recordSize;
        EXPECT_EQ(v.GetTotalSectors(), 0x100000005ll) << "all 64 bits of the total";
        EXPECT_EQ(Label(v), "Backup \xc3\x84") << c.recordSize;
    }
}

TEST(NtfsVolumeAnalyze, LabelCopiesNeverCutACharacter) {
    MemoryDevice device(400);
    WriteVolume(device, -10, 1024, u"M\u00fcller");
    CNtfsVolumeAnalyze v(&device, kFirst);
    struct Case {
        size_t size;
        const char* text;
    } cases[] = {{100, "M\xc3\xbcller"}, {4, "M\xc3\xbc"}, {3, "M"}, {1, ""}};
    for (const Case& c : cases) EXPECT_EQ(Label(v, c.size), c.text) << c.size;
    char untouched = 'x';
    v.GetVolumeLabel(&untouched, 0);
    EXPECT_EQ(untouched, 'x');
    v.GetVolumeLabel(nullptr, 10);
}

TEST(NtfsVolumeAnalyze, WithoutAUsableVolumeRecordTheLabelIsEmpty) {
    MemoryDevice device(400);
    WriteVolume(device, -10, 1024, u"Lost");
    Bytes broken(512);
    device.Write(kFirst + 32 + 6 + 1, broken);  // the record's second sector: fix-up no longer matches
    CNtfsVolumeAnalyze v(&device, kFirst);
    EXPECT_EQ(v.GetFileSystemType(), kFsNtfs);
    EXPECT_EQ(Label(v), "");

    MemoryDevice tiny(120);  // the boot sector fits, $MFT does not
    tiny.Write(kFirst, test::BootSector({}));
    CNtfsVolumeAnalyze cut(&tiny, kFirst);
    EXPECT_EQ(cut.GetFileSystemType(), kFsNtfs);
    EXPECT_EQ(Label(cut), "");
}

TEST(NtfsVolumeAnalyze, OtherVolumesAreUnknown) {
    MemoryDevice device(400);
    BootSpec fat;
    fat.oem = "MSDOS5.0";
    device.Write(kFirst, test::BootSector(fat));
    CNtfsVolumeAnalyze v(&device, kFirst);
    EXPECT_EQ(v.GetFileSystemType(), kFsUnknown);
    EXPECT_EQ(v.GetTotalSectors(), 0);
    EXPECT_EQ(Label(v), "");

    CNtfsVolumeAnalyze pastEnd(&device, 400);
    EXPECT_EQ(pastEnd.GetFileSystemType(), kFsUnknown);
    CNtfsVolumeAnalyze noDevice(nullptr, 0);
    EXPECT_EQ(noDevice.GetFileSystemType(), kFsUnknown);
}

}  // namespace
}  // namespace keldrin::ntfs
