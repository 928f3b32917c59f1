// The read-only raw handle of the platform layer.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <utility>
#include <vector>

#include "platform/BlockDevice.h"
#include "tests/devices/DeviceTestSupport.h"

namespace keldrin {
namespace {

TEST(BlockDevice, ReadsAFileAtAnyOffsetAndStopsAtItsEnd) {
    test::TempDir dir;
    const std::vector<unsigned char> bytes = test::Pattern(0, 3);
    platform::BlockDevice file;
    ASSERT_TRUE(file.Open(dir.WriteFile("a.img", bytes)));
    EXPECT_FALSE(file.IsBlockDevice());
    EXPECT_EQ(file.SizeBytes(), 3 * 512);
    std::vector<unsigned char> buffer(1000);
    EXPECT_EQ(file.ReadAt(buffer.data(), 1000, 1000), 536);
    EXPECT_TRUE(std::equal(buffer.begin(), buffer.begin() + 536, bytes.begin() + 1000));
    EXPECT_EQ(file.ReadAt(buffer.data(), 10, 1536), 0);
    EXPECT_EQ(file.ReadAt(buffer.data(), 10, -1), -1);
    EXPECT_EQ(file.ReadAt(buffer.data(), 0, 5), 0);
}

TEST(BlockDevice, RefusesWhatIsNeitherAFileNorABlockDevice) {
    test::TempDir dir;
    const std::string fifo = (dir.path() / "pipe").string();
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    platform::BlockDevice device;
    for (const std::string& path : {std::string(), fifo, dir.path().string(), std::string("/dev/null"),
                                    (dir.path() / "missing").string()}) {
        EXPECT_FALSE(device.Open(path)) << path;
        EXPECT_FALSE(device.IsOpen());
        EXPECT_EQ(device.SizeBytes(), -1);
        platform::BlockGeometry g;
        EXPECT_FALSE(device.GetGeometry(g));
    }
}

TEST(BlockDevice, FileGeometryIsDerivedFromItsSize) {
    test::TempDir dir;
    platform::BlockDevice file;
    ASSERT_TRUE(file.Open(dir.WriteFile("g.img", std::vector<unsigned char>(3 * 16065 * 512 - 512))));
    platform::BlockGeometry g;
    ASSERT_TRUE(file.GetGeometry(g));
    EXPECT_EQ(g.heads, platform::kFallbackHeads);
    EXPECT_EQ(g.sectorsPerTrack, platform::kFallbackSectorsPerTrack);
    EXPECT_EQ(g.cylinders, 2);
    EXPECT_EQ(g.bytesPerSector, 512u);
}

TEST(BlockDevice, OwnershipMovesAndReopeningClosesTheOldHandle) {
    test::TempDir dir;
    platform::BlockDevice a;
    ASSERT_TRUE(a.Open(dir.WriteFile("one", test::Pattern(0, 1))));
    platform::BlockDevice b(std::move(a));
    EXPECT_FALSE(a.IsOpen());
    EXPECT_EQ(b.SizeBytes(), 512);
    ASSERT_TRUE(b.Open(dir.WriteFile("two", test::Pattern(0, 2))));
    EXPECT_EQ(b.SizeBytes(), 1024);
    EXPECT_FALSE(b.Open(dir.path().string()));
    EXPECT_FALSE(b.IsOpen());
}

}  // namespace
}  // namespace keldrin
