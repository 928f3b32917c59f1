// The "Option" dialog against the process-wide scan settings, and the file-type page's keys, on the
// offscreen platform.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QTreeWidget>

#include "shared/ScanSettings.h"
#include "shared/TypeFilter.h"
#include "ui/controller/CTypeOfFileToRecoveryController.h"
#include "ui/controller/PageIndex.h"
#include "ui/controller/RawTypeGroups.h"
#include "ui/dialogs/CAdvanceSettingMasterDlg.h"
#include "ui/pages/CTypeOfFileToRecoveryPage.h"
#include "ui/wizard/CWizardSheet.h"

namespace keldrin::ui {
namespace {

void PressKey(QWidget* target, int key, const QString& text = {}) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &press);
}

std::vector<int> TickedTypes(QTreeWidget* tree) {
    std::vector<int> ticked;
    for (int g = 0; g < tree->topLevelItemCount(); ++g)
        for (int c = 0; c < tree->topLevelItem(g)->childCount(); ++c)
            if (tree->topLevelItem(g)->child(c)->checkState(0) == Qt::Checked)
                ticked.push_back(tree->topLevelItem(g)->child(c)->data(0, Qt::UserRole).toInt());
    return ticked;
}

void TickOnly(QTreeWidget* tree, const std::vector<int>& types) {
    for (int g = 0; g < tree->topLevelItemCount(); ++g)
        for (int c = 0; c < tree->topLevelItem(g)->childCount(); ++c) {
            QTreeWidgetItem* child = tree->topLevelItem(g)->child(c);
            const int type = child->data(0, Qt::UserRole).toInt();
            const bool tick = std::find(types.begin(), types.end(), type) != types.end();
            child->setCheckState(0, tick ? Qt::Checked : Qt::Unchecked);
        }
}

class OptionDialogTest : public ::testing::Test {
  protected:
    OptionDialogTest() { Reset(); }
    ~OptionDialogTest() override { Reset(); }
    static void Reset() {
        GetScanSettings() = DefaultScanSettings();
        SetTypeFilter({});
    }
    QCheckBox* Check(const char* name) { return dialog_.findChild<QCheckBox*>(name); }

    CAdvanceSettingMasterDlg dialog_{true, nullptr};
};

TEST(ChosenTypesFromTicked, OleAndPdfFollowTheirTypesUnlessAFileTypeChoiceLimitsThem) {
    struct Case {
        std::vector<int> ticked;
        bool filterOn;
        bool rawOnly;
        std::vector<int> expected;
    };
    const Case cases[] = {
        {{21}, false, false, {21, 44}},
        {{21}, true, false, {21}},
        {{21}, true, true, {21, 44}},
        {{5}, false, false, {5, 46}},
        // Once per OLE type, in order, after all the ticked ones.
        {{21, 5, 67, 33}, false, false, {21, 5, 67, 33, 44, 46, 44}},
        {{}, false, false, {}},
    };
    for (const Case& c : cases) EXPECT_EQ(ChosenTypesFromTicked(c.ticked, c.filterOn, c.rawOnly), c.expected);
}

TEST(RawTypeGroups, HoldEveryBuiltInTypeOnceExceptTheFourUntickable) {
    std::vector<int> seen;
    for (const RawTypeGroup& group : RawTypeGroups())
        seen.insert(seen.end(), group.types.begin(), group.types.end());
    std::sort(seen.begin(), seen.end());
    std::vector<int> expected;
    for (int i = kFirstBuiltInRawType; i <= kLastBuiltInRawType; ++i)
        if (i != 20 && i != 26 && i != 44 && i != 55) expected.push_back(i);
    EXPECT_EQ(seen, expected);
}

TEST_F(OptionDialogTest, OpensOnTheFatPageWithTheCurrentSettings) {
    EXPECT_EQ(dialog_.windowTitle(), "Option");
    EXPECT_EQ(dialog_.CurrentPage(), kOptionPageFat);
    EXPECT_FALSE(dialog_.PageButton(kOptionPageFat)->isEnabled());
    EXPECT_TRUE(dialog_.PageButton(kOptionPageRaw)->isEnabled());
    dialog_.PageButton(kOptionPageRaw)->click();
    EXPECT_EQ(dialog_.CurrentPage(), kOptionPageRaw);
    EXPECT_FALSE(dialog_.PageButton(kOptionPageRaw)->isEnabled());
    EXPECT_TRUE(dialog_.PageButton(kOptionPageFat)->isEnabled());
    EXPECT_TRUE(Check("fatCheckDate")->isChecked());
    EXPECT_TRUE(Check("useBootRecords")->isChecked());
    EXPECT_FALSE(Check("ntfsShowMftOnlyFiles")->isChecked());
    EXPECT_EQ(dialog_.findChild<QLineEdit*>("maxFileSize")->text(), "50000000");
}

TEST_F(OptionDialogTest, OkWritesTheShownPagesAndLeavesTheOthers) {
    Check("fatCheckDate")->setChecked(false);
    dialog_.PageButton(kOptionPageCommon)->click();
    Check("useBootRecords")->setChecked(false);
    // The NTFS page was never shown: its control's value is not taken.
    Check("ntfsUseMftFile")->setChecked(false);
    dialog_.OkButton()->click();
    const ScanSettings& s = GetScanSettings();
    EXPECT_FALSE(s.fatCheckDate);
    EXPECT_FALSE(s.useBootRecords);
    EXPECT_TRUE(s.ntfsUseMftFile);
    EXPECT_EQ(dialog_.result(), QDialog::Accepted);
}

TEST_F(OptionDialogTest, CancelDiscardsEveryChange) {
    dialog_.PageButton(kOptionPageRaw)->click();
    Check("fatUseFirstCopy")->setChecked(false);
    Check("recoverRawFiles")->setChecked(false);
    TickOnly(dialog_.RawTypeTree(), {21});
    dialog_.CancelButton()->click();
    const ScanSettings& s = GetScanSettings();
    const ScanSettings defaults = DefaultScanSettings();
    EXPECT_TRUE(s.fatUseFirstCopy);
    EXPECT_TRUE(s.raw.recoverRawFiles);
    EXPECT_EQ(s.raw.chosenTypes, defaults.raw.chosenTypes);
    EXPECT_EQ(dialog_.result(), QDialog::Rejected);
}

TEST(OptionDialog, DefaultRestoresTheShownPagesOnly) {
    GetScanSettings() = DefaultScanSettings();
    SetTypeFilter({});
    ScanSettings& s = GetScanSettings();
    s.useBootRecords = false;
    s.fatCheckTime = false;
    s.fatUseSecondCopy = false;
    s.ntfsShowMftOnlyFiles = true;
    s.raw.recoverRawFiles = false;
    s.raw.recoverRawFilesOnly = true;
    s.raw.maxFileSize = 7;
    s.raw.chosenTypes = {33};
    {
        CAdvanceSettingMasterDlg dialog(true, nullptr);
        dialog.PageButton(kOptionPageNtfs)->click();
        dialog.PageButton(kOptionPageRaw)->click();
        dialog.DefaultButton()->click();
        EXPECT_TRUE(dialog.findChild<QCheckBox*>("recoverRawFilesOnly")->isEnabled());
        EXPECT_TRUE(dialog.RawTypeTree()->isEnabled());
        EXPECT_EQ(TickedTypes(dialog.RawTypeTree()).size(), 64u);
        dialog.OkButton()->click();
    }
    EXPECT_FALSE(s.useBootRecords);  // the common page was not shown
    EXPECT_TRUE(s.fatCheckTime);
    EXPECT_TRUE(s.fatUseSecondCopy);
    EXPECT_FALSE(s.ntfsShowMftOnlyFiles);
    EXPECT_TRUE(s.raw.recoverRawFiles);
    EXPECT_FALSE(s.raw.recoverRawFilesOnly);
    EXPECT_EQ(s.raw.maxFileSize, 50000000);
    // Every grouped type; the built-in DLL, EXE and RIFF cannot be chosen from the tree.
    for (int type : {20, 26, 55})
        EXPECT_EQ(std::count(s.raw.chosenTypes.begin(), s.raw.chosenTypes.end(), type), 0) << type;
    EXPECT_EQ(std::count(s.raw.chosenTypes.begin(), s.raw.chosenTypes.end(), 33), 1);
    GetScanSettings() = DefaultScanSettings();
}

TEST_F(OptionDialogTest, TheTreeTicksTheChosenTypesAndGivesBackTheTickedOnes) {
    GetScanSettings().raw.chosenTypes = {33, 9, 20};
    CAdvanceSettingMasterDlg dialog(true, nullptr);
    EXPECT_EQ(TickedTypes(dialog.RawTypeTree()), (std::vector<int>{9, 33}));
    dialog.PageButton(kOptionPageRaw)->click();

    // Greyed while RAW files are not recovered.
    dialog.findChild<QCheckBox*>("recoverRawFiles")->setChecked(false);
    EXPECT_FALSE(dialog.RawTypeTree()->isEnabled());
    EXPECT_FALSE(dialog.findChild<QCheckBox*>("recoverRawFilesOnly")->isEnabled());
    dialog.findChild<QCheckBox*>("recoverRawFiles")->setChecked(true);
    EXPECT_TRUE(dialog.RawTypeTree()->isEnabled());

    TickOnly(dialog.RawTypeTree(), {21});
    dialog.OkButton()->click();
    EXPECT_EQ(GetScanSettings().raw.chosenTypes, (std::vector<int>{21, 44}));
}

TEST_F(OptionDialogTest, WithAFileTypeChoiceTheOleTypeIsNotAdded) {
    SetTypeFilter(ExtensionsOfChoice(1));
    dialog_.PageButton(kOptionPageRaw)->click();
    TickOnly(dialog_.RawTypeTree(), {21});
    dialog_.OkButton()->click();
    EXPECT_EQ(GetScanSettings().raw.chosenTypes, (std::vector<int>{21}));
}

TEST_F(OptionDialogTest, SwitchesFromTheOpenerGreyTheRawOnlyBoxAndTheTree) {
    CAdvanceSettingMasterDlg afterScan(false, nullptr);
    afterScan.SetTypesEditable(false);
    EXPECT_FALSE(afterScan.findChild<QCheckBox*>("recoverRawFilesOnly")->isEnabled());
    EXPECT_FALSE(afterScan.RawTypeTree()->isEnabled());
    // Types not editable: Default and OK keep the chosen list as it was.
    afterScan.PageButton(kOptionPageRaw)->click();
    afterScan.DefaultButton()->click();
    afterScan.OkButton()->click();
    EXPECT_EQ(GetScanSettings().raw.chosenTypes, DefaultScanSettings().raw.chosenTypes);
}

TEST_F(OptionDialogTest, ANegativeMaximalSizeBecomesZero) {
    dialog_.PageButton(kOptionPageRaw)->click();
    auto* size = dialog_.findChild<QLineEdit*>("maxFileSize");
    size->clear();
    PressKey(size, Qt::Key_Minus, "-");
    PressKey(size, Qt::Key_5, "5");
    EXPECT_EQ(size->text(), "0");
    dialog_.OkButton()->click();
    EXPECT_EQ(GetScanSettings().raw.maxFileSize, 0);
}

TEST_F(OptionDialogTest, TheDevicePageOpensItBeforeAScan) {
    CWizardSheet sheet(nullptr);
    sheet.Controllers().DeleteDevice().SetDiskSource([](DiskDeviceList&) {});
    sheet.Controllers().ModeSelect().SetMode(kModeDeletedFile);
    sheet.Controllers().ModeSelect().GoNext();
    sheet.Controllers().TypeOfFile().GoNext();
    bool opened = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<CAdvanceSettingMasterDlg*>(QApplication::activeModalWidget());
        ASSERT_TRUE(dialog);
        opened = true;
        EXPECT_TRUE(dialog->findChild<QCheckBox*>("recoverRawFilesOnly")->isEnabled());
        dialog->findChild<QCheckBox*>("fatCheckDate")->setChecked(false);
        dialog->OkButton()->click();
    });
    sheet.Page(kPageDeleteDevice)->findChild<QPushButton*>("options")->click();
    EXPECT_TRUE(opened);
    EXPECT_FALSE(GetScanSettings().fatCheckDate);
}

TEST(TypeOfFilePage, UpAndDownMoveTheChoiceBetweenTheSixButtons) {
    CWizardSheet sheet(nullptr);
    auto* page = static_cast<CTypeOfFileToRecoveryPage*>(sheet.Page(kPageTypeOfFile));
    CTypeOfFileToRecoveryController& controller = sheet.Controllers().TypeOfFile();
    struct Step {
        QWidget* target;  // nullptr: the page itself
        int key;
        int expected;
    };
    auto* button2 = page->findChild<QRadioButton*>("choice2");
    const Step steps[] = {
        {nullptr, Qt::Key_Up, 0},  // stops at the first
        {nullptr, Qt::Key_Down, 1}, {button2, Qt::Key_Down, 2},
        {nullptr, Qt::Key_Down, 3}, {nullptr, Qt::Key_Down, 4},
        {nullptr, Qt::Key_Down, 5}, {nullptr, Qt::Key_Down, 5},  // and at the last
        {button2, Qt::Key_Up, 4},                                // a focused button passes the key on
    };
    for (const Step& step : steps) {
        PressKey(step.target ? step.target : page, step.key);
        EXPECT_EQ(controller.GetChoice(), step.expected);
        auto* checked = page->findChild<QRadioButton*>(QString("choice%1").arg(step.expected));
        EXPECT_TRUE(checked->isChecked()) << step.expected;
    }
}

}  // namespace
}  // namespace keldrin::ui
