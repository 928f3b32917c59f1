#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/output/Lznt1.h"

namespace keldrin::output {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes Chunk(bool compressed, const Bytes& body) {
    const uint16_t header =
        static_cast<uint16_t>((compressed ? 0xB000 : 0x3000) | ((body.size() + 2 - 3) & 0x0FFF));
    Bytes out = {static_cast<uint8_t>(header), static_cast<uint8_t>(header >> 8)};
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

std::string Decode(const Bytes& unit, size_t capacity = 65536) {
    std::vector<uint8_t> out(capacity);
    const size_t n = DecompressLznt1Unit(unit, out);
    return std::string(out.begin(), out.begin() + static_cast<ptrdiff_t>(n));
}

TEST(Lznt1, LiteralsBackReferencesAndStoredChunks) {
    struct Case {
        const char* what;
        Bytes unit;
        std::string expected;
    };
    // 20 literals, then at position 20 a token with 11 length bits: displacement 20, length 5.
    Bytes far = {0x00, 'a', 'b', 'c', 'd', 'e',  'f', 'g', 'h', 0x00, 'i',  'j', 'k',
                 'l',  'm', 'n', 'o', 'p', 0x10, 'q', 'r', 's', 't',  0x02, 0x98};
    const Case cases[] = {
        {"literals only", Chunk(true, {0x00, 'k', 'e', 'l', 'd', 'r', 'i', 'n', '!'}), "keldrin!"},
        {"an overlapping back-reference", Chunk(true, {0x08, 'a', 'b', 'c', 0x06, 0x20}), "abcabcabcabc"},
        {"a wider displacement past position 16", Chunk(true, far), "abcdefghijklmnopqrstabcde"},
        {"a stored chunk", Chunk(false, {'p', 'l', 'a', 'i', 'n'}), "plain"},
    };
    for (const Case& c : cases) EXPECT_EQ(Decode(c.unit), c.expected) << c.what;
}

TEST(Lznt1, ChunksFollowAtFourKibStridesAndAZeroHeaderEndsTheUnit) {
    Bytes unit = Chunk(true, {0x00, 'o', 'n', 'e'});
    const Bytes second = Chunk(false, {'t', 'w', 'o'});
    unit.insert(unit.end(), second.begin(), second.end());
    unit.insert(unit.end(), {0, 0, 'x', 'x'});  // nothing after the end mark counts
    const std::string out = Decode(unit);
    // The short first chunk still stands for 4 KiB of the file: zeros, then the second chunk.
    ASSERT_EQ(out.size(), 4096u + 3);
    EXPECT_EQ(out.substr(0, 3), "one");
    EXPECT_EQ(out.substr(3, 4093), std::string(4093, '\0'));
    EXPECT_EQ(out.substr(4096), "two");
}

TEST(Lznt1, DamagedChunksReadNothingOutsideTheUnit) {
    // Claims 0xFFF + 3 bytes but holds 4: decodes what is there and ends.
    Bytes claimsTooMuch = {0xFF, 0xBF, 0x00, 'a', 'b'};
    EXPECT_EQ(Decode(claimsTooMuch), "ab");
    // A back-reference before any output gives zeros rather than reading before the chunk.
    EXPECT_EQ(Decode(Chunk(true, {0x01, 0x00, 0x00, 'z'})), std::string(3, '\0') + "z");
    // A token cut off by the end of the unit.
    EXPECT_EQ(Decode({0x04, 0xB0, 0x02, 'q', 0x01}), "q");
    // Output never passes the buffer, whatever the lengths say.
    EXPECT_EQ(Decode(Chunk(true, {0x02, 'a', 0xFF, 0x0F}), 10), std::string(10, 'a'));
    // Fewer than two bytes: nothing.
    EXPECT_EQ(Decode({0x05}), "");
}

}  // namespace
}  // namespace keldrin::output
