#include "tests/output/OutputFixtures.h"

#include <algorithm>
#include <fstream>
#include <sstream>

#include "engine/model/MyFileProperties.h"

namespace keldrin::testing {
namespace {

class TestRunList final : public IDataRunList {
  public:
    explicit TestRunList(int kind) : kind_(kind) {}
    int GetRunListKind() const override { return kind_; }

  private:
    int kind_;
};

}  // namespace

TestProperties::TestProperties(std::string name, uint64_t size, uint16_t attributes,
                               std::vector<Extent> extents, int kind)
    : name_(std::move(name)),
      size_(size),
      attributes_(attributes),
      extents_(std::move(extents)),
      kind_(kind) {}

std::unique_ptr<IDataRunList> TestProperties::GetDataRunList() const {
    if (extents_.empty()) return nullptr;
    auto list = std::make_unique<TestRunList>(kind_ == kPropertiesExt2 ? kRunListExt2 : kRunListFat);
    for (const Extent& e : extents_) list->AddRun(e);
    return list;
}

CFileNode* AddNode(CFileNode* parent, TestProperties* properties) {
    CFileNode* node = CreateFileNode();
    node->SetProperties(properties);
    parent->AddChild(node);
    return node;
}

TreeOwner<CFileSystemNode> MakeVolume(int64_t firstSector, uint32_t sectorsPerCluster) {
    TreeOwner<CFileSystemNode> root(CreateFileSystemNode());
    root->SetVolumeLocation(firstSector, sectorsPerCluster);
    root->SetProperties(new TestProperties("Volume", 0, kAttrFolder));
    return root;
}

int CountingCallback::AddBytes(uint64_t count) {
    bytes += count;
    peakBytes = std::max(peakBytes, bytes);
    ++addBytesCalls;
    return cancelAtBytes != 0 && addBytesCalls >= cancelAtBytes ? kCancelled : kGoOn;
}

std::vector<std::string> FilesBelow(const std::filesystem::path& root) {
    std::vector<std::string> out;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root))
        if (entry.is_regular_file()) out.push_back(std::filesystem::relative(entry.path(), root).string());
    std::sort(out.begin(), out.end());
    return out;
}

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace keldrin::testing
