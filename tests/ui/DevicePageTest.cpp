// The device page listing disk images: a bare volume and a partitioned disk.
#include <gtest/gtest.h>

#include <QPushButton>
#include <fstream>

#include "engine/devices/ImageFileDevice.h"
#include "tests/ui/UiFixtures.h"
#include "ui/controller/DeviceRows.h"
#include "ui/controller/Format.h"
#include "ui/pages/CDeleteRecoveryPartitionDeviceSelectPage.h"
#include "ui/wizard/CWizardSheet.h"

namespace keldrin::ui {
namespace {

class DevicePageTest : public ::testing::Test {
  protected:
    DevicePageTest() {
        sheet_.Controllers().DeleteDevice().SetDiskSource([](DiskDeviceList&) {});
        sheet_.resize(760, 496);
        sheet_.Controllers().ModeSelect().SetMode(kModeDeletedFile);
        sheet_.Controllers().ModeSelect().GoNext();
        sheet_.Controllers().TypeOfFile().GoNext();
    }
    CDeleteRecoveryPartitionDeviceSelectPage* Page() {
        return static_cast<CDeleteRecoveryPartitionDeviceSelectPage*>(sheet_.Page(kPageDeleteDevice));
    }

    keldrin::testing::ScopedTempDir dir_;
    testing::ScriptedPrompts prompts_;
    CWizardSheet sheet_{nullptr};
};

TEST_F(DevicePageTest, ListsTheVolumesOfADiskImageWithTheirSizes) {
    struct Case {
        std::filesystem::path image;
        int rows;
        const char* firstName;
    };
    const std::filesystem::path volume = testing::SampleVolume(dir_.path());
    const std::filesystem::path disk = testing::TwoPartitionDisk(dir_.path());
    const int64_t volumeSectors = static_cast<int64_t>(std::filesystem::file_size(volume) / 512);
    ASSERT_EQ(sheet_.CurrentIndex(), kPageDeleteDevice);
    int listed = 0;
    for (const Case& c : {Case{volume, 1, "Image File, sample-ntfs.img  (NTFS)"},
                          Case{disk, 2, "Image File, two-partitions.img #"}}) {
        ASSERT_TRUE(Page()->OpenImagePath(QString::fromStdString(c.image.string())));
        CDeviceSelectCtrl* list = Page()->List();
        ASSERT_EQ(list->topLevelItemCount(), listed + c.rows);
        for (int i = listed; i < listed + c.rows; ++i) {
            const QTreeWidgetItem* row = list->topLevelItem(i);
            EXPECT_TRUE(row->text(0).startsWith(c.firstName)) << row->text(0).toStdString();
            EXPECT_TRUE(row->text(0).contains("(NTFS)"));
            EXPECT_EQ(row->text(1).toStdString(), FormatSectors(volumeSectors));
        }
        listed += c.rows;
    }
    EXPECT_NE(Page()->List()->topLevelItem(1)->text(0), Page()->List()->topLevelItem(2)->text(0));
    EXPECT_EQ(Page()->List()->headerItem()->text(0), "Device");
    EXPECT_EQ(Page()->List()->headerItem()->text(2), " Information");
    EXPECT_TRUE(prompts_.informed.isEmpty());

    // Selecting a row and pressing Next builds its tree and leaves the page.
    Page()->List()->setCurrentItem(Page()->List()->topLevelItem(2));
    EXPECT_TRUE(sheet_.Controllers().DeleteDevice().IsImageEntry());
    sheet_.Next();
    EXPECT_EQ(sheet_.CurrentIndex(), kPageFileSelect);
    EXPECT_TRUE(sheet_.isEnabled());
}

TEST_F(DevicePageTest, HomeAsksFirstAndOnYesReleasesTheWayBack) {
    ASSERT_TRUE(Page()->OpenImagePath(QString::fromStdString(testing::SampleVolume(dir_.path()).string())));
    prompts_.onAsk = [](const QString&) { return false; };
    sheet_.Home();
    EXPECT_EQ(sheet_.CurrentIndex(), kPageDeleteDevice);
    EXPECT_EQ(Page()->List()->topLevelItemCount(), 1);
    prompts_.onAsk = [](const QString&) { return true; };
    sheet_.Home();
    EXPECT_EQ(sheet_.CurrentIndex(), kPageModeSelect);
    EXPECT_TRUE(sheet_.Controllers().DeleteDevice().Rows().empty());
    EXPECT_EQ(prompts_.asked, QStringList(2, "Are you sure to return to home page?"));
    EXPECT_TRUE(sheet_.HomeButton()->isHidden());
    EXPECT_TRUE(sheet_.NextButton()->isHidden());
}

TEST_F(DevicePageTest, AFileWithoutARecognisedVolumeIsRefusedWithAMessage) {
    const std::filesystem::path junk = dir_.path() / "junk.img";
    std::ofstream(junk) << std::string(64 * 512, 'x');
    const std::filesystem::path empty = dir_.path() / "empty.raw";
    std::ofstream{empty};
    for (const auto& path : {junk, empty, dir_.path() / "missing.dd", dir_.path()}) {
        prompts_.informed.clear();
        EXPECT_FALSE(Page()->OpenImagePath(QString::fromStdString(path.string()))) << path;
        EXPECT_EQ(prompts_.informed, QStringList{"The disk image cannot be read."}) << path;
        EXPECT_EQ(Page()->List()->topLevelItemCount(), 0);
    }
}

}  // namespace
}  // namespace keldrin::ui

namespace keldrin::ui {
namespace {

TEST(DeviceRowsTest, EveryRecognisedVolumeIsListedMountedOrNot) {
    struct Case {
        int type;
        const char* mountPoint;
        bool floppy, usb, hasDevice;
        bool listed;
        const char* text;
        int icon;
    };
    const Case cases[] = {
        {kFsNtfs, "/mnt/data", false, false, true, true, "/mnt/data : DATA  (NTFS)", kIconDisk},
        {kFsExt3, "", false, false, true, true, "* : DATA  (EXT3)", kIconDisk},
        {kFsFat32, "", false, true, true, true, "* : DATA  (FAT32)", kIconUsb},
        {kFsFat12, "/media/a", true, false, true, true, "/media/a : DATA  (FAT12)", kIconFloppy},
        {kFsUnknown, "/", false, false, true, false, "", 0},
        {kFsRaw, "", false, false, true, false, "", 0},
        {kFsNtfs, "", false, false, false, false, "", 0},
    };
    for (const Case& c : cases) {
        VolumeEntry entry;
        entry.fileSystemType = c.type;
        entry.mountPoint = c.mountPoint;
        entry.label = "DATA";
        entry.isFloppy = c.floppy;
        entry.isUsb = c.usb;
        if (c.hasDevice) entry.device = std::make_unique<CImageFileDevice>("/nonexistent");
        EXPECT_EQ(IsListed(entry), c.listed) << c.text;
        if (!c.listed) continue;
        const DeviceRow row = VolumeRow(entry);
        EXPECT_EQ(row.device, c.text);
        EXPECT_EQ(row.icon, c.icon) << c.text;
        EXPECT_FALSE(row.isImage);
    }
}

TEST_F(DevicePageTest, DeletingAnImageTakesAllItsVolumesOffTheList) {
    ASSERT_TRUE(Page()->OpenImagePath(QString::fromStdString(testing::SampleVolume(dir_.path()).string())));
    ASSERT_TRUE(
        Page()->OpenImagePath(QString::fromStdString(testing::TwoPartitionDisk(dir_.path()).string())));
    CDeviceSelectCtrl* list = Page()->List();
    ASSERT_EQ(list->topLevelItemCount(), 3);
    list->setCurrentItem(list->topLevelItem(2));
    Page()->DeleteImage();
    ASSERT_EQ(list->topLevelItemCount(), 1);
    EXPECT_TRUE(list->topLevelItem(0)->text(0).startsWith("Image File, sample-ntfs.img"));
    EXPECT_FALSE(sheet_.Controllers().DeleteDevice().IsImageEntry());
    Page()->DeleteImage();  // nothing selected: nothing happens
    EXPECT_EQ(list->topLevelItemCount(), 1);
}

}  // namespace
}  // namespace keldrin::ui
