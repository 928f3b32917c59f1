// An image attached read-only as a loop disk is found through the real /sys with its partitions. Runs
// only as root where losetup works; skips otherwise.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "engine/devices/DiskCollector.h"
#include "engine/devices/VolumeCollector.h"
#include "tests/devices/DeviceTestSupport.h"
#include "tests/devices/PartitionFixtures.h"

namespace keldrin {
namespace {

std::string RunForLine(const std::string& command) {
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return {};
    char line[256] = {};
    const bool got = std::fgets(line, sizeof line, pipe) != nullptr;
    const int status = ::pclose(pipe);
    if (!got || status != 0) return {};
    std::string text = line;
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
    return text;
}

// The loop device, detached again at the end of the test.
class AttachedImage {
  public:
    explicit AttachedImage(const std::string& image) {
        // -P asks the kernel for the partition devices too, where it can make them.
        device_ = RunForLine("losetup -r -f --show -P '" + image + "' 2>/dev/null");
        if (device_.rfind("/dev/loop", 0) != 0) device_.clear();
    }
    ~AttachedImage() {
        if (!device_.empty()) std::system(("losetup -d " + device_ + " 2>/dev/null").c_str());
    }
    const std::string& device() const { return device_; }

  private:
    std::string device_;
};

TEST(LoopDisk, AttachedImageIsADiskWithItsPartitions) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root for losetup";
    test::TempDir dir;
    test::DiskImage image(8192);
    image.SetMbrEntry(0, 0, 0x06, 2048, 2048);
    image.SetMbrEntry(0, 1, 0x05, 4096, 4096);
    image.SetMbrEntry(4096, 0, 0x83, 2048, 2048);
    image.WriteVolume(2048, kFsFat16, 2048, "LOOPFAT");
    image.WriteVolume(6144, kFsExt2, 2048, "loopext");
    const std::string path = dir.WriteFile("loop.img", image.Bytes());

    const AttachedImage attached(path);
    if (attached.device().empty()) GTEST_SKIP() << "losetup cannot attach an image here";
    const std::string name = std::filesystem::path(attached.device()).filename().string();
    std::string ro;
    std::ifstream("/sys/block/" + name + "/ro") >> ro;
    EXPECT_EQ(ro, "1");

    DiskDeviceList all;
    CCollectDiskDevice::CollectDiskDevice(all);
    DiskDeviceList disks;
    for (StorageDisk& disk : all)
        if (disk.devicePath == attached.device()) disks.push_back(std::move(disk));
    ASSERT_EQ(disks.size(), 1u) << attached.device() << " is not in the disk list";
    EXPECT_EQ(disks[0].kernelName, name);
    EXPECT_EQ(disks[0].device->GetTotalSectors(), 8192);

    VolumeList entries;
    CCollectBasicPartition::CollectBasicPartition(disks, entries, test::FakeIdentifier());
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].partitionNumber, 1);
    EXPECT_EQ(entries[0].label, "LOOPFAT");
    EXPECT_EQ(entries[0].members[0].startSector, 2048);
    EXPECT_EQ(entries[1].partitionNumber, 5);
    EXPECT_EQ(entries[1].label, "loopext");
    EXPECT_EQ(entries[1].members[0].startSector, 6144);
    // Where the kernel made partition devices, each entry is matched to its own.
    if (std::filesystem::exists("/sys/block/" + name + "/" + name + "p1")) {
        EXPECT_EQ(entries[0].devicePath, attached.device() + "p1");
        EXPECT_EQ(entries[1].devicePath, attached.device() + "p5");
    }
}

}  // namespace
}  // namespace keldrin
