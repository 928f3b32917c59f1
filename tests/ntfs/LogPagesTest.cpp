#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "engine/ntfs/LogPages.h"
#include "tests/ntfs/NtfsBuilders.h"

namespace keldrin::ntfs {
namespace {

using test::Bytes;

Bytes RestartPage() {
    Bytes p(4096);
    std::memcpy(p.data(), "RSTR", 4);
    test::Put16(p, 4, 30);
    test::Put16(p, 6, 9);
    const char16_t* name = u"NTFS";
    for (int i = 0; i < 4; ++i) test::Put16(p, 144 + 2 * i, name[i]);
    test::ProtectStrides(p, 30, 8, 0x0003);
    return p;
}

Bytes LogRecordPage() {
    Bytes p(4096);
    std::memcpy(p.data(), "RCRD", 4);
    test::Put16(p, 4, 40);
    test::Put16(p, 6, 9);
    test::ProtectStrides(p, 40, 8, 0x0011);
    return p;
}

TEST(LogPages, RestartPage) {
    EXPECT_TRUE(IsValidRestartPage(RestartPage()));
    struct Case {
        const char* what;
        std::function<void(Bytes&)> spoil;
    } cases[] = {
        {"2048 bytes", [](Bytes& p) { p.resize(2048); }},
        {"magic", [](Bytes& p) { p[3] = 'T'; }},
        {"client name", [](Bytes& p) { p[150] = 'X'; }},
        {"last sector end", [](Bytes& p) { p[4095] ^= 1; }},
        {"too short for the magic", [](Bytes& p) { p.resize(100); }},
    };
    for (const Case& c : cases) {
        Bytes p = RestartPage();
        c.spoil(p);
        EXPECT_FALSE(IsValidRestartPage(p)) << c.what;
    }
}

TEST(LogPages, LogRecordPage) {
    EXPECT_TRUE(IsLogRecordPage(LogRecordPage()));
    EXPECT_FALSE(IsLogRecordPage(RestartPage()));
    struct Case {
        const char* what;
        std::function<void(Bytes&)> spoil;
    } cases[] = {
        {"count 8", [](Bytes& p) { test::Put16(p, 6, 8); }},
        {"offset 48", [](Bytes& p) { test::Put16(p, 4, 48); }},
        {"a sector end", [](Bytes& p) { p[1534] ^= 1; }},
        {"one sector short", [](Bytes& p) { p.resize(3584); }},
    };
    for (const Case& c : cases) {
        Bytes p = LogRecordPage();
        c.spoil(p);
        EXPECT_FALSE(IsLogRecordPage(p)) << c.what;
    }
}

}  // namespace
}  // namespace keldrin::ntfs
