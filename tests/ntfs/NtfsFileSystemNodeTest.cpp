#include <gtest/gtest.h>

#include <string>

#include "engine/devices/Volume.h"
#include "engine/model/FileProperties.h"
#include "engine/model/FileTree.h"
#include "engine/ntfs/NtfsFileSystemNode.h"
#include "tests/ntfs/NtfsBuilders.h"

namespace keldrin::ntfs {
namespace {

std::string Repeat(std::string_view piece, size_t times) {
    std::string s;
    for (size_t i = 0; i < times; ++i) s += piece;
    return s;
}

TEST(CreateNtfsFileSystemNode, NamesTheVolumeByIndexAndLabel) {
    struct Case {
        std::string label;
        std::string shown;
    } cases[] = {
        {"", ""},
        {"Data", "Data"},
        {Repeat("x", 50), Repeat("x", 40)},
        {Repeat("x", 64), Repeat("x", 40)},
        {Repeat("x", 65), ""},                             // too long to be shown at all
        {Repeat("\xC3\xA4", 64), Repeat("\xC3\xA4", 20)},  // 64 characters in 128 bytes
    };
    for (const Case& c : cases) {
        TreeOwner<CFileSystemNode> node(CreateNtfsFileSystemNode(2048, 8, 2, c.label));
        ASSERT_TRUE(node);
        EXPECT_EQ(node->GetDisplayName(), c.shown) << c.label;
        EXPECT_STREQ(node->GetProperties()->GetName(), "3 NTFS");
        EXPECT_EQ(node->GetProperties()->GetAttributes(), kAttrFolder);
        EXPECT_EQ(node->GetProperties()->GetPropertiesKind(), kPropertiesNtfs);
        EXPECT_EQ(node->GetFileSystemType(), kFsNtfs);
        EXPECT_EQ(node->GetVolumeLocation(), (VolumeLocation{2048, 8}));
    }
}

TEST(ReadNtfsLabel, ReadsRecordThreeOnlyWhenItIsVolume) {
    test::FakeVolume v({.label = u"Ünïcode ラベル"});
    std::string label;
    EXPECT_TRUE(ReadNtfsLabel(v.RecordSector(0), &v.device(), label));
    EXPECT_EQ(label, "Ünïcode ラベル");

    v.Put(3, test::SystemRecord(3, u"$AttrDef").Add(test::ResidentAttribute(0x60, test::Utf16(u"wrong"))));
    EXPECT_FALSE(ReadNtfsLabel(v.RecordSector(0), &v.device(), label));
    EXPECT_EQ(label, "");
    EXPECT_FALSE(ReadNtfsLabel(v.layout().deviceSectors - 2, &v.device(), label)) << "past the device";
    EXPECT_FALSE(ReadNtfsLabel(v.RecordSector(0), nullptr, label));
}

}  // namespace
}  // namespace keldrin::ntfs
