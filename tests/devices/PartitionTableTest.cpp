// Partition tables read from images built in memory: MBR with its extended chain, GPT, a file system on
// the whole disk, and tables that lie.
#include <gtest/gtest.h>

#include <vector>

#include "engine/devices/GptTypes.h"
#include "engine/devices/PartitionSelect.h"
#include "engine/devices/PartitionTableAnalyze.h"
#include "tests/devices/PartitionFixtures.h"

namespace keldrin {
namespace {

using test::DiskImage;
using test::ImageBytesDevice;

struct Read {
    std::vector<PartitionRecord> records;
    PartitionTableKind kind = PartitionTableKind::kNone;
    int answered = 0;
};

Read ReadTable(IStorageDevice& device) {
    Read r;
    r.answered =
        CPartitionTableAnalyze::ReadBasicPartitions(&device, test::FakeIdentifier(), r.records, &r.kind);
    return r;
}

// number:start+count for compact expectations.
std::vector<std::string> Extents(const std::vector<PartitionRecord>& records) {
    std::vector<std::string> out;
    for (const PartitionRecord& r : records)
        out.push_back(std::to_string(r.number) + ":" + std::to_string(r.startSector) + "+" +
                      std::to_string(r.sectorCount));
    return out;
}

TEST(PartitionTable, PrimaryPartitionsAreIdentifiedAndWindowed) {
    DiskImage image(8192);
    image.SetMbrEntry(0, 0, 0x07, 2048, 2048, 0x80);
    image.SetMbrEntry(0, 1, 0x83, 4096, 1024);
    image.SetMbrEntry(0, 3, 0x0C, 6000, 1000);
    image.WriteVolume(2048, kFsNtfs, 2047, "Windows");  // NTFS leaves its backup boot sector outside
    image.WriteVolume(6000, kFsFat32, 1000, "STICK");
    ImageBytesDevice disk(image.Bytes());

    Read r = ReadTable(disk);
    EXPECT_EQ(r.kind, PartitionTableKind::kMbr);
    ASSERT_EQ(r.answered, 3);
    EXPECT_EQ(Extents(r.records), (std::vector<std::string>{"1:2048+2047", "2:4096+1024", "4:6000+1000"}));
    const PartitionRecord& ntfs = r.records[0];
    EXPECT_EQ(ntfs.tableSectorCount, 2048);
    EXPECT_EQ(ntfs.typeText, "0x07");
    EXPECT_EQ(ntfs.fileSystemType, kFsNtfs);
    EXPECT_EQ(ntfs.label, "Windows");
    EXPECT_EQ(r.records[1].fileSystemType, kFsUnknown);
    EXPECT_EQ(r.records[1].label, "");
    EXPECT_EQ(r.records[2].typeText, "0x0C");

    // Each record's device is a window on the disk, not owning it.
    ASSERT_TRUE(ntfs.device);
    EXPECT_EQ(ntfs.device->GetParent(), &disk);
    EXPECT_EQ(ntfs.device->GetFirstSector(), 2048);
    EXPECT_EQ(ntfs.device->GetTotalSectors(), 2047);
}

TEST(PartitionTable, ExtendedChainGivesLogicalPartitionsInChainOrder) {
    DiskImage image(16384);
    image.SetMbrEntry(0, 0, 0x83, 63, 937);
    image.SetMbrEntry(0, 1, 0x0F, 1000, 9000);  // extended, base 1000
    image.SetMbrEntry(0, 2, 0x07, 12000, 2000);
    // Logical starts are relative to their own table, links to the extended base.
    image.SetMbrEntry(1000, 0, 0x83, 63, 937);
    image.SetMbrEntry(1000, 1, 0x05, 2000, 3000);
    image.SetMbrEntry(3000, 0, 0x06, 100, 900);
    image.SetMbrEntry(3000, 1, 0x05, 5000, 2000);
    image.SetMbrEntry(6000, 0, 0x07, 1, 1999);
    image.WriteVolume(3100, kFsFat16, 900, "LOGICAL");
    ImageBytesDevice disk(image.Bytes());

    Read r = ReadTable(disk);
    EXPECT_EQ(Extents(r.records), (std::vector<std::string>{"1:63+937", "5:1063+937", "6:3100+900",
                                                            "7:6001+1999", "3:12000+2000"}));
    EXPECT_EQ(r.records[2].label, "LOGICAL");
}

TEST(PartitionTable, LoopingExtendedChainsEnd) {
    {
        SCOPED_TRACE("a link back to the first table repeats its logical partition");
        DiskImage image(8192);
        image.SetMbrEntry(0, 0, 0x05, 1000, 7000);
        image.SetMbrEntry(1000, 0, 0x83, 10, 90);
        image.SetMbrEntry(1000, 1, 0x05, 1000, 1000);
        image.SetMbrEntry(2000, 0, 0x83, 10, 90);
        image.SetMbrEntry(2000, 1, 0x05, 0, 1000);  // back to 1000
        ImageBytesDevice disk(image.Bytes());
        EXPECT_EQ(Extents(ReadTable(disk).records), (std::vector<std::string>{"5:1010+90", "6:2010+90"}));
    }
    {
        SCOPED_TRACE("tables that only link to each other");
        DiskImage image(4096);
        image.SetMbrEntry(0, 0, 0x05, 100, 3000);
        image.SetMbrEntry(100, 0, 0x05, 200, 10);
        image.SetMbrEntry(300, 0, 0x0F, 0, 10);
        image.SetMbrEntry(300, 1, 0x05, 200, 10);
        ImageBytesDevice disk(image.Bytes());
        EXPECT_TRUE(ReadTable(disk).records.empty());
    }
    {
        SCOPED_TRACE("a chain of ever new tables stops at the table limit");
        const int64_t tables = kMaxExtendedTables + 100;
        DiskImage image(tables + 10);
        image.SetMbrEntry(0, 0, 0x05, 1, static_cast<uint32_t>(tables + 5));
        for (int64_t t = 1; t <= tables; ++t) {
            image.SetMbrEntry(t, 0, 0x83, 0, 1);  // a one-sector logical partition on the table itself
            image.SetMbrEntry(t, 1, 0x05, static_cast<uint32_t>(t), 1);
        }
        ImageBytesDevice disk(image.Bytes());
        const Read r = ReadTable(disk);
        ASSERT_EQ(r.records.size(), static_cast<size_t>(kMaxExtendedTables));
        EXPECT_EQ(r.records.back().startSector, kMaxExtendedTables);
    }
}

TEST(PartitionTable, CountsAreCutAtTheDiskEnd) {
    struct Case {
        const char* what;
        uint32_t start, count;
        std::vector<std::string> expected;
    } cases[] = {
        {"past the end", 1000, 100000, {"1:1000+3096"}},
        {"count 0 runs to the end", 1000, 0, {"1:1000+3096"}},
        {"exactly to the end", 1000, 3096, {"1:1000+3096"}},
        {"starts past the end", 5000, 10, {}},
        {"starts at the end", 4096, 10, {}},
        {"the largest 32-bit values", 0xFFFFFFFF, 0xFFFFFFFF, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DiskImage image(4096);
        image.SetMbrEntry(0, 0, 0x83, c.start, c.count);
        ImageBytesDevice disk(image.Bytes());
        EXPECT_EQ(Extents(ReadTable(disk).records), c.expected);
    }
}

TEST(PartitionTable, FileSystemSizeRulesTheExtentOnlyInsideTheDisk) {
    struct Case {
        const char* what;
        int64_t fsSectors;
        int64_t expected;
    } cases[] = {
        {"smaller than the partition", 1500, 1500}, {"larger, still inside the disk", 3000, 3000},
        {"ending at the disk end", 3096, 2000},     {"past the disk end", 1 << 30, 2000},
        {"absurdly large", INT64_MAX, 2000},        {"not told", 0, 2000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DiskImage image(4096);
        image.SetMbrEntry(0, 0, 0x07, 1000, 2000);
        image.WriteVolume(1000, kFsNtfs, c.fsSectors, "");
        ImageBytesDevice disk(image.Bytes());
        const Read r = ReadTable(disk);
        ASSERT_EQ(r.records.size(), 1u);
        EXPECT_EQ(r.records[0].sectorCount, c.expected);
        EXPECT_EQ(r.records[0].tableSectorCount, 2000);
    }
}

TEST(PartitionTable, TablesThatAreNotTakenGiveNoPartitions) {
    {
        SCOPED_TRACE("a dynamic disk, even beside valid entries");
        DiskImage image(4096);
        image.SetMbrEntry(0, 0, 0x07, 100, 1000);
        image.SetMbrEntry(0, 1, 0x42, 1100, 1000);
        image.WriteVolume(100, kFsNtfs, 1000, "");
        ImageBytesDevice disk(image.Bytes());
        const Read r = ReadTable(disk);
        EXPECT_EQ(r.kind, PartitionTableKind::kDynamic);
        EXPECT_TRUE(r.records.empty());
    }
    {
        SCOPED_TRACE("a status byte other than 0x00 and 0x80");
        DiskImage image(4096);
        image.SetMbrEntry(0, 0, 0x83, 100, 1000);
        image.SetMbrEntry(0, 1, 0x83, 1100, 1000, 0x01);
        ImageBytesDevice disk(image.Bytes());
        EXPECT_TRUE(ReadTable(disk).records.empty());
    }
    {
        SCOPED_TRACE("no boot signature");
        DiskImage image(4096);
        image.SetMbrEntry(0, 0, 0x83, 100, 1000);
        image.Sector(0)[511] = 0;
        ImageBytesDevice disk(image.Bytes());
        EXPECT_EQ(ReadTable(disk).kind, PartitionTableKind::kNone);
    }
    {
        SCOPED_TRACE("sector 0 unreadable");
        DiskImage image(4096);
        image.SetMbrEntry(0, 0, 0x83, 100, 1000);
        ImageBytesDevice disk(image.Bytes());
        disk.failSectors = {0};
        EXPECT_TRUE(ReadTable(disk).records.empty());
    }
    {
        SCOPED_TRACE("an unreadable EBR costs only its own partitions");
        DiskImage image(4096);
        image.SetMbrEntry(0, 0, 0x05, 100, 1000);
        image.SetMbrEntry(0, 1, 0x83, 2000, 1000);
        image.SetMbrEntry(100, 0, 0x83, 10, 90);
        ImageBytesDevice disk(image.Bytes());
        disk.failSectors = {100};
        EXPECT_EQ(Extents(ReadTable(disk).records), (std::vector<std::string>{"2:2000+1000"}));
    }
}

TEST(PartitionTable, FileSystemOnTheWholeDisk) {
    struct Case {
        const char* what;
        int64_t fsSectors;
        int64_t expected;
    } cases[] = {
        {"own size", 2880, 2880},
        {"size not told", 0, 4096},
        {"larger than the disk", 10000, 4096},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DiskImage image(4096);
        image.WriteVolume(0, kFsFat12, c.fsSectors, "FLOPPY");
        ImageBytesDevice disk(image.Bytes());
        const Read r = ReadTable(disk);
        EXPECT_EQ(r.kind, PartitionTableKind::kNone);
        ASSERT_EQ(r.records.size(), 1u);
        EXPECT_EQ(r.records[0].number, 0);
        EXPECT_EQ(r.records[0].startSector, 0);
        EXPECT_EQ(r.records[0].sectorCount, c.expected);
        EXPECT_EQ(r.records[0].label, "FLOPPY");
        EXPECT_EQ(r.records[0].fileSystemType, kFsFat12);
    }
    {
        SCOPED_TRACE("boot code with 0x42 at a type byte is no dynamic-disk table");
        DiskImage image(4096);
        image.WriteVolume(0, kFsFat16, 4096, "BOOTCODE");
        image.SetMbrEntry(0, 2, 0x42, 0x12345678, 0x9ABCDEF0, 0x4E);
        ImageBytesDevice disk(image.Bytes());
        const Read r = ReadTable(disk);
        EXPECT_EQ(r.kind, PartitionTableKind::kNone);
        EXPECT_EQ(Extents(r.records), (std::vector<std::string>{"0:0+4096"}));
    }
    // An empty device, or one without a recognised file system and table, has nothing.
    DiskImage blank(16);
    ImageBytesDevice disk(blank.Bytes());
    EXPECT_TRUE(ReadTable(disk).records.empty());
    ImageBytesDevice nothing({});
    EXPECT_TRUE(ReadTable(nothing).records.empty());
}

TEST(PartitionTable, GptEntriesOfKnownTypesAndRecognisedFileSystems) {
    DiskImage image(16384);
    image.SetGptHeader(2, 128, 128);
    image.SetGptEntry(2, 128, 0, test::kBasicDataGuid, 2048, 4095);  // entry 0 counts like the others
    image.SetGptEntry(2, 128, 1, test::kLinuxDataGuid, 4096, 8191);
    image.SetGptEntry(2, 128, 2, test::kOtherGuid, 8192, 9215);  // unknown type, nothing on it
    image.SetGptEntry(2, 128, 3, test::kOtherGuid, 9216, 10239);
    image.WriteVolume(9216, kFsExt3, 1024, "found");
    image.SetGptEntry(2, 128, 5, test::kBasicDataGuid, 12000, 11999);  // ends before it starts
    image.SetGptEntry(2, 128, 6, test::kBasicDataGuid, 20000, 30000);  // past the disk end
    image.SetGptEntry(2, 128, 7, test::kBasicDataGuid, 15000, 99999);  // cut at the disk end
    image.SetGptEntry(2, 128, 127, test::kLinuxDataGuid, 11000, 11099);
    ImageBytesDevice disk(image.Bytes());

    const Read r = ReadTable(disk);
    EXPECT_EQ(r.kind, PartitionTableKind::kGpt);
    EXPECT_EQ(Extents(r.records), (std::vector<std::string>{"1:2048+2048", "2:4096+4096", "4:9216+1024",
                                                            "8:15000+1384", "128:11000+100"}));
    EXPECT_EQ(r.records[0].typeText, test::kBasicDataGuid);
    EXPECT_EQ(r.records[0].systemName, "Windows");
    EXPECT_EQ(r.records[1].systemName, "Linux");
    EXPECT_EQ(r.records[2].systemName, "");
    EXPECT_EQ(r.records[2].fileSystemType, kFsExt3);
    EXPECT_EQ(r.records[3].tableSectorCount, 99999 - 15000 + 1);
}

TEST(PartitionTable, GptHeaderIsFollowedOnlyWhenSound) {
    struct Case {
        const char* what;
        int64_t headerArray;  // where the header says the array is
        uint32_t count, entrySize;
        bool breakCrc;
        int64_t realArray;  // where the entries are written
        uint32_t realSize;
        std::vector<std::string> expected;
    } cases[] = {
        {"array elsewhere, larger entries", 40, 4, 256, false, 40, 256, {"1:2048+1024", "4:4096+1024"}},
        {"fewer entries than the fixed layout", 2, 3, 128, false, 2, 128, {"1:2048+1024"}},
        {"a huge entry count", 2, 0xFFFFFFFF, 128, false, 2, 128, {"1:2048+1024", "4:4096+1024"}},
        {"a huge entry size falls back to the fixed array",
         2,
         128,
         0x40000000,
         false,
         2,
         128,
         {"1:2048+1024", "4:4096+1024"}},
        {"an entry size below 128", 40, 4, 64, false, 2, 128, {"1:2048+1024", "4:4096+1024"}},
        {"a broken header CRC", 40, 4, 256, true, 2, 128, {"1:2048+1024", "4:4096+1024"}},
        {"an array past the disk end", 1 << 30, 4, 128, false, 2, 128, {"1:2048+1024", "4:4096+1024"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DiskImage image(8192);
        image.SetGptHeader(c.headerArray, c.count, c.entrySize, c.breakCrc);
        image.SetGptEntry(c.realArray, c.realSize, 0, test::kBasicDataGuid, 2048, 3071);
        image.SetGptEntry(c.realArray, c.realSize, 3, test::kLinuxDataGuid, 4096, 5119);
        ImageBytesDevice disk(image.Bytes());
        EXPECT_EQ(Extents(ReadTable(disk).records), c.expected);
    }
}

TEST(PartitionTable, GptWithoutHeaderUsesTheFixedArrayAsFarAsTheDiskGoes) {
    {
        SCOPED_TRACE("no header at all");
        DiskImage image(8192);
        image.SetProtectiveMbr();
        image.SetGptEntry(2, 128, 0, test::kBasicDataGuid, 2048, 3071);
        ImageBytesDevice disk(image.Bytes());
        EXPECT_EQ(Extents(ReadTable(disk).records), (std::vector<std::string>{"1:2048+1024"}));
    }
    {
        SCOPED_TRACE("a disk shorter than the array");
        DiskImage image(10);
        image.SetProtectiveMbr();
        image.SetGptEntry(2, 128, 0, test::kBasicDataGuid, 4, 9);
        ImageBytesDevice disk(image.Bytes());
        EXPECT_EQ(Extents(ReadTable(disk).records), (std::vector<std::string>{"1:4+6"}));
    }
    {
        SCOPED_TRACE("an unreadable array sector costs only its four entries");
        DiskImage image(8192);
        image.SetProtectiveMbr();
        image.SetGptEntry(2, 128, 0, test::kBasicDataGuid, 2048, 3071);
        image.SetGptEntry(2, 128, 4, test::kBasicDataGuid, 4096, 5119);
        ImageBytesDevice disk(image.Bytes());
        disk.failSectors = {2};
        EXPECT_EQ(Extents(ReadTable(disk).records), (std::vector<std::string>{"5:4096+1024"}));
    }
}

TEST(PartitionTable, GptTypeTable) {
    EXPECT_EQ(KnownGptTypes().size(), 37u + 16u);
    const uint8_t esp[16] = {0x28, 0x73, 0x2A, 0xC1, 0x1F, 0xF8, 0xD2, 0x11,
                             0xBA, 0x4B, 0x00, 0xA0, 0xC9, 0x3E, 0xC9, 0x3B};
    EXPECT_EQ(FormatGptGuid(esp), "C12A7328-F81F-11D2-BA4B-00A0C93EC93B");
    for (const char* linux :
         {"0FC63DAF-8483-4772-8E79-3D69D8477DE4", "0657FD6D-A4AB-43C4-84E5-0933C84B4F4F",
          "E6D6D379-F507-44C2-A23C-238F2A3DF928", "A19D880F-05FC-4D3B-A006-743F0F84911E",
          "4F68BCE3-E8CD-4DB1-96E7-FBCAF984B709", "933AC7E1-2EB4-4F13-B844-0E14E2AEF915"}) {
        const KnownGptType* t = FindKnownGptType(linux);
        ASSERT_NE(t, nullptr) << linux;
        EXPECT_STREQ(t->system, "Linux");
    }
    // The basic-data GUID is listed twice; the first row names it.
    EXPECT_STREQ(FindKnownGptType("EBD0A0A2-B9E5-4433-87C0-68B6B72699C7")->system, "Windows");
    EXPECT_EQ(FindKnownGptType("ebd0a0a2-b9e5-4433-87c0-68b6b72699c7"), nullptr);
}

TEST(PartitionTable, PartitionByNumber) {
    DiskImage image(8192);
    image.WriteVolume(0, kFsFat16, 0, "");  // ignored: the whole disk holds a table too
    image.SetMbrEntry(0, 1, 0x07, 2048, 2048);
    image.SetMbrEntry(0, 2, 0x05, 5000, 3000);
    image.SetMbrEntry(5000, 0, 0x83, 100, 500);
    image.WriteVolume(2048, kFsNtfs, 2047, "");
    ImageBytesDevice disk(image.Bytes());

    int64_t first = -1, count = -1;
    ASSERT_TRUE(FindBasicPartition(&disk, 2, test::FakeIdentifier(), first, count));
    EXPECT_EQ(first, 2048);
    EXPECT_EQ(count, 2047);
    ASSERT_TRUE(FindBasicPartition(&disk, 2, {}, first, count));  // without an identifier: the table's
    EXPECT_EQ(count, 2048);
    ASSERT_TRUE(FindBasicPartition(&disk, 5, {}, first, count));
    EXPECT_EQ(first, 5100);
    EXPECT_TRUE(FindBasicPartition(&disk, 0, test::FakeIdentifier(), first, count));
    EXPECT_FALSE(FindBasicPartition(&disk, 1, {}, first, count));
    EXPECT_FALSE(FindBasicPartition(&disk, 6, {}, first, count));
    EXPECT_FALSE(FindBasicPartition(nullptr, 1, {}, first, count));

    const auto window = OpenBasicPartition(&disk, 5, {});
    ASSERT_TRUE(window);
    EXPECT_EQ(window->GetParent(), &disk);
    EXPECT_EQ(window->GetTotalSectors(), 500);
    EXPECT_EQ(OpenBasicPartition(&disk, 3, {}), nullptr);
}

}  // namespace
}  // namespace keldrin
