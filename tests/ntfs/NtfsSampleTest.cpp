// The bundled sample volume, built whole and checked against the manifest it was made from.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "engine/devices/ImageFileDevice.h"
#include "engine/model/FileProperties.h"
#include "engine/model/FileTree.h"
#include "engine/model/TreeWalk.h"
#include "engine/ntfs/NTFSTreeBuilder.h"
#include "tests/support/TestFiles.h"

namespace keldrin::ntfs {
namespace {

// Paths below the file-system node, folders ending in "/".
std::map<std::string, const IFileProperties*> Paths(CFileNode* root) {
    std::map<std::string, const IFileProperties*> paths;
    ForEachNode(root, [&](CFileNode* node) {
        if (node == root) return;
        std::string path = node->GetProperties()->GetName();
        if (IsFolder(node->GetProperties())) path += "/";
        for (CFileNode* up = node->GetParent(); up != root; up = up->GetParent())
            path = std::string(up->GetProperties()->GetName()) + "/" + path;
        paths.emplace(path, node->GetProperties());
    });
    return paths;
}

TEST(NtfsSample, EveryManifestRowIsFoundWithItsSizeAndState) {
    testing::ScopedTempDir dir;
    const std::filesystem::path image = testing::UnpackSample(dir.path());
    ASSERT_FALSE(image.empty());
    CImageFileDevice device(image.string());
    ASSERT_TRUE(device.IsOpen());
    CNTFSTreeBuilder builder(0);
    TreeOwner<CFileSystemNode> root(builder.BuildTree(0, &device, nullptr));
    ASSERT_TRUE(root);
    EXPECT_STREQ(root->GetDisplayName(), "KeldrinSample");
    const auto paths = Paths(root.get());

    std::ifstream manifest(std::filesystem::path(KELDRIN_SOURCE_DIR) / "samples" /
                           "sample-ntfs.img.manifest.tsv");
    ASSERT_TRUE(manifest);
    std::string line;
    std::getline(manifest, line);  // header
    int rows = 0;
    while (std::getline(manifest, line)) {
        std::istringstream fields(line);
        std::string path, size, sha, deleted;
        ASSERT_TRUE(std::getline(fields, path, '\t') && std::getline(fields, size, '\t') &&
                    std::getline(fields, sha, '\t') && std::getline(fields, deleted, '\t'))
            << line;
        ++rows;
        const auto found = paths.find(path);
        ASSERT_NE(found, paths.end()) << path;
        if (size != "-") {
            EXPECT_EQ(found->second->GetFileSize(), std::stoull(size)) << path;
        }
        EXPECT_EQ((found->second->GetState() & kStateDeleted) != 0, deleted == "yes") << path;
    }
    EXPECT_EQ(rows, 19);
}

}  // namespace
}  // namespace keldrin::ntfs
