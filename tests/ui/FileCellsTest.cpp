// What the file list and the properties dialog show of a node.
#include <gtest/gtest.h>

#include <cstring>

#include "engine/devices/Volume.h"
#include "engine/fat/FATFileProperties.h"
#include "engine/model/FileTime.h"
#include "engine/model/FileTree.h"
#include "engine/model/MyFileProperties.h"
#include "ui/controller/FileCells.h"

namespace keldrin::ui {
namespace {

TEST(FileCells, TimesAreShownWithoutLeadingZerosAndUnknownFieldsStayEmpty) {
    uint64_t march = 0;
    ASSERT_TRUE(CivilToFileTime(2024, 3, 1, 9, 5, 7, march));
    EXPECT_EQ(FormatListTime(march + 9999999), "2024-3-1 9:5:7");  // the fraction is dropped
    EXPECT_EQ(FormatListTime(0), "");

    MyFileRecord record;
    record.SetName("Report.final.DOCX");
    record.size = 2048;
    record.modificationTime = march;
    record.creationTime = march;
    record.accessTime = march;
    struct Case {
        uint32_t typeCode;
        uint16_t attributes;
        const char* texts[kFileListColumnCount];
    };
    const Case cases[] = {
        {kTypeCodeFileSystem,
         0,
         {"Report.final.DOCX", "2.00 KB", "DOCX", "2024-3-1 9:5:7", "2024-3-1 9:5:7", "2024-3-1 9:5:7"}},
        // RAW files know no times.
        {kTypeCodeRaw, 0, {"Report.final.DOCX", "2.00 KB", "DOCX", "", "", ""}},
        // Nothing known: nothing shown.
        {0, 0, {"", "", "", "", "", ""}},
        // A folder's size says nothing.
        {kTypeCodeFileSystem,
         kAttrFolder,
         {"Report.final.DOCX", "", "DOCX", "2024-3-1 9:5:7", "2024-3-1 9:5:7", "2024-3-1 9:5:7"}},
    };
    for (const Case& c : cases) {
        record.typeCode = c.typeCode;
        record.attributes = c.attributes;
        CMyFileProperties p(record);
        for (int column = 0; column < kFileListColumnCount; ++column)
            EXPECT_EQ(CellText(&p, column), c.texts[column]) << "type " << c.typeCode << " column " << column;
    }
    record.SetName("Makefile");
    record.typeCode = kTypeCodeFileSystem;
    CMyFileProperties plain(record);
    EXPECT_EQ(CellText(&plain, kColumnType), "");
}

// A folder with children in insertion order; AddChild lists them in reverse.
CFileSystemNode* Folder(const std::vector<std::pair<const char*, uint16_t>>& children) {
    CFileSystemNode* root = CreateFileSystemNode();
    MyFileRecord record;
    record.attributes = kAttrFolder;
    record.typeCode = kTypeCodeFileSystem;
    root->SetProperties(new CMyFileProperties(record));
    for (const auto& [name, attributes] : children) {
        CFileNode* node = CreateFileNode();
        record.SetName(name);
        record.attributes = attributes;
        record.size = std::strlen(name);
        node->SetProperties(new CMyFileProperties(record));
        root->AddChild(node);
    }
    return root;
}

std::vector<std::string> Names(const std::vector<CFileNode*>& nodes) {
    std::vector<std::string> names;
    for (const CFileNode* n : nodes) names.emplace_back(n->GetProperties()->GetName());
    return names;
}

TEST(FileCells, FoldersComeFirstThenNamesWithoutRegardToCaseAndTheTreeKeepsItsOrder) {
    TreeOwner<CFileSystemNode> root(Folder(
        {{"b.txt", 0}, {"Zeta", kAttrFolder}, {"A.txt", 0}, {"alpha", kAttrFolder}, {"c-long.txt", 0}}));
    using Names_ = std::vector<std::string>;
    EXPECT_EQ(Names(DisplayChildren(root.get())), (Names_{"alpha", "Zeta", "A.txt", "b.txt", "c-long.txt"}));
    EXPECT_EQ(Names(DisplayChildren(root.get(), kColumnName, false)),
              (Names_{"Zeta", "alpha", "c-long.txt", "b.txt", "A.txt"}));
    EXPECT_EQ(Names(DisplayChildren(root.get(), kColumnSize, true)),
              (Names_{"Zeta", "alpha", "A.txt", "b.txt", "c-long.txt"}));
    EXPECT_EQ(Names(DisplaySubfolders(root.get())), (Names_{"alpha", "Zeta"}));
    // Display order is a copy: the children's links are untouched.
    EXPECT_STREQ(root->GetFirstChild()->GetProperties()->GetName(), "c-long.txt");
}

TEST(FileCells, PropertyRowsFollowTheFileSystemOfTheNode) {
    TreeOwner<CFileSystemNode> volume(CreateFileSystemNode());
    volume->SetFileSystemType(kFsFat32);
    volume->SetVolumeLocation(2048, 8);
    auto* folderProps = new fat::CFATFileProperties("DCIM", 0, kAttrFolder);
    folderProps->SetFirstCluster(10);
    folderProps->SetParentCluster(2);
    volume->SetProperties(folderProps);
    CFileNode* file = CreateFileNode();
    auto* fileProps = new fat::CFATFileProperties("IMG_0001.JPG", 9000, kAttrArchive);
    fileProps->SetParentCluster(10);
    fileProps->SetState(kStateDeleted | kStateCrossLink);
    fileProps->SetStoredRuns(StoredRunList::FromExtents({{100, 2}, {200, 1}}));
    file->SetProperties(fileProps);
    volume->AddChild(file);

    const std::vector<PropertyRow> folderRows = PropertyRows(volume.get());
    const std::vector<PropertyRow> expectFolder = {{"Sector Per Cluster", "8"},
                                                   {"Start Sector", "2048"},
                                                   {"Name", "DCIM"},
                                                   {"Sector", "2112"},
                                                   {"Cluster", "10"},
                                                   {"Parent", "2"},
                                                   {"Deleted", "No"},
                                                   {"Lost", "No"},
                                                   {"Cross Link", "No"},
                                                   {"Temp", "No"}};
    EXPECT_EQ(folderRows, expectFolder);
    const std::vector<PropertyRow> expectFile = {{"Name", "IMG_0001.JPG"},
                                                 {"Parent", "10"},
                                                 {"Parent Sector", "2112"},
                                                 {"Deleted", "Yes"},
                                                 {"Lost", "No"},
                                                 {"Cross Link", "Yes"},
                                                 {"Temp", "No"},
                                                 {"Lay out", "102: 2 - 202: 1."}};
    EXPECT_EQ(PropertyRows(file), expectFile);

    // Ext2/3 nodes have no rows of their own.
    volume->SetFileSystemType(kFsExt3);
    EXPECT_EQ(PropertyRows(file).size(), 0u);
    EXPECT_TRUE(PropertyRows(nullptr).empty());
}

}  // namespace
}  // namespace keldrin::ui
