#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "engine/output/EfsRaw.h"

namespace keldrin::output {
namespace {

uint32_t U32(const uint8_t* p) {
    uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
}
std::string Letters(const uint8_t* p, size_t count) {
    std::string s;
    for (size_t i = 0; i < count; ++i) s += p[2 * i + 1] == 0 ? static_cast<char>(p[2 * i]) : '?';
    return s;
}

TEST(EfsRaw, HeadersCarryTheirFieldsWhereWindowsReadsThem) {
    const auto stream = EfsStreamHeader(300);
    EXPECT_EQ(U32(&stream[0]), 256u);
    EXPECT_EQ(Letters(&stream[4], 4), "ROBS");
    EXPECT_EQ(U32(&stream[20]), 30u);
    EXPECT_EQ(Letters(&stream[24], 4), "NTFS");
    EXPECT_EQ(U32(&stream[44]), 2u);
    EXPECT_EQ(stream[48] | stream[49] << 8, 0x1910);
    EXPECT_EQ(U32(&stream[50]), 316u);
    EXPECT_EQ(Letters(&stream[54], 4), "GURE");

    const auto data = EfsDataStreamHeader();
    EXPECT_EQ(U32(&data[0]), 42u);
    EXPECT_EQ(U32(&data[24]), 14u);
    EXPECT_EQ(Letters(&data[28], 7), "::$DATA");

    const auto block = EfsBlockHeader(3, 65536, 1000);
    EXPECT_EQ(U32(&block[0]), 65536u + 512);
    EXPECT_EQ(Letters(&block[4], 4), "GURE");
    EXPECT_EQ(block[18] | block[19] << 8, 3);
    EXPECT_EQ(U32(&block[24]), 496u);
    EXPECT_EQ(U32(&block[28]), 1000u);  // the file ends inside this block
    EXPECT_EQ(U32(&block[32]), 1000u);
    EXPECT_EQ(U32(&block[36]), 0x10100000u);
    EXPECT_EQ(U32(&block[40]), 0x0001010Bu);
    EXPECT_EQ(U32(&block[44]), 65536u);
}

}  // namespace
}  // namespace keldrin::output
