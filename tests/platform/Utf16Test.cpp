#include <gtest/gtest.h>

#include <vector>

#include "platform/Utf16.h"

namespace keldrin::platform {
namespace {

std::vector<uint8_t> Le(std::initializer_list<uint16_t> units) {
    std::vector<uint8_t> out;
    for (uint16_t u : units) {
        out.push_back(static_cast<uint8_t>(u));
        out.push_back(static_cast<uint8_t>(u >> 8));
    }
    return out;
}

TEST(Utf16, ConvertsWithoutLoss) {
    struct Case {
        std::vector<uint8_t> in;
        std::string out;
    } cases[] = {
        {Le({'a', 'B', '1'}), "aB1"},
        {Le({0x00FC, 'b', 'e', 'r'}),
         "\xC3\xBC"
         "ber"},                                             // ü
        {Le({0x0416}), "\xD0\x96"},                          // Cyrillic Zhe
        {Le({0x65E5, 0x672C}), "\xE6\x97\xA5\xE6\x9C\xAC"},  // Japanese
        {Le({0xD83D, 0xDE00}), "\xF0\x9F\x98\x80"},          // surrogate pair
        {Le({0xD83D, 'x'}), "_x"},                           // lone high surrogate
        {Le({'x', 0xDE00}), "x_"},                           // lone low surrogate
        {Le({0xD83D}), "_"},                                 // high surrogate at the end
        {Le({}), ""},
    };
    for (const Case& c : cases) EXPECT_EQ(Utf16LeToUtf8(c.in.data(), c.in.size() / 2), c.out);
}

TEST(Utf16, CharUnitsAgreeWithBytes) {
    const char16_t units[] = {u'K', 0x00E4, 0xD83D, 0xDE00};
    EXPECT_EQ(Utf16ToUtf8(units, 4), "K\xC3\xA4\xF0\x9F\x98\x80");
}

}  // namespace
}  // namespace keldrin::platform
