#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "engine/raw/RawByteReader.h"
#include "engine/raw/RawWalk.h"
#include "tests/raw_analysers/AnalyserTestSupport.h"

namespace keldrin::test {
namespace {

using namespace rawwalk;
using WalkTest = AnalyserTest;

TEST_F(WalkTest, FindEndMarkerMatchesCaselessStopsAtTheLimitAndFailsAtTheDataEnd) {
    struct Case {
        std::string text;  // from the file start; the device has 4 sectors
        int64_t limit;
        int answer;
        int64_t size;
    };
    const Case cases[] = {
        {"body</HTML>tail", 0, 1, 11},
        {"body</hTmL>", 0, 1, 11},
        {"</HTML>", 0, 1, 7},
        {std::string(600, 'x') + "</HTML>", 0, 1, 607},    // across the first sector
        {std::string(600, 'x') + "</HTML>", 100, 1, 101},  // passed the limit first
        {"no marker at all", 0, 0, -1},                    // the data end first
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 20));
        MemoryDevice device(4);
        device.Put(0, c.text);
        CRawByteReader reader(&device, 0);
        int64_t size = -1;
        EXPECT_EQ(FindEndMarker(reader, reinterpret_cast<const uint8_t*>("</HTML>"), 7, c.limit, size),
                  c.answer);
        EXPECT_EQ(size, c.size);
    }
}

TEST_F(WalkTest, FindEndMarkerStopsAtTheMaximalSize) {
    GetScanSettings().raw.maxFileSize = 1000;
    MemoryDevice device(8);
    CRawByteReader reader(&device, 0);
    int64_t size = 0;
    EXPECT_EQ(FindEndMarker(reader, reinterpret_cast<const uint8_t*>("EOF\r\n"), 5, 0, size), 1);
    EXPECT_EQ(size, 1001);
}

TEST_F(WalkTest, FindBytesSeesAcrossWindowsAndKeepsToItsRange) {
    const int64_t sectors = 2 * kRawWindowSectors;
    const uint8_t pattern[] = {0x68, 0x40, 0xF8, 0xF7, 0x92, 0x2A};
    MemoryDevice device(sectors);
    const int64_t acrossWindow = kRawWindowBytes - 3;
    device.Put(100, pattern, 3);  // only the first half of the pattern
    device.Put(acrossWindow, pattern, sizeof(pattern));
    struct Case {
        int64_t from, limit;
        int answer;
        int64_t found;
    };
    const Case cases[] = {
        {0, sectors * 512, 1, acrossWindow},
        {acrossWindow, acrossWindow, 1, acrossWindow},
        {acrossWindow + 1, sectors * 512, 0, -1},  // the data end first
        {0, acrossWindow - 1, 0, -1},              // the limit first
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.from);
        CRawByteReader reader(&device, 0);
        int64_t found = -1;
        EXPECT_EQ(FindBytes(reader, pattern, sizeof(pattern), c.from, c.limit, found), c.answer);
        EXPECT_EQ(found, c.found);
    }
}

TEST_F(WalkTest, ReadsGiveBothByteOrdersAndFailCleanlyPastTheData) {
    MemoryDevice device(2);
    const uint8_t bytes[] = {0x12, 0x34, 0x56, 0x78};
    device.Put(510, bytes, 4);  // across a sector
    device.Put(1022, bytes, 2);
    CRawByteReader reader(&device, 0);
    uint32_t v = 7;
    EXPECT_TRUE(ReadLe32(reader, 510, v));
    EXPECT_EQ(v, 0x78563412u);
    EXPECT_TRUE(ReadBe32(reader, 510, v));
    EXPECT_EQ(v, 0x12345678u);
    EXPECT_TRUE(ReadBe16(reader, 1022, v));
    EXPECT_EQ(v, 0x1234u);
    EXPECT_TRUE(ReadLe16(reader, 1022, v));
    EXPECT_EQ(v, 0x3412u);
    v = 7;
    EXPECT_FALSE(ReadLe32(reader, 1022, v));  // two bytes beyond the device
    EXPECT_FALSE(ReadBe16(reader, 1024, v));
    EXPECT_FALSE(ReadU8(reader, -1, v));
    EXPECT_EQ(v, 7u);
    EXPECT_TRUE(MatchAt(reader, 510, "\x12\x34", 2, false));
    EXPECT_FALSE(MatchAt(reader, 1023, "\x34\x00", 2, false));
}

}  // namespace
}  // namespace keldrin::test
