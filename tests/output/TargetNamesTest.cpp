#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "engine/output/OutputFile.h"
#include "engine/output/TargetNames.h"
#include "tests/support/TestFiles.h"

namespace keldrin::output {
namespace {

using keldrin::testing::ScopedTempDir;

namespace fs = std::filesystem;

TEST(TargetNames, TakenNamesGetNumberedSuffixes) {
    ScopedTempDir dir;
    const std::string root = dir.path().string() + "/";
    const std::string folder = dir.path().string();
    std::string path;
    const char* expected[] = {"a.txt", "a_000.txt", "a_001.txt"};
    for (const char* name : expected) {
        ASSERT_TRUE(CreateTargetFile(root, folder, "a.txt", path));
        EXPECT_EQ(fs::path(path).filename(), name);
    }
    ASSERT_TRUE(CreateTargetFile(root, folder, "README", path));
    ASSERT_TRUE(CreateTargetFile(root, folder, "README", path));
    EXPECT_EQ(fs::path(path).filename(), "README_000");
}

TEST(TargetNames, FoldersThatExistGetSuffixes) {
    ScopedTempDir dir;
    for (const char* expected : {"Letters", "Letters_000", "Letters_001"}) {
        std::string path = (dir.path() / "Letters").string();
        ASSERT_TRUE(CreateUniqueDirectory(path));
        EXPECT_EQ(fs::path(path).filename(), expected);
        EXPECT_TRUE(fs::is_directory(path));
    }
}

TEST(TargetNames, AFolderThatCannotTakeTheFileSendsItToTheRoot) {
    ScopedTempDir dir;
    const std::string root = dir.path().string() + "/";
    std::string path;
    // The folder is gone (it could not be made).
    ASSERT_TRUE(CreateTargetFile(root, root + "missing", "x.bin", path));
    EXPECT_EQ(path, root + "x.bin");
    // The path grows too long below a deep folder.
    std::string deep = dir.path().string();
    for (int i = 0; i < 20; ++i) {
        deep += "/" + std::string(200, 'd');
        ASSERT_TRUE(fs::create_directory(deep) || fs::is_directory(deep)) << deep.size();
    }
    const std::string name = std::string(100, 'y') + ".bin";
    ASSERT_TRUE(CreateTargetFile(root, deep, name, path));
    EXPECT_EQ(path, root + name);
}

TEST(TargetNames, AThousandTakenNamesAnswerExists) {
    ScopedTempDir dir;
    const std::string folder = dir.path().string();
    ASSERT_EQ(CreateNewFile(folder + "/n.dat"), 0);
    for (int i = 0; i < 1000; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "/n_%03d.dat", i);
        ASSERT_EQ(CreateNewFile(folder + name), 0);
    }
    std::string path;
    EXPECT_EQ(CreateUniqueFile(folder, "n.dat", path), EEXIST);
    EXPECT_FALSE(CreateTargetFile(folder + "/", folder, "n.dat", path));
}

TEST(TargetNames, SuffixesFitTheLongestName) {
    ScopedTempDir dir;
    const std::string name = std::string(251, 'L') + ".txt";  // 255 bytes
    std::string path;
    ASSERT_TRUE(CreateTargetFile(dir.path().string() + "/", dir.path().string(), name, path));
    ASSERT_TRUE(CreateTargetFile(dir.path().string() + "/", dir.path().string(), name, path));
    const std::string made = fs::path(path).filename().string();
    EXPECT_EQ(made.size(), 255u);
    EXPECT_EQ(made.substr(made.size() - 8), "_000.txt");
}

}  // namespace
}  // namespace keldrin::output
