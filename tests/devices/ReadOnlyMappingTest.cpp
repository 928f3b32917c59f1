#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <vector>

#include "engine/devices/ReadOnlyMapping.h"
#include "tests/devices/DeviceTestSupport.h"

namespace keldrin {
namespace {

// A file of 20 pattern sectors and 100 bytes more, opened read-only as a scan opens its source.
struct MappedFile {
    MappedFile() : bytes(test::Pattern(0, 20)) {
        bytes.resize(bytes.size() + 100, 0x5A);
        fd = open(dir.WriteFile("image", bytes).c_str(), O_RDONLY | O_CLOEXEC);
    }
    ~MappedFile() {
        if (fd >= 0) close(fd);
    }
    test::TempDir dir;
    std::vector<unsigned char> bytes;
    int fd = -1;
};

TEST(ReadOnlyMapping, MapsRangesInsideTheFileOnly) {
    MappedFile file;
    ASSERT_GE(file.fd, 0);
    const auto size = static_cast<int64_t>(file.bytes.size());
    struct Case {
        int64_t offset, length;
        bool maps;
    } cases[] = {
        {0, size, true},     {512 * 3, 512 * 5, true}, {1000, size - 1000, true},  // unaligned
        {size - 1, 1, true}, {0, size + 1, false},     {size, 1, false},
        {0, 0, false},       {-1, 10, false},          {INT64_MAX, INT64_MAX, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.offset << "+" << c.length);
        CReadOnlyMapping mapping;
        ASSERT_EQ(mapping.Map(file.fd, c.offset, c.length), c.maps);
        if (!c.maps) {
            EXPECT_EQ(mapping.Data(), nullptr);
            EXPECT_FALSE(mapping.Populate(0, 1));
            continue;
        }
        ASSERT_EQ(mapping.Size(), c.length);
        EXPECT_EQ(std::memcmp(mapping.Data(), file.bytes.data() + c.offset, static_cast<size_t>(c.length)),
                  0);
        EXPECT_TRUE(mapping.Populate(0, c.length));
        EXPECT_TRUE(mapping.Populate(c.length - 1, 1));
        EXPECT_FALSE(mapping.Populate(c.length - 1, 2));
        EXPECT_FALSE(mapping.Populate(-1, 1));
        EXPECT_FALSE(mapping.Populate(0, 0));
    }
}

TEST(ReadOnlyMapping, RefusesWhatIsNoRegularFile) {
    int pipeEnds[2];
    ASSERT_EQ(pipe(pipeEnds), 0);
    CReadOnlyMapping mapping;
    EXPECT_FALSE(mapping.Map(pipeEnds[0], 0, 1));
    EXPECT_FALSE(mapping.Map(-1, 0, 1));
    close(pipeEnds[0]);
    close(pipeEnds[1]);
    // A mapping made again lets go of the former one.
    MappedFile file;
    ASSERT_TRUE(mapping.Map(file.fd, 0, 512));
    ASSERT_TRUE(mapping.Map(file.fd, 512, 512));
    EXPECT_EQ(std::memcmp(mapping.Data(), file.bytes.data() + 512, 512), 0);
    mapping.Unmap();
    EXPECT_EQ(mapping.Data(), nullptr);
    EXPECT_EQ(mapping.Size(), 0);
}

}  // namespace
}  // namespace keldrin
