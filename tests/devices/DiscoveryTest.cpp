// Discovery over a fake sysfs tree with image files for device nodes: the disks, their display names,
// the volume list with mount points, the floppies and the order of the list.
#include <gtest/gtest.h>
#include <sys/sysmacros.h>

#include <string>
#include <vector>

#include "engine/devices/DiskCollector.h"
#include "engine/devices/DiskDisplayName.h"
#include "engine/devices/ImageFileDevice.h"
#include "engine/devices/VolumeCollector.h"
#include "tests/devices/DeviceTestSupport.h"
#include "tests/devices/PartitionFixtures.h"

namespace keldrin {
namespace {

constexpr const char* kAtaPath = "pci0000:00/0000:00:17.0/ata1/host0/target0:0:0/0:0:0:0/block";
constexpr const char* kUsbPath = "pci0000:00/0000:00:14.0/usb2/2-1/2-1:1.0/host6/target6:0:0/6:0:0:0/block";

std::vector<std::string> Names(const DiskDeviceList& disks) {
    std::vector<std::string> out;
    for (const StorageDisk& d : disks) out.push_back(std::to_string(d.number) + ":" + d.kernelName);
    return out;
}

TEST(DiskDisplayName, TrimsCutsAndLeavesOutEmptyParts) {
    struct Case {
        const char* vendor;
        const char* product;
        const char* bus;
        const char* expected;
    } cases[] = {
        {"ATA     ", "Samsung SSD 860 EVO 1TB  ", "ATA Bus", "ATA  Samsung SSD 860 EVO 1TB  ATA Bus"},
        {"", "CT1000P1SSD8", "", "CT1000P1SSD8"},
        {"  WDC", "WD10EZEX  -00B", "SCSI Disk Device", "WDC  WD10EZEX  SCSI Disk Device"},
        {"(Standard disk drives)", "Flash Disk\n", "USB Device", "Flash Disk  USB Device"},
        {"Generic-", "SD/MMC/MS PRO", "USB Device", "Generic-  SD/MMC/MS PRO  USB Device"},
        {"Vendorname", "A very long product name that goes on and on", "USB Device",
         "Vendorname  A very long product name that goes on"},
        {"", "", "", ""},
    };
    for (const Case& c : cases) {
        const std::string name = MakeDiskDisplayName(c.vendor, c.product, c.bus);
        EXPECT_EQ(name, c.expected) << c.product;
        EXPECT_LE(name.size(), kMaxDiskDisplayNameChars);
    }
    EXPECT_STREQ(BusDisplayText("usb"), "USB Device");
    EXPECT_STREQ(BusDisplayText("ata"), "ATA Bus");
    EXPECT_STREQ(BusDisplayText("scsi"), "SCSI Disk Device");
    EXPECT_STREQ(BusDisplayText("nvme"), "");
}

TEST(DiskDiscovery, EveryDiskThatOpensKeepsItsNumber) {
    test::FakeSystem system;
    // More disks than the 20 a disk number once allowed; sdc has no device node.
    for (char c = 'a'; c <= 'y'; ++c) {
        const std::string name = std::string("sd") + c;
        system.AddDisk(name, {"8:" + std::to_string((c - 'a') * 16), 4, "", "", ""});
        if (c != 'c') system.AddDeviceFile(name, test::Pattern(0, 4));
    }
    DiskDeviceList disks;
    CCollectDiskDevice::CollectDiskDevice(disks);
    ASSERT_EQ(disks.size(), 24u);
    EXPECT_EQ(Names(disks)[0], "0:sda");
    EXPECT_EQ(Names(disks)[1], "1:sdb");
    EXPECT_EQ(Names(disks)[2], "3:sdd");
    EXPECT_EQ(Names(disks)[23], "24:sdy");
    EXPECT_EQ(disks[2].devicePath, system.devRoot() + "/sdd");
    EXPECT_EQ(disks[2].deviceNumber, makedev(8, 48));
    ASSERT_TRUE(disks[2].device);
    EXPECT_EQ(disks[2].device->GetTotalSectors(), 4);
}

TEST(DiskDiscovery, DisplayNameAndBusFromSysfs) {
    test::FakeSystem system;
    system.AddDisk("sda", {"8:0", 4, "ATA     ", "Samsung SSD 860 ", kAtaPath});
    system.AddDisk("sdb", {"8:16", 4, "SanDisk ", "Ultra           ", kUsbPath});
    system.AddDisk("nvme0n1", {"259:0", 4, "", "WDC PC SN730  ", "pci0000:00/0000:00:1d.0/nvme/nvme0"});
    system.AddBlockEntry("loop0", "/images/disk.img");
    for (const char* name : {"sda", "sdb", "nvme0n1", "loop0"})
        system.AddDeviceFile(name, test::Pattern(0, 4));

    DiskDeviceList disks;
    CCollectDiskDevice::CollectDiskDevice(disks);
    ASSERT_EQ(Names(disks), (std::vector<std::string>{"0:nvme0n1", "1:sda", "2:sdb", "3:loop0"}));
    EXPECT_EQ(disks[0].displayName, "WDC PC SN730");
    EXPECT_EQ(disks[0].busName, "nvme");
    EXPECT_EQ(disks[1].displayName, "ATA  Samsung SSD 860  ATA Bus");
    EXPECT_FALSE(disks[1].usb);
    EXPECT_EQ(disks[2].displayName, "SanDisk  Ultra  USB Device");
    EXPECT_TRUE(disks[2].usb);
    EXPECT_EQ(disks[3].displayName, "loop0");  // a loop disk reports no vendor or model
    EXPECT_EQ(disks[3].busName, "");
}

// sda: MBR with a FAT32 partition mounted at /data and an unmounted NTFS one; sdb on USB: GPT with one
// ext3 partition the kernel does not list.
struct TwoDisks {
    test::FakeSystem system;
    TwoDisks() {
        system.AddDisk("sda", {"8:0", 8192, "ATA     ", "Disk One", kAtaPath});
        system.AddPartition("sda", "sda1", 2048, 2048, "8:1");
        system.AddPartition("sda", "sda2", 4096, 4096, "8:2");
        test::DiskImage a(8192);
        a.SetMbrEntry(0, 0, 0x0C, 2048, 2048);
        a.SetMbrEntry(0, 1, 0x07, 4096, 4096);
        a.WriteVolume(2048, kFsFat32, 2048, "DATA");
        a.WriteVolume(4096, kFsNtfs, 4095, "System");
        system.AddDeviceFile("sda", a.Bytes());

        system.AddDisk("sdb", {"8:16", 4096, "Stick", "Two", kUsbPath});
        test::DiskImage b(4096);
        b.SetGptHeader(2, 128, 128);
        b.SetGptEntry(2, 128, 0, test::kLinuxDataGuid, 2048, 4000);
        b.WriteVolume(2048, kFsExt3, 1953, "home");
        system.AddDeviceFile("sdb", b.Bytes());

        system.WriteMountInfo(
            "27 1 254:0 / / rw - ext4 /dev/vda rw\n"
            "40 27 8:1 / /data rw - vfat /dev/sda1 rw\n");
    }
};

TEST(VolumeDiscovery, BasicPartitionsWithMountPointsMembersAndDiskText) {
    TwoDisks fake;
    DiskDeviceList disks;
    CCollectDiskDevice::CollectDiskDevice(disks);
    ASSERT_EQ(disks.size(), 2u);
    VolumeList entries;
    CCollectBasicPartition::CollectBasicPartition(disks, entries, test::FakeIdentifier());
    ASSERT_EQ(entries.size(), 3u);

    const VolumeEntry& data = entries[0];
    EXPECT_EQ(data.kind, kVolumeKindBasic);
    EXPECT_EQ(data.fileSystemType, kFsFat32);
    EXPECT_EQ(data.label, "DATA");
    EXPECT_EQ(data.mountPoint, "/data");
    EXPECT_EQ(data.devicePath, fake.system.devRoot() + "/sda1");
    EXPECT_EQ(data.deviceNumber, makedev(8, 1));
    EXPECT_EQ(data.partitionNumber, 1);
    EXPECT_FALSE(data.isUsb);
    EXPECT_FALSE(data.isFloppy);
    EXPECT_EQ(data.diskText, "ATA  Disk One  ATA Bus");
    EXPECT_EQ(data.members[0].startSector, 2048);
    EXPECT_EQ(data.members[0].sectorCount, 2048);
    EXPECT_EQ(data.members[0].disk, disks[0].device.get());
    EXPECT_EQ(data.members[0].diskKernelName, "sda");
    EXPECT_EQ(data.members[1].disk, nullptr);

    EXPECT_EQ(entries[1].mountPoint, "");
    EXPECT_EQ(entries[1].devicePath, fake.system.devRoot() + "/sda2");
    EXPECT_EQ(entries[1].members[0].sectorCount, 4095);

    const VolumeEntry& home = entries[2];
    EXPECT_EQ(home.fileSystemType, kFsExt3);
    EXPECT_TRUE(home.isUsb);
    EXPECT_EQ(home.devicePath, "");  // the kernel has no partition for it
    EXPECT_EQ(home.deviceNumber, 0u);
    EXPECT_EQ(home.members[0].disk, disks[1].device.get());

    // The entries read through their own windows on the disks.
    uint8_t sector[kSectorSize];
    ASSERT_TRUE(data.device->ReadSectors(sector, 0, 1));
    EXPECT_EQ(std::string(reinterpret_cast<char*>(sector) + 32), "DATA");
}

TEST(VolumeDiscovery, WholeDiskFileSystemIsTheDiskItself) {
    test::FakeSystem system;
    system.AddDisk("sdc", {"8:32", 2880, "", "Floppy USB", kUsbPath});
    test::DiskImage image(2880);
    image.WriteVolume(0, kFsFat12, 2880, "NO NAME");
    system.AddDeviceFile("sdc", image.Bytes());
    system.WriteMountInfo("50 27 8:32 / /media/floppy rw - vfat /dev/sdc rw\n");

    DiskDeviceList disks;
    CCollectDiskDevice::CollectDiskDevice(disks);
    VolumeList entries;
    CCollectBasicPartition::CollectBasicPartition(disks, entries, test::FakeIdentifier());
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].partitionNumber, 0);
    EXPECT_EQ(entries[0].devicePath, system.devRoot() + "/sdc");
    EXPECT_EQ(entries[0].mountPoint, "/media/floppy");
    EXPECT_EQ(entries[0].members[0].sectorCount, 2880);
}

TEST(VolumeDiscovery, FloppiesWhilePresentAndHoldingAMedium) {
    test::DiskImage fat(2880);
    fat.WriteVolume(0, kFsFat12, 2880, "BOOT");
    {
        SCOPED_TRACE("fd0 and fd1");
        test::FakeSystem system;
        system.AddDisk("fd0", {"2:0", 2880, "", "", ""});
        system.AddDeviceFile("fd0", fat.Bytes());
        system.AddDeviceFile("fd1", test::Pattern(0, 1440));
        system.WriteMountInfo("60 27 2:0 / /media/a rw - vfat /dev/fd0 rw\n");
        VolumeList entries;
        CCollectFloppyDiskDevice::CollectFloppyDiskDevice(entries, test::FakeIdentifier());
        ASSERT_EQ(entries.size(), 2u);
        EXPECT_TRUE(entries[0].isFloppy);
        EXPECT_EQ(entries[0].fileSystemType, kFsFat12);
        EXPECT_EQ(entries[0].label, "BOOT");
        EXPECT_EQ(entries[0].mountPoint, "/media/a");
        EXPECT_EQ(entries[0].devicePath, system.devRoot() + "/fd0");
        EXPECT_EQ(entries[0].members[0].disk, nullptr);
        EXPECT_EQ(entries[1].fileSystemType, kFsUnknown);
        EXPECT_EQ(entries[1].mountPoint, "");
    }
    {
        SCOPED_TRACE("an empty fd0 ends probing; fd1 is not tried");
        test::FakeSystem system;
        system.AddDeviceFile("fd0", {});
        system.AddDeviceFile("fd1", fat.Bytes());
        VolumeList entries;
        CCollectFloppyDiskDevice::CollectFloppyDiskDevice(entries, test::FakeIdentifier());
        EXPECT_TRUE(entries.empty());
    }
    {
        SCOPED_TRACE("no fd0 at all");
        test::FakeSystem system;
        system.AddDeviceFile("fd1", fat.Bytes());
        VolumeList entries;
        CCollectFloppyDiskDevice::CollectFloppyDiskDevice(entries, test::FakeIdentifier());
        EXPECT_TRUE(entries.empty());
    }
}

TEST(VolumeDiscovery, AllVolumesInDisplayOrder) {
    TwoDisks fake;
    fake.system.AddDeviceFile("fd0", test::Pattern(0, 2880));
    fake.system.WriteMountInfo(
        "40 27 8:1 / /data rw - vfat /dev/sda1 rw\n"
        "41 27 8:2 / /boot rw - ntfs /dev/sda2 rw\n");
    DiskDeviceList disks;
    CCollectDiskDevice::CollectDiskDevice(disks);
    VolumeList entries;
    CCollectAllBasicPartitionandDynamicVolume::CollectAllBasicPartitionandDynamicVolume(
        disks, entries, test::FakeIdentifier());
    std::vector<std::string> order;
    for (const VolumeEntry& e : entries)
        order.push_back(e.mountPoint + "|" + e.label + (e.isFloppy ? "|fd" : ""));
    EXPECT_EQ(order, (std::vector<std::string>{"/boot|System", "/data|DATA", "|home", "||fd"}));

    // No disks: nothing at all, not even the floppy.
    DiskDeviceList none;
    VolumeList empty;
    CCollectAllBasicPartitionandDynamicVolume::CollectAllBasicPartitionandDynamicVolume(
        none, empty, test::FakeIdentifier());
    EXPECT_TRUE(empty.empty());
}

TEST(VolumeOrder, MountedFirstByMountPointThenCollectionOrder) {
    struct Case {
        const char* what;
        std::vector<std::string> mountPoints;  // in collection order; "" for unmounted
        std::vector<int> expected;             // collection indexes in display order
    } cases[] = {
        {"mounted and unmounted", {"/home", "", "/", "", "/media/floppy"}, {2, 0, 4, 1, 3}},
        {"none mounted keeps the order", {"", "", "", ""}, {0, 1, 2, 3}},
        {"all mounted", {"/b", "/a", "/a/b"}, {1, 2, 0}},
        {"equal mount points keep their order", {"/x", "", "/x"}, {0, 2, 1}},
        {"empty list", {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        VolumeList entries;
        for (size_t i = 0; i < c.mountPoints.size(); ++i) {
            VolumeEntry e;
            e.mountPoint = c.mountPoints[i];
            e.partitionNumber = static_cast<int>(i);
            entries.push_back(std::move(e));
        }
        CCollectAllBasicPartitionandDynamicVolume::sort(entries);
        std::vector<int> order;
        for (const VolumeEntry& e : entries) order.push_back(e.partitionNumber);
        EXPECT_EQ(order, c.expected);
    }
}

TEST(VolumeDiscovery, ImageFileAsADisk) {
    test::TempDir dir;
    test::DiskImage image(4096);
    image.SetMbrEntry(0, 0, 0x06, 100, 1000);
    image.WriteVolume(100, kFsFat16, 1000, "IMG");
    const std::string path = dir.WriteFile("disk.img", image.Bytes());

    DiskDeviceList disks;
    disks.push_back(MakeImageDisk(std::make_unique<CImageFileDevice>(path), path));
    EXPECT_EQ(disks[0].displayName, "disk.img");
    VolumeList entries;
    CCollectBasicPartition::CollectBasicPartition(disks, entries, test::FakeIdentifier());
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].label, "IMG");
    EXPECT_EQ(entries[0].mountPoint, "");
    EXPECT_EQ(entries[0].members[0].diskNumber, -1);
    EXPECT_EQ(entries[0].diskText, "disk.img");
}

}  // namespace
}  // namespace keldrin
