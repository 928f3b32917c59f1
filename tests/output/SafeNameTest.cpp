#include <gtest/gtest.h>

#include "engine/output/SafeName.h"

namespace keldrin::output {
namespace {

TEST(SafeFileName, NamesNeverLeaveTheirFolder) {
    struct Case {
        std::string in;
        std::string out;
    };
    const Case cases[] = {
        {"report.doc", "report.doc"},
        {"..", "_.."},
        {".", "_."},
        {"", "_"},
        {"../../etc/passwd", ".._.._etc_passwd"},
        {"/abs", "_abs"},
        {std::string("nul\0byte", 8), "nul_byte"},
        {"Größe.txt", "Größe.txt"},
    };
    for (const Case& c : cases) EXPECT_EQ(SafeFileName(c.in), c.out) << c.in;
}

TEST(SafeFileName, LongNamesAreCutOnACharacterKeepingTheExtension) {
    std::string name;
    for (int i = 0; i < 200; ++i) name += "ä";  // 400 bytes
    const std::string safe = SafeFileName(name + ".jpeg");
    EXPECT_LE(safe.size(), kMaxNameBytes);
    EXPECT_EQ(safe.substr(safe.size() - 5), ".jpeg");
    EXPECT_EQ(safe.size() % 2, 1u);  // whole two-byte letters plus ".jpeg"
    // A "." far from the end is no extension to keep.
    const std::string dotted = SafeFileName("a." + std::string(300, 'b'));
    EXPECT_EQ(dotted.size(), kMaxNameBytes);
    EXPECT_EQ(dotted.substr(0, 3), "a.b");
}

}  // namespace
}  // namespace keldrin::output
