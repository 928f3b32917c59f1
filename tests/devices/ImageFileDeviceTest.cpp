#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "engine/devices/ImageFileDevice.h"
#include "tests/devices/DeviceTestSupport.h"

namespace keldrin {
namespace {

TEST(ImageFileDevice, ReadsWholeSectorsUpToTheExactEnd) {
    test::TempDir dir;
    CImageFileDevice image(dir.WriteFile("disk.img", test::Pattern(0, 10)));
    ASSERT_TRUE(image.IsOpen());
    EXPECT_EQ(image.GetTotalSectors(), 10);
    std::vector<unsigned char> buffer(10 * kSectorSize);
    ASSERT_TRUE(image.ReadSectors(buffer.data(), 0, 10));
    EXPECT_EQ(buffer, test::Pattern(0, 10));
    ASSERT_TRUE(image.ReadSectors(buffer.data(), 9, 1));
    EXPECT_TRUE(std::equal(buffer.begin(), buffer.begin() + kSectorSize, test::Pattern(9, 1).begin()));
    EXPECT_TRUE(image.ReadSectors(buffer.data(), 10, 0));
}

TEST(ImageFileDevice, ShortReadsFail) {
    test::TempDir dir;
    std::vector<unsigned char> bytes = test::Pattern(0, 4);
    bytes.resize(3 * kSectorSize + 100);
    CImageFileDevice image(dir.WriteFile("odd.img", bytes));
    EXPECT_EQ(image.GetTotalSectors(), 3);
    std::vector<unsigned char> buffer(4 * kSectorSize);
    struct Case {
        int64_t first, count;
    } cases[] = {{2, 2}, {3, 1}, {4, 1}, {0, 4}, {-1, 1}, {0, -1}, {INT64_MAX / kSectorSize, 1}};
    for (const Case& c : cases) EXPECT_FALSE(image.ReadSectors(buffer.data(), c.first, c.count)) << c.first;
    EXPECT_TRUE(image.ReadSectors(buffer.data(), 0, 3));
}

TEST(ImageFileDevice, PathLimitAndUnopenableFiles) {
    test::TempDir dir;
    const std::string longest(PATH_MAX - 1, 'i');
    const std::string tooLong(PATH_MAX, 'i');
    EXPECT_EQ(CImageFileDevice(longest).GetPath(), longest);
    for (const std::string& path : {std::string(), tooLong}) {
        CImageFileDevice image(path);
        EXPECT_TRUE(image.GetPath().empty());
        EXPECT_FALSE(image.IsOpen());
        EXPECT_FALSE(image.Open());
    }
    for (const std::string& path : {longest, (dir.path() / "missing.img").string(), dir.path().string()}) {
        CImageFileDevice image(path);
        EXPECT_FALSE(image.IsOpen());
        EXPECT_EQ(image.GetTotalSectors(), 0);
        unsigned char buffer[kSectorSize];
        EXPECT_FALSE(image.ReadSectors(buffer, 0, 1));
    }
}

TEST(ImageFileDevice, CloseAndReopen) {
    test::TempDir dir;
    CImageFileDevice image(dir.WriteFile("disk.img", test::Pattern(0, 2)));
    EXPECT_TRUE(image.Close());
    unsigned char buffer[kSectorSize];
    EXPECT_FALSE(image.ReadSectors(buffer, 0, 1));
    EXPECT_EQ(image.GetTotalSectors(), 0);
    ASSERT_TRUE(image.Open());
    EXPECT_TRUE(image.ReadSectors(buffer, 1, 1));
}

}  // namespace
}  // namespace keldrin
