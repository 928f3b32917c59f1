// The machine's disk list, read from a fake sysfs tree.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "platform/DiskList.h"
#include "tests/devices/DeviceTestSupport.h"

namespace keldrin {
namespace {

std::vector<std::string> Names(const platform::DiskList& list) {
    std::vector<std::string> names;
    for (const platform::DiskEntry& d : list.Disks()) names.push_back(d.name);
    return names;
}

TEST(DiskList, WholeDisksOfAFakeSysfsInDiskOrder) {
    test::FakeSystem system;
    for (const char* name :
         {"sdb",     "sdaa",    "sda",      "sdz",     "nvme1n1", "nvme0n10",     "nvme0n2",
          "nvme0n1", "mmcblk0", "mmcblk10", "mmcblk2", "vda",     "xvda",         "hda",
          "sr0",     "dm-0",    "md0",      "zram0",   "ram0",    "mmcblk0boot0", "nvme0n1p1",
          "nvme0",   "sd",      "sda1",     "loop"})
        system.AddBlockEntry(name);
    system.AddBlockEntry("loop0");  // detached
    system.AddBlockEntry("loop10", "/images/ten.img");
    system.AddBlockEntry("loop2", "/images/two.img (deleted)");
    system.AddPartition("sda", "sda1");
    system.AddPartition("nvme0n1", "nvme0n1p1");
    system.AddPartition("mmcblk0", "mmcblk0p1");
    // A disk-shaped name that the kernel marks as a partition is not a disk either.
    system.AddBlockEntry("sdc");
    std::ofstream(std::filesystem::path(system.sysRoot()) / "block" / "sdc" / "partition") << "1\n";
    // A loop entry with an empty backing file is detached.
    system.AddBlockEntry("loop3");
    std::filesystem::create_directories(std::filesystem::path(system.sysRoot()) / "block" / "loop3" / "loop");
    std::ofstream(std::filesystem::path(system.sysRoot()) / "block" / "loop3" / "loop" / "backing_file");

    const platform::DiskList list;
    // Attached images come last, so attaching one never renumbers a real disk.
    EXPECT_EQ(Names(list), (std::vector<std::string>{"hda", "mmcblk0", "mmcblk2", "mmcblk10", "nvme0n1",
                                                     "nvme0n2", "nvme0n10", "nvme1n1", "sda", "sdb", "sdz",
                                                     "sdaa", "vda", "xvda", "loop2", "loop10"}));
    EXPECT_EQ(list.DevicePath(0), system.devRoot() + "/hda");
    EXPECT_EQ(list.DevicePath(13), system.devRoot() + "/xvda");
    EXPECT_TRUE(list.DevicePath(16).empty());
    EXPECT_TRUE(list.DevicePath(-1).empty());

    // The explicit roots read the same tree.
    EXPECT_EQ(Names(platform::DiskList(system.sysRoot(), system.devRoot())), Names(list));
}

TEST(DiskList, MissingSysfsGivesAnEmptyList) {
    test::TempDir dir;
    const platform::DiskList list((dir.path() / "nosys").string(), "/dev");
    EXPECT_EQ(list.Count(), 0u);
    EXPECT_TRUE(list.DevicePath(0).empty());
}

TEST(DiskList, NameOrder) {
    struct Case {
        const char* a;
        const char* b;
    } ascending[] = {
        {"sda", "sdb"},          {"sdz", "sdaa"},         {"sdaz", "sdba"},        {"loop2", "loop10"},
        {"nvme0n2", "nvme0n10"}, {"nvme0n10", "nvme1n1"}, {"nvme9n1", "nvme10n1"}, {"mmcblk9", "mmcblk10"},
        {"hda", "loop0"},        {"xvda", "loop0"},       {"sdzz", "vda"},         {"vdz", "xvda"},
        {"loop01", "loop2"},     {"xvda", "dm-0"},
    };
    for (const Case& c : ascending) {
        EXPECT_TRUE(platform::DiskNameLess(c.a, c.b)) << c.a << " < " << c.b;
        EXPECT_FALSE(platform::DiskNameLess(c.b, c.a)) << c.b << " < " << c.a;
    }
    EXPECT_FALSE(platform::DiskNameLess("sda", "sda"));
}

TEST(DiskList, WholeDiskNames) {
    for (const char* name : {"sda", "sdaa", "vdb", "hdc", "xvdd", "nvme0n1", "nvme12n3", "mmcblk0", "loop7"})
        EXPECT_TRUE(platform::IsWholeDiskName(name)) << name;
    for (const char* name : {"sda1", "sd", "sdA", "nvme0n1p2", "nvme0", "nvmen1", "mmcblk0p1", "mmcblk0boot0",
                             "mmcblk", "loop", "loopa", "sr0", "dm-0", "md127", "", "xvd1"})
        EXPECT_FALSE(platform::IsWholeDiskName(name)) << name;
}

}  // namespace
}  // namespace keldrin
