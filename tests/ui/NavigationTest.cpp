// The navigation chain of the Deleted File Recovery mode, with the real tree build of the sample
// volume and a host that records the pages shown.
#include <gtest/gtest.h>

#include "shared/ScanSettings.h"
#include "shared/TypeFilter.h"
#include "tests/ui/UiFixtures.h"
#include "ui/controller/CWizardControllers.h"
#include "ui/controller/Messages.h"

namespace keldrin::ui {
namespace {

class NavigationTest : public ::testing::Test {
  protected:
    void SetUp() override {
        image_ = testing::SampleVolume(dir_.path());
        // Only the images the test opens: the machine's own disks are no part of it.
        controllers_.DeleteDevice().SetDiskSource([](DiskDeviceList&) {});
    }

    // Mode page → file-type page → device page, with the sample opened and selected.
    void ToDevicePage() {
        controllers_.ModeSelect().Enter();
        controllers_.ModeSelect().SetMode(kModeDeletedFile);
        ASSERT_TRUE(controllers_.Next(kPageModeSelect));
        ASSERT_EQ(host_.Current(), kPageTypeOfFile);
        ASSERT_TRUE(controllers_.Next(kPageTypeOfFile));
        ASSERT_EQ(host_.Current(), kPageDeleteDevice);
        ASSERT_TRUE(controllers_.DeleteDevice().OpenImage(image_.string()));
        ASSERT_TRUE(controllers_.DeleteDevice().SelectEntry(0));
    }

    keldrin::testing::ScopedTempDir dir_;
    std::filesystem::path image_;
    testing::RecordingHost host_;
    CWizardControllers controllers_{host_};
};

TEST_F(NavigationTest, NextBackAndHomeFollowTheChainAndReleaseEveryStep) {
    ToDevicePage();
    CDeleteRecoveryPartitionDeviceSelectController& device = controllers_.DeleteDevice();
    CFileSelectController& files = controllers_.FileSelect();

    ASSERT_TRUE(controllers_.Next(kPageDeleteDevice));
    EXPECT_EQ(host_.Current(), kPageFileSelect);
    ASSERT_TRUE(files.Tree());
    // The sample holds deleted files; the view shows them under "Root".
    EXPECT_GT(files.Tree()->Root()->GetStatistics().files, 0u);
    EXPECT_EQ(files.Tree()->Root()->GetVolumeInfo().kind, kVolumeInfoFiltered);
    EXPECT_EQ(files.GetPrevious(), &device);
    EXPECT_EQ(files.GetRecoveryMode(), kModeDeletedFile);
    EXPECT_EQ(files.GetDeviceSource().kind, 1);
    EXPECT_NE(files.GetDeviceSource().object, nullptr);
    EXPECT_EQ(host_.tips.size(), 1u);

    // Back: the tree is released, the device page collects its devices again.
    const int waitsBefore = static_cast<int>(host_.pages.size());
    controllers_.Back(kPageFileSelect);
    EXPECT_EQ(host_.Current(), kPageDeleteDevice);
    EXPECT_FALSE(files.Tree());
    EXPECT_GT(static_cast<int>(host_.pages.size()), waitsBefore);
    EXPECT_EQ(device.Rows().size(), 1u);  // the opened image stays listed
    EXPECT_EQ(host_.waiting, 0);

    // Forward again (the tip was ticked away), then Home from the file page.
    ASSERT_TRUE(device.SelectEntry(0));
    ASSERT_TRUE(controllers_.Next(kPageDeleteDevice));
    EXPECT_EQ(host_.tips.size(), 1u);
    ASSERT_TRUE(files.Tree());
    controllers_.Home(kPageFileSelect);
    EXPECT_EQ(host_.Current(), kPageModeSelect);
    EXPECT_FALSE(files.Tree());
    EXPECT_TRUE(device.Rows().empty());
    EXPECT_EQ(device.GetDeviceSource().object, nullptr);
    EXPECT_EQ(host_.builds, 2);
}

TEST_F(NavigationTest, BackAndHomeFromEveryStepOfTheChain) {
    const int chain[] = {kPageModeSelect, kPageTypeOfFile, kPageDeleteDevice, kPageFileSelect};
    ASSERT_TRUE(controllers_.DeleteDevice().OpenImage(image_.string()));
    const auto walkTo = [&](int depth) {
        controllers_.ModeSelect().SetMode(kModeDeletedFile);
        controllers_.ModeSelect().Enter();
        for (int i = 0; i < depth; ++i) {
            if (chain[i] == kPageDeleteDevice) controllers_.DeleteDevice().SelectEntry(0);
            ASSERT_TRUE(controllers_.Next(chain[i]));
            ASSERT_EQ(host_.Current(), chain[i + 1]);
        }
    };
    for (int depth = 1; depth <= 3; ++depth) {
        walkTo(depth);
        controllers_.Back(chain[depth]);
        EXPECT_EQ(host_.Current(), chain[depth - 1]) << depth;
        controllers_.Home(host_.Current());
        EXPECT_EQ(host_.Current(), kPageModeSelect) << depth;

        walkTo(depth);
        controllers_.Home(chain[depth]);
        EXPECT_EQ(host_.Current(), kPageModeSelect) << depth;
        EXPECT_FALSE(controllers_.FileSelect().Tree()) << depth;
        // The device step let go of its devices when it was on the way back.
        if (depth >= 2) {
            EXPECT_TRUE(controllers_.DeleteDevice().Rows().empty()) << depth;
        }
        EXPECT_EQ(host_.waiting, 0);
    }
}

TEST_F(NavigationTest, TheModeDecidesTheDevicePageAndIsAnsweredAlongTheChain) {
    struct Case {
        int mode;
        int page;
    };
    for (const Case c : {Case{kModeDeletedFile, kPageDeleteDevice}, Case{kModeComplete, kPageCompleteDevice},
                         Case{kModePartition, kPageLostDisk}}) {
        controllers_.ModeSelect().SetMode(c.mode);
        ASSERT_TRUE(controllers_.Next(kPageModeSelect));
        EXPECT_EQ(controllers_.TypeOfFile().GetRecoveryMode(), c.mode);
        ASSERT_TRUE(controllers_.Next(kPageTypeOfFile));
        EXPECT_EQ(host_.Current(), c.page);
        EXPECT_EQ(controllers_.Controller(c.page)->GetRecoveryMode(), c.mode);
        controllers_.Home(c.page);
        EXPECT_EQ(host_.Current(), kPageModeSelect);
    }
}

TEST_F(NavigationTest, NextWithoutASelectionAsksForOneAndStays) {
    ToDevicePage();
    controllers_.DeleteDevice().SelectEntry(-1);
    EXPECT_FALSE(controllers_.Next(kPageDeleteDevice));
    EXPECT_EQ(host_.Current(), kPageDeleteDevice);
    ASSERT_EQ(host_.messages.size(), 1u);
    EXPECT_EQ(host_.messages[0], msg::kSelectPartition);
    EXPECT_EQ(host_.builds, 0);
}

TEST_F(NavigationTest, ABuildThatFindsNothingSaysSoAndStaysOnTheDevicePage) {
    const std::function<CFileSystemNode*()> trees[] = {
        [] { return testing::LiveOnlyTree(); },        // only live files
        [] { return CreateFileSystemNode(); },         // an empty volume
        []() -> CFileSystemNode* { return nullptr; },  // a volume that yields no tree
    };
    ToDevicePage();
    for (const auto& tree : trees) {
        host_.messages.clear();
        controllers_.DeleteDevice().SetTreeBuilder([&](VolumeEntry&, IDIRBuildCallback&) { return tree(); });
        EXPECT_TRUE(controllers_.Next(kPageDeleteDevice));
        EXPECT_EQ(host_.Current(), kPageDeleteDevice);
        ASSERT_EQ(host_.messages.size(), 1u);
        EXPECT_EQ(host_.messages[0], "No files found, please go to Complete Recovery mode!");
        EXPECT_FALSE(controllers_.FileSelect().Tree());
        EXPECT_TRUE(host_.tips.empty());
    }
}

TEST_F(NavigationTest, FileTypeChoiceFillsTheFilterAndTheRawTypeList) {
    controllers_.ModeSelect().SetMode(kModeDeletedFile);
    ASSERT_TRUE(controllers_.Next(kPageModeSelect));
    controllers_.TypeOfFile().SetChoice(3);  // pictures
    ASSERT_TRUE(controllers_.Next(kPageTypeOfFile));
    EXPECT_TRUE(PassesTypeFilter("a.JPG", false));
    EXPECT_FALSE(PassesTypeFilter("a.txt", false));
    EXPECT_FALSE(PassesTypeFilter("noext", false));
    EXPECT_TRUE(PassesTypeFilter("folder", true));
    const std::vector<int>& types = GetScanSettings().raw.chosenTypes;
    EXPECT_FALSE(types.empty());
    EXPECT_LT(types.size(), 68u);
    controllers_.Home(kPageDeleteDevice);
    controllers_.ModeSelect().SetMode(kModeDeletedFile);
    ASSERT_TRUE(controllers_.Next(kPageModeSelect));
    controllers_.TypeOfFile().SetChoice(0);
    ASSERT_TRUE(controllers_.Next(kPageTypeOfFile));
    EXPECT_TRUE(PassesTypeFilter("a.txt", false));
    EXPECT_EQ(GetScanSettings().raw.chosenTypes.size(), 68u);
}

}  // namespace
}  // namespace keldrin::ui
