// The saving step without windows: the destination checks, the same-drive question, the free
// space, and what the result page reads.
#include <gtest/gtest.h>

#include <QLabel>

#include "engine/model/FileTree.h"
#include "engine/model/MyFileProperties.h"
#include "tests/ui/UiFixtures.h"
#include "ui/controller/CFileSelectController.h"
#include "ui/controller/CSaveFileController.h"
#include "ui/controller/DestinationCheck.h"
#include "ui/controller/Messages.h"
#include "ui/controller/PageIndex.h"
#include "ui/pages/CSaveResultPage.h"

namespace keldrin::ui {
namespace {

TEST(DestinationCheck, CodesOfTypedPaths) {
    keldrin::testing::ScopedTempDir dir;
    const std::string base = dir.path().string() + "/";
    const std::string at245 = "/tmp/" + std::string(240, 'a');
    struct Case {
        std::string path;
        int code;
    };
    const Case cases[] = {
        {base + "out", kDestinationOk},
        {base + "new/deeper/folder", kDestinationOk},  // made by the writer
        {base, kDestinationOk},
        {at245, kDestinationOk},
        {at245 + "a", kDestinationTooLong},
        {"", kDestinationEmpty},
        {"/", kDestinationInvalidName},
        {base + ".cache/out", kDestinationInvalidName},
        {base + "out/..", kDestinationInvalidName},
        {"relative/out", kDestinationNotAbsolute},
        {base + "a*b", kDestinationInvalidSymbol},
        {base + "a:b", kDestinationInvalidSymbol},
        {"/proc/keldrin-out", kDestinationNotWritable},
    };
    for (const Case& c : cases) EXPECT_EQ(CheckDestination(c.path), c.code) << c.path;
    // Through a file: no folder can be made there.
    const std::string file = base + "plain";
    std::fclose(std::fopen(file.c_str(), "w"));
    EXPECT_EQ(CheckDestination(file + "/out"), kDestinationInvalidName);
    // The probe leaves nothing behind.
    EXPECT_FALSE(std::filesystem::exists(dir.path() / kWriteProbeName));
    EXPECT_STREQ(MessageForDestination(kDestinationTooLong).text, "Path too long!");
    EXPECT_TRUE(MessageForDestination(99).warning);
}

// A source step that says whether a folder is on the source drive.
class SourceStep final : public CWizardPageControllerBase {
  public:
    explicit SourceStep(IWizardHost& host) : CWizardPageControllerBase(host, kPageDeleteDevice) {}
    bool IsSameDrive(const std::string&) const override { return sameDrive; }
    int GetRecoveryMode() const override { return kModeDeletedFile; }
    bool sameDrive = false;
};

class SaveControllerTest : public ::testing::Test {
  protected:
    SaveControllerTest() {
        fileSelect_.SetPrevious(&source_);
        result_.SetReturnTarget(&fileSelect_);
    }
    // A tree of one file of size bytes, ticked when checked.
    void GiveTree(uint64_t size, bool checked) {
        TreeOwner<CFileSystemNode> built(CreateFileSystemNode());
        MyFileRecord record;
        record.SetName("volume");
        record.attributes = kAttrFolder;
        record.typeCode = kTypeCodeFileSystem;
        built->SetProperties(new CMyFileProperties(record));
        CFileNode* file = CreateFileNode();
        record.SetName("big.bin");
        record.attributes = 0;
        record.size = size;
        record.state = kStateDeleted;
        file->SetProperties(new CMyFileProperties(record));
        built->AddChild(file);
        CFileStateFilter filter(kStateDeleted);
        CFilteredTreeBuilder filtered(&filter);
        FilteredCopyOwner copy(filtered.Build(built.get()));
        auto tree = RecoveredTree::Make(std::move(built), std::move(copy));
        ASSERT_TRUE(tree);
        if (checked) tree->Root()->ToggleCheck(tree->Copy(), false);
        fileSelect_.SetTree(std::move(tree));
    }

    keldrin::testing::ScopedTempDir dir_;
    testing::RecordingHost host_;
    CSaveResultController result_{host_};
    CSaveFileController save_{host_, result_};
    CFileSelectController fileSelect_{host_, save_};
    SourceStep source_{host_};
};

TEST_F(SaveControllerTest, NothingTickedStaysOnTheFilePage) {
    GiveTree(10, false);
    EXPECT_FALSE(fileSelect_.GoNext());
    EXPECT_EQ(host_.messages, std::vector<std::string>{msg::kSelectFilesToSave});
}

TEST_F(SaveControllerTest, TheSameDriveIsAskedAndNoKeepsThePage) {
    GiveTree(10, true);
    ASSERT_TRUE(fileSelect_.GoNext());
    EXPECT_EQ(host_.Current(), kPageSaveFile);
    EXPECT_EQ(save_.RequiredSize(), 10u);
    save_.SetPath((dir_.path() / "out").string());
    source_.sameDrive = true;
    host_.answer = false;
    EXPECT_FALSE(save_.GoNext());
    EXPECT_EQ(host_.questions, std::vector<std::string>{msg::kSameDrive});
    EXPECT_EQ(host_.Current(), kPageSaveFile);
    // Yes goes on to the copy and the result page (no device here: nothing is recovered).
    host_.answer = true;
    EXPECT_TRUE(save_.GoNext());
    EXPECT_EQ(host_.Current(), kPageSaveResult);
    EXPECT_EQ(save_.GetSelectedCount(), 1u);
    EXPECT_EQ(save_.GetRecoveredCount(), 0u);
    EXPECT_EQ(save_.GetTargetPath(), (dir_.path() / "out").string());

    // The result page says so; "Return" leads back to the file page.
    CSaveResultPage page(result_, save_, nullptr);
    page.OnShow();
    EXPECT_EQ(page.ResultLine()->text(), "Files are recovered unsuccessfully.");
    EXPECT_EQ(page.CountLine()->text(), "Files need to recover: 1, total recovered files: 0.");
    result_.Return();
    EXPECT_EQ(host_.Current(), kPageFileSelect);
}

TEST_F(SaveControllerTest, ADestinationWithoutEnoughSpaceIsRefused) {
    GiveTree(uint64_t{1} << 62, true);
    ASSERT_TRUE(fileSelect_.GoNext());
    save_.SetPath((dir_.path() / "out").string());
    EXPECT_TRUE(save_.Space().known);
    EXPECT_FALSE(save_.GoNext());
    EXPECT_EQ(host_.warnings, std::vector<std::string>{msg::kFreeSpaceShort});
    EXPECT_EQ(host_.Current(), kPageSaveFile);
    EXPECT_FALSE(std::filesystem::exists(dir_.path() / "out"));
}

}  // namespace
}  // namespace keldrin::ui
