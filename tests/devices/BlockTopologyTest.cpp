// The Linux layer under discovery: the mount table, buses from sysfs device paths, kernel partitions and
// what lies under a block device, read from a fake tree.
#include <gtest/gtest.h>
#include <sys/sysmacros.h>

#include "platform/BlockTopology.h"
#include "platform/MountInfo.h"
#include "tests/devices/DeviceTestSupport.h"

namespace keldrin {
namespace {

TEST(MountInfo, ParsesLinesAndUndoesEscapes) {
    const char* text =
        "27 1 254:0 / / rw,relatime shared:1 - ext4 /dev/vda rw\n"
        "40 27 8:17 / /media/usb\\040stick rw,nosuid master:3 shared:9 - vfat /dev/sdb1 rw\n"
        "41 27 8:17 /photos /srv/photos rw - vfat /dev/sdb1 rw\n"
        "42 27 8:2 /sub /bind rw - ext4 /dev/sda2 rw\n"
        "43 27 0:40 / /mnt/pool rw - btrfs /dev/sda3 rw\n"
        "garbage line\n"
        "44 27 8:x / /bad rw - ext4 /dev/sda4 rw\n"
        "45 27 8:5 / /nodash rw ext4 /dev/sda5 rw\n";
    const std::vector<platform::MountEntry> mounts = platform::ParseMountInfo(text);
    ASSERT_EQ(mounts.size(), 5u);
    EXPECT_EQ(mounts[1].deviceNumber, makedev(8, 17));
    EXPECT_EQ(mounts[1].mountPoint, "/media/usb stick");
    EXPECT_EQ(mounts[1].fsType, "vfat");
    EXPECT_EQ(mounts[1].source, "/dev/sdb1");
    EXPECT_EQ(mounts[2].root, "/photos");
    EXPECT_EQ(mounts[4].deviceNumber, makedev(0, 40));

    // The mount of the whole file system wins over bind mounts of a folder, whatever the order.
    EXPECT_EQ(platform::FindMountPoint(mounts, makedev(8, 17)), "/media/usb stick");
    EXPECT_EQ(platform::FindMountPoint(mounts, makedev(8, 2)), "/bind");
    EXPECT_EQ(platform::FindMountPoint(mounts, makedev(8, 99)), "");
    EXPECT_EQ(platform::FindMountPoint(mounts, 0), "");
    EXPECT_TRUE(platform::ParseMountInfo("").empty());
}

TEST(MountInfo, ReadsTheFileItIsPointedAt) {
    test::FakeSystem system;
    EXPECT_TRUE(platform::ReadMountInfo().empty());  // no file yet
    system.WriteMountInfo("27 1 8:1 / /data rw - ext4 /dev/sda1 rw\n");
    ASSERT_EQ(platform::ReadMountInfo().size(), 1u);
}

TEST(BlockTopology, BusFromTheDevicePath) {
    struct Case {
        const char* path;
        const char* bus;
    } cases[] = {
        {"/devices/pci0000:00/0000:00:17.0/ata1/host0/target0:0:0/0:0:0:0/block/sda", "ata"},
        {"/devices/pci0000:00/0000:00:14.0/usb2/2-1/2-1:1.0/host6/target6:0:0/6:0:0:0/block/sdb", "usb"},
        {"/devices/pci0000:00/0000:00:1d.0/0000:3d:00.0/nvme/nvme0/nvme0n1", "nvme"},
        {"/devices/virtual/nvme-fabrics/ctl/nvme1/nvme1n1", "nvme"},
        {"/devices/platform/fe320000.mmc/mmc_host/mmc0/mmc0:0001/block/mmcblk0", "mmc"},
        {"/devices/pci0000:00/0000:00:02.0/virtio1/block/vda", "virtio"},
        {"/devices/pci0000:00/0000:00:03.0/virtio2/host0/target0:0:0/0:0:0:1/block/sda", "scsi"},
        {"/devices/pci0000:00/0000:00:10.0/host2/target2:0:0/2:0:0:0/block/sdc", "scsi"},
        {"/devices/virtual/block/loop0", ""},
        {"/devices/platform/ata_piix/data/block/sdz", ""},  // "ata_piix" is not an ata port
        {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(platform::BusFromDevicePath(c.path), c.bus) << c.path;
}

TEST(BlockTopology, DiskFactsAndKernelPartitions) {
    test::FakeSystem system;
    system.AddDisk("sda", {"8:0", 8192, "ATA     ", "Samsung SSD 860 ",
                           "pci0000:00/0000:00:17.0/ata1/host0/target0:0:0/0:0:0:0/block"});
    system.AddPartition("sda", "sda2", 4096, 4096, "8:2");
    system.AddPartition("sda", "sda1", 2048, 2048, "8:1");
    system.AddDisk("usb3", {"8:16", 100, "", "", ""});  // a plain folder: no bus to be told

    const platform::DiskFacts facts = platform::ReadDiskFacts("sda");
    EXPECT_EQ(facts.vendor, "ATA     ");
    EXPECT_EQ(facts.model, "Samsung SSD 860 ");
    EXPECT_EQ(facts.bus, "ata");
    EXPECT_EQ(facts.deviceNumber, makedev(8, 0));
    EXPECT_EQ(platform::ReadDiskFacts("usb3").bus, "");  // the folder name "usb3" is not a bus
    EXPECT_EQ(platform::ReadDiskFacts("nosuch").deviceNumber, 0u);
    EXPECT_EQ(platform::ReadDiskFacts("../sda").deviceNumber, 0u);

    const std::vector<platform::KernelPartition> parts = platform::ReadKernelPartitions("sda");
    ASSERT_EQ(parts.size(), 2u);
    EXPECT_EQ(parts[0].name, "sda1");
    EXPECT_EQ(parts[0].startSector, 2048);
    EXPECT_EQ(parts[0].sectors, 2048);
    EXPECT_EQ(parts[0].deviceNumber, makedev(8, 1));
    EXPECT_EQ(parts[0].devicePath, system.devRoot() + "/sda1");
    EXPECT_EQ(parts[1].name, "sda2");
    EXPECT_TRUE(platform::ReadKernelPartitions("nosuch").empty());
}

TEST(BlockTopology, ExtentsUnderABlockDevice) {
    test::FakeSystem system;
    system.AddDisk("sda", {"8:0", 8192, "", "", ""});
    system.AddPartition("sda", "sda1", 2048, 2048, "8:1");
    system.AddPartition("sda", "sda2", 4096, 4096, "8:2");
    system.AddDisk("sdb", {"8:16", 1000, "", "", ""});
    system.AddStackedDevice("dm-0", "253:0", {"sda2", "sdb"});
    system.AddStackedDevice("dm-1", "253:1", {"dm-0"});
    system.AddStackedDevice("dm-2", "253:2", {"dm-3"});  // a loop of slaves ends
    system.AddStackedDevice("dm-3", "253:3", {"dm-2"});

    using Extents = std::vector<std::string>;
    auto resolve = [](unsigned major, unsigned minor) {
        Extents out;
        for (const platform::BlockExtent& x : platform::ResolveBlockExtents(makedev(major, minor)))
            out.push_back(x.diskName + ":" + std::to_string(x.startSector) + "+" + std::to_string(x.sectors));
        return out;
    };
    EXPECT_EQ(resolve(8, 1), (Extents{"sda:2048+2048"}));
    EXPECT_EQ(resolve(8, 0), (Extents{"sda:0+8192"}));
    EXPECT_EQ(resolve(253, 0), (Extents{"sda:4096+4096", "sdb:0+1000"}));
    EXPECT_EQ(resolve(253, 1), (Extents{"sda:4096+4096", "sdb:0+1000"}));
    EXPECT_TRUE(resolve(253, 2).empty());
    EXPECT_TRUE(resolve(9, 9).empty());
    EXPECT_EQ(platform::ReadDeviceNumber("dm-0"), makedev(253, 0));
    EXPECT_EQ(platform::FloppyDevicePath(1), system.devRoot() + "/fd1");
}

}  // namespace
}  // namespace keldrin
