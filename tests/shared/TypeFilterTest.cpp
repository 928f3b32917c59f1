#include <gtest/gtest.h>

#include <thread>

#include "shared/TypeFilter.h"

namespace keldrin {
namespace {

TEST(TypeFilter, OffUntilSetAndAgainWhenCleared) {
    FileTypeFilter f;
    EXPECT_TRUE(f.IsOff());
    EXPECT_TRUE(f.Passes("README", false));
    f.Set({".jpg"});
    EXPECT_FALSE(f.IsOff());
    f.Set({});
    EXPECT_TRUE(f.Passes("README", false));
}

TEST(TypeFilter, JpgOnly) {
    FileTypeFilter f;
    f.Set({".JPG"});
    struct Case {
        const char* name;
        bool folder;
        bool passes;
    } cases[] = {
        {"a.JPG", false, true},     {"a.jpg", false, true},      {"a.txt", false, false},
        {"README", false, false},   {"x.txt", true, true},       {nullptr, false, true},
        {"a.tar.jpg", false, true}, {"a.jpg.txt", false, false}, {".jpg", false, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(f.Passes(c.name, c.folder), c.passes) << (c.name ? c.name : "(null)");
}

TEST(TypeFilter, ExtensionsWithoutDotAreAccepted) {
    FileTypeFilter f;
    f.Set({"Doc", ".dot"});
    EXPECT_TRUE(f.Passes("letter.doc", false));
    EXPECT_TRUE(f.Passes("letter.DOT", false));
    EXPECT_FALSE(f.Passes("letterdoc", false));
}

TEST(TypeFilter, ProcessWideFilterIsSafeFromWorkers) {
    SetTypeFilter({".jpg"});
    std::thread worker([] {
        for (int i = 0; i < 1000; ++i) EXPECT_TRUE(PassesTypeFilter("p.jpg", false));
    });
    for (int i = 0; i < 100; ++i) SetTypeFilter({".jpg", ".png"});
    worker.join();
    SetTypeFilter({});
    EXPECT_TRUE(PassesTypeFilter("anything", false));
}

}  // namespace
}  // namespace keldrin
