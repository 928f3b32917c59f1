#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/DataFolder.h"
#include "platform/Language.h"

namespace keldrin::platform {
namespace {

namespace fs = std::filesystem;

class EnvGuard {
  public:
    explicit EnvGuard(const char* name) : name_(name) {
        if (const char* v = std::getenv(name)) saved_ = v, had_ = true;
    }
    ~EnvGuard() { had_ ? setenv(name_, saved_.c_str(), 1) : unsetenv(name_); }

  private:
    const char* name_;
    std::string saved_;
    bool had_ = false;
};

class DataFolderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() / ("keldrin-df-" + std::to_string(getpid()));
        fs::create_directories(root_);
    }
    void TearDown() override { fs::remove_all(root_); }
    fs::path root_;
    EnvGuard home_{"HOME"}, keldrin_{"KELDRIN_HOME"}, xdg_{"XDG_DATA_HOME"}, cfg_{"XDG_CONFIG_HOME"},
        lang_{"KELDRIN_LANGUAGE"};
};

TEST_F(DataFolderTest, OrderOfChoiceAndCreation) {
    setenv("HOME", (root_ / "home").c_str(), 1);
    unsetenv("KELDRIN_HOME");
    unsetenv("XDG_DATA_HOME");
    EXPECT_EQ(DataFolder(), (root_ / "home/.local/share/keldrin").string());
    EXPECT_TRUE(fs::is_directory(root_ / "home/.local/share/keldrin"));

    setenv("XDG_DATA_HOME", (root_ / "xdg").c_str(), 1);
    EXPECT_EQ(DataFolder(), (root_ / "xdg/keldrin").string());

    setenv("KELDRIN_HOME", (root_ / "own").c_str(), 1);
    EXPECT_EQ(DataFile("Ostrevan.log"), (root_ / "own/Ostrevan.log").string());
}

TEST_F(DataFolderTest, UncreatableFolderGivesEmpty) {
    std::ofstream(root_ / "file") << "x";
    setenv("KELDRIN_HOME", (root_ / "file/sub").c_str(), 1);
    EXPECT_EQ(DataFolder(), "");
    EXPECT_EQ(DataFile("Ostrevan.log"), "");
}

TEST_F(DataFolderTest, LanguageFromSettingsFile) {
    unsetenv("KELDRIN_LANGUAGE");
    setenv("XDG_CONFIG_HOME", root_.c_str(), 1);
    EXPECT_EQ(CurrentLanguage(), kEnglish);  // no file
    fs::create_directories(root_ / "Ostrevan");
    std::ofstream(root_ / "Ostrevan/Keldrin.conf")
        << "[General]\nLanguage=Deutsch\n[Language]\nLanguage = Deutsch\n";
    EXPECT_EQ(CurrentLanguage(), kGerman);
    std::ofstream(root_ / "Ostrevan/Keldrin.conf") << "[General]\nLanguage=Deutsch\n";
    EXPECT_EQ(CurrentLanguage(), kEnglish);  // only the Language group counts
    setenv("KELDRIN_LANGUAGE", "Deutsch", 1);
    EXPECT_EQ(CurrentLanguage(), kGerman);
}

}  // namespace
}  // namespace keldrin::platform
