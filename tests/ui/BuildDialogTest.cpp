// The tree build under the "Building directory" dialog: a real worker, the dialog's Cancel and its
// question, on the offscreen platform.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <chrono>
#include <thread>

#include "tests/ui/UiFixtures.h"
#include "ui/dialogs/CBuildDirectoryDlg.h"
#include "ui/wizard/CWizardSheet.h"

namespace keldrin::ui {
namespace {

CBuildDirectoryDlg* OpenBuildDialog() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* dialog = qobject_cast<CBuildDirectoryDlg*>(w); dialog && dialog->isVisible()) return dialog;
    return nullptr;
}

// Steps until cancelled, as a builder does; gives up after 20 s so a broken Cancel fails, not hangs.
CFileSystemNode* BuildUntilCancelled(VolumeEntry&, IDIRBuildCallback& callback) {
    callback.BeginPhase("NTFS:Reading files", 1000);
    for (int i = 0; i < 2000; ++i) {
        if (callback.Step(1) == kCancelled) return nullptr;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return testing::LiveOnlyTree();
}

class BuildDialogTest : public ::testing::Test {
  protected:
    BuildDialogTest() {
        image_ = testing::SampleVolume(dir_.path());
        sheet_.Controllers().DeleteDevice().SetDiskSource([](DiskDeviceList&) {});
        sheet_.Controllers().ModeSelect().SetMode(kModeDeletedFile);
        sheet_.Controllers().ModeSelect().GoNext();
        sheet_.Controllers().TypeOfFile().GoNext();
        EXPECT_TRUE(sheet_.Controllers().DeleteDevice().OpenImage(image_.string()));
        EXPECT_TRUE(sheet_.Controllers().DeleteDevice().SelectEntry(0));
        sheet_.show();
    }

    keldrin::testing::ScopedTempDir dir_;
    std::filesystem::path image_;
    testing::ScriptedPrompts prompts_;
    CWizardSheet sheet_{nullptr};
};

TEST_F(BuildDialogTest, CancelPressedTwiceAsksOnceAndTheBuildStopsOnThePage) {
    CBuildDirectoryDlg* seen = nullptr;
    prompts_.onAsk = [&](const QString&) {
        // The second press while the question is open does nothing.
        if (seen) seen->CancelButton()->click();
        return true;
    };
    sheet_.Controllers().DeleteDevice().SetTreeBuilder(BuildUntilCancelled);
    QTimer::singleShot(50, [&] {
        seen = OpenBuildDialog();
        ASSERT_TRUE(seen);
        EXPECT_FALSE(sheet_.isEnabled());
        seen->CancelButton()->click();
        EXPECT_EQ(seen->windowTitle(), "Cancelling...");
        EXPECT_FALSE(seen->CancelButton()->isEnabled());
        seen->CancelButton()->click();  // once confirmed, Cancel is over
    });
    EXPECT_FALSE(sheet_.Controllers().Next(kPageDeleteDevice));
    ASSERT_TRUE(seen);
    EXPECT_EQ(prompts_.asked, QStringList{"Abort Building?"});
    EXPECT_EQ(sheet_.CurrentIndex(), kPageDeleteDevice);
    EXPECT_FALSE(sheet_.Controllers().FileSelect().Tree());
    EXPECT_TRUE(prompts_.informed.isEmpty());  // a cancelled build is silent
    EXPECT_TRUE(sheet_.isEnabled());
    EXPECT_FALSE(OpenBuildDialog());
}

TEST_F(BuildDialogTest, AnsweringNoLetsTheBuildGoOn) {
    prompts_.onAsk = [](const QString&) { return false; };
    int calls = 0;
    sheet_.Controllers().DeleteDevice().SetTreeBuilder([&](VolumeEntry&, IDIRBuildCallback& callback) {
        callback.BeginPhase("NTFS:Reading files", 10);
        for (int i = 0; i < 30; ++i, ++calls) {
            if (callback.Step(1) == kCancelled) return static_cast<CFileSystemNode*>(nullptr);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return testing::LiveOnlyTree();
    });
    QTimer::singleShot(50, [] {
        if (CBuildDirectoryDlg* dialog = OpenBuildDialog()) dialog->CancelButton()->click();
    });
    EXPECT_TRUE(sheet_.Controllers().Next(kPageDeleteDevice));
    EXPECT_EQ(calls, 30);
    EXPECT_EQ(prompts_.asked, QStringList{"Abort Building?"});
    EXPECT_EQ(prompts_.informed, QStringList{"No files found, please go to Complete Recovery mode!"});
}

TEST_F(BuildDialogTest, TheRealBuildOfTheSampleReachesTheFilePage) {
    sheet_.Next();
    EXPECT_EQ(sheet_.CurrentIndex(), kPageFileSelect);
    ASSERT_TRUE(sheet_.Controllers().FileSelect().Tree());
    EXPECT_EQ(prompts_.informed.size(), 1);  // the tip, once
    EXPECT_TRUE(sheet_.isEnabled());
}

}  // namespace
}  // namespace keldrin::ui
