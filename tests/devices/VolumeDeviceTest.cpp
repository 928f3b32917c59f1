#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "engine/devices/VolumeDevice.h"
#include "tests/devices/DeviceTestSupport.h"

namespace keldrin {
namespace {

TEST(VolumeDevice, OpensItsPathReadOnly) {
    test::TempDir dir;
    const std::string path = dir.WriteFile("part1", test::Pattern(0, 10));
    CVolumeDevice volume(path);
    ASSERT_TRUE(volume.IsOpen());
    EXPECT_EQ(volume.GetPath(), path);
    EXPECT_EQ(volume.GetTotalSectors(), 10);
    std::vector<unsigned char> buffer(2 * kSectorSize);
    ASSERT_TRUE(volume.ReadSectors(buffer.data(), 8, 2));
    EXPECT_EQ(buffer, test::Pattern(8, 2));
    DiskGeometry g;
    EXPECT_TRUE(volume.GetGeometry(g));
}

TEST(VolumeDevice, PathsThatDoNotOpen) {
    test::TempDir dir;
    const std::string tooLong(PATH_MAX, 'v');
    for (const std::string& path :
         {std::string(), tooLong, (dir.path() / "missing").string(), dir.path().string()}) {
        CVolumeDevice volume(path);
        EXPECT_FALSE(volume.IsOpen()) << path.substr(0, 60);
        EXPECT_FALSE(volume.Open());
        EXPECT_EQ(volume.GetTotalSectors(), 0);
        DiskGeometry g;
        EXPECT_FALSE(volume.GetGeometry(g));
    }
}

TEST(VolumeDevice, FreeSpaceComesFromTheMountPoint) {
    test::TempDir dir;
    const std::string path = dir.WriteFile("part1", test::Pattern(0, 1));
    EXPECT_GE(CVolumeDevice(path, dir.path().string()).GetFreeSpace(), 0);
    EXPECT_EQ(CVolumeDevice(path).GetFreeSpace(), -1);
    EXPECT_EQ(CVolumeDevice(path, (dir.path() / "nowhere").string()).GetFreeSpace(), -1);
}

}  // namespace
}  // namespace keldrin
