// Whole disks over the read-only file reader, with a fake disk list whose device nodes are
// small image files.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "engine/devices/DiskDevice.h"
#include "tests/devices/DeviceTestSupport.h"

namespace keldrin {
namespace {

std::vector<unsigned char> WithSignature(std::vector<unsigned char> bytes, uint32_t signature) {
    for (int i = 0; i < 4; ++i) bytes[440 + i] = static_cast<unsigned char>(signature >> (8 * i));
    return bytes;
}

TEST(DiskDevice, NumberOpensTheNthDiskOfTheList) {
    test::FakeSystem system;
    system.AddBlockEntry("sdb");
    system.AddBlockEntry("sda");
    system.AddBlockEntry("loop0");  // detached: not a disk
    system.AddPartition("sda", "sda1");
    system.AddDeviceFile("sda", test::Pattern(0, 16));
    system.AddDeviceFile("sdb", test::Pattern(100, 24));

    CDiskDevice first(0);
    ASSERT_TRUE(first.IsOpen());
    EXPECT_EQ(first.GetDiskNumber(), 0);
    EXPECT_EQ(first.GetDevicePath(), system.devRoot() + "/sda");
    EXPECT_EQ(first.GetTotalSectors(), 16);
    std::vector<unsigned char> buffer(2 * kSectorSize);
    ASSERT_TRUE(first.ReadSectors(buffer.data(), 14, 2));
    EXPECT_EQ(buffer, test::Pattern(14, 2));

    CDiskDevice second(1);
    ASSERT_TRUE(second.IsOpen());
    EXPECT_EQ(second.GetDiskNumber(), 1);
    EXPECT_EQ(second.GetTotalSectors(), 24);
    ASSERT_TRUE(second.ReadSectors(buffer.data(), 0, 1));
    EXPECT_EQ(std::vector<unsigned char>(buffer.begin(), buffer.begin() + kSectorSize),
              test::Pattern(100, 1));

    for (int unlisted : {2, -1, 1000}) {
        CDiskDevice none(unlisted);
        EXPECT_FALSE(none.IsOpen()) << unlisted;
        EXPECT_EQ(none.GetDiskNumber(), -1) << unlisted;
        EXPECT_TRUE(none.GetDevicePath().empty()) << unlisted;
        EXPECT_EQ(none.GetTotalSectors(), 0) << unlisted;
    }
}

TEST(DiskDevice, EveryListedDiskOpensEvenPastTwenty) {
    test::FakeSystem system;
    for (char c = 'a'; c <= 'z'; ++c) {
        const std::string name = std::string("sd") + c;
        system.AddBlockEntry(name);
        system.AddDeviceFile(name, test::Pattern(0, 1));
    }
    CDiskDevice last(25);
    EXPECT_TRUE(last.IsOpen());
    EXPECT_EQ(last.GetDiskNumber(), 25);
    EXPECT_EQ(last.GetDevicePath(), system.devRoot() + "/sdz");
}

TEST(DiskDevice, ListedButUnreadableDiskKeepsItsNumber) {
    test::FakeSystem system;
    system.AddBlockEntry("sda");  // no device node
    CDiskDevice disk(0);
    EXPECT_FALSE(disk.IsOpen());
    EXPECT_EQ(disk.GetDiskNumber(), 0);
}

TEST(DiskDevice, SignatureIsTheLittleEndianWordAtByte440) {
    test::ScopedIgnoreBadSectors ignore(false);
    test::FakeSystem system;
    system.AddBlockEntry("sda");
    system.AddBlockEntry("sdb");
    system.AddBlockEntry("sdc");
    system.AddDeviceFile("sda", WithSignature(test::Pattern(0, 4), 0x12345678));
    system.AddDeviceFile("sdb", WithSignature(test::Pattern(0, 4), 0xFFFFFFFF));
    system.AddDeviceFile("sdc", {});
    EXPECT_EQ(CDiskDevice(0).GetDiskSignature(), 0x12345678);
    // All ones is a signature like any other, distinct from the failure answer.
    EXPECT_EQ(CDiskDevice(1).GetDiskSignature(), 0xFFFFFFFFll);
    EXPECT_EQ(CDiskDevice(2).GetDiskSignature(), -1);
    EXPECT_EQ(CDiskDevice(3).GetDiskSignature(), -1);
}

TEST(DiskDevice, GeometryOfAnImageIsTheFallbackGeometry) {
    test::FakeSystem system;
    system.AddBlockEntry("sda");
    constexpr int64_t kSectors = 2 * 255 * 63 + 40;  // two cylinders and a bit
    system.AddDeviceFile("sda", std::vector<unsigned char>(kSectors * kSectorSize));
    CDiskDevice disk(0);
    DiskGeometry g;
    ASSERT_TRUE(disk.GetGeometry(g));
    EXPECT_EQ(g.cylinders, 2);
    EXPECT_EQ(g.tracksPerCylinder, 255u);
    EXPECT_EQ(g.sectorsPerTrack, 63u);
    EXPECT_EQ(g.bytesPerSector, 512u);
    EXPECT_EQ(g.mediaType, kMediaFixed);
    EXPECT_EQ(disk.GetHeadsPerCylinder(), 255);
    // The size is exact, not rounded down to whole cylinders.
    EXPECT_EQ(disk.GetTotalSectors(), kSectors);

    CDiskDevice none(5);
    EXPECT_FALSE(none.GetGeometry(g));
    EXPECT_EQ(none.GetHeadsPerCylinder(), kDefaultHeadsPerCylinder);
}

TEST(DiskDevice, PartialLastSectorOfAnImageDisk) {
    test::ScopedIgnoreBadSectors ignore(false);
    test::FakeSystem system;
    system.AddBlockEntry("sda");
    std::vector<unsigned char> bytes = test::Pattern(0, 4);
    bytes.resize(3 * kSectorSize + 100);
    system.AddDeviceFile("sda", bytes);
    CDiskDevice disk(0);
    EXPECT_EQ(disk.GetTotalSectors(), 3);
    std::vector<unsigned char> buffer(3 * kSectorSize, 0xAA);
    ASSERT_TRUE(disk.ReadSectors(buffer.data(), 3, 1));
    EXPECT_TRUE(std::equal(buffer.begin(), buffer.begin() + 100, bytes.begin() + 3 * kSectorSize));
    EXPECT_TRUE(test::IsZero(buffer.data() + 100, kSectorSize - 100));
    // A read that comes back a whole sector short fails.
    EXPECT_FALSE(disk.ReadSectors(buffer.data(), 2, 3));
}

TEST(DiskDevice, TwoThreadsReadOneDisk) {
    test::FakeSystem system;
    system.AddBlockEntry("sda");
    system.AddDeviceFile("sda", test::Pattern(0, 64));
    CDiskDevice disk(0);
    auto work = [&](int64_t offset) {
        std::vector<unsigned char> buffer(4 * kSectorSize);
        for (int i = 0; i < 500; ++i) {
            const int64_t first = (offset + i) % 60;
            if (!disk.ReadSectors(buffer.data(), first, 4) || buffer != test::Pattern(first, 4)) return false;
        }
        return true;
    };
    bool okA = false, okB = false;
    std::thread a([&] { okA = work(0); });
    std::thread b([&] { okB = work(31); });
    a.join();
    b.join();
    EXPECT_TRUE(okA);
    EXPECT_TRUE(okB);
}

}  // namespace
}  // namespace keldrin
