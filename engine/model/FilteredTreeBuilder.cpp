#include "engine/model/FilteredTreeBuilder.h"

#include <memory>
#include <new>
#include <vector>

#include "engine/model/FileTree.h"
#include "engine/model/MyFileProperties.h"

namespace keldrin {
namespace {

// One level being copied: the next source child to look at, the copy's node of that level, and
// whether anything was kept in it.
struct Level {
    CFileNode* next;
    CFileNode* target;
    bool kept;
};

// The copy's root stands in for a RAW folder: no extents, no times, an empty volume record but
// for its kind.
CMyFileProperties* MakeRootProperties() {
    MyFileRecord record;
    record.SetName(CFilteredTreeBuilder::kRootName);
    record.attributes = kAttrFolder;
    record.typeCode = kTypeCodeRaw;
    return new (std::nothrow) CMyFileProperties(record);
}

CFileNode* NewSharingNode(const CFileNode* source) {
    CFileNode* node = CreateFileNode();
    if (node) node->SetProperties(source->GetProperties());
    return node;
}

// Copies the levels below source into target without recursion (hostile trees are deeper than
// any stack). False when memory ran out; the partial levels are then freed, and what was already
// added to target stays there.
bool CopyLevels(const CFileNode* source, CFileNode* target, const IFileFilter& filter) {
    std::vector<Level> levels;
    try {
        levels.push_back({source->GetFirstChild(), target, false});
        while (!levels.empty()) {
            Level& level = levels.back();
            CFileNode* child = level.next;
            if (!child) {
                const Level done = level;
                levels.pop_back();
                if (levels.empty()) break;
                Level& parent = levels.back();
                if (done.kept) {
                    parent.target->AddChild(done.target);
                    parent.kept = true;
                } else {
                    delete done.target;  // its properties stay with the source
                }
                continue;
            }
            level.next = child->GetNextSibling();
            if (child->GetFirstChild()) {
                // Folders are never tested: they stay when something below them does.
                std::unique_ptr<CFileNode> copy(NewSharingNode(child));
                if (!copy) throw std::bad_alloc();
                levels.push_back({child->GetFirstChild(), copy.get(), false});
                copy.release();
            } else if (!IsFolder(child->GetProperties()) && filter.Accept(child->GetProperties())) {
                CFileNode* copy = NewSharingNode(child);
                if (!copy) throw std::bad_alloc();
                level.target->AddChild(copy);
                level.kept = true;
            }
        }
        return true;
    } catch (const std::bad_alloc&) {
        // Every level but the first holds a node not yet linked to its parent.
        for (size_t i = 1; i < levels.size(); ++i) DeleteTreeNodes(levels[i].target);
        return false;
    }
}

}  // namespace

CFilteredTreeBuilder::CFilteredTreeBuilder(const IFileFilter* filter) : filter_(filter) {
    root_ = CreateFileSystemNode();
    if (!root_) return;
    CMyFileProperties* properties = MakeRootProperties();
    if (!properties) {
        delete root_;
        root_ = nullptr;
        return;
    }
    root_->SetProperties(properties);
    root_->SetVolumeLocation(0, 1);
    root_->SetFileSystemType(kFsUnknown);
    VolumeInfo info;
    info.kind = kVolumeInfoFiltered;
    root_->SetVolumeInfo(info);
}

CFilteredTreeBuilder::~CFilteredTreeBuilder() {
    DeleteFilteredCopy(root_);
}

CFileSystemNode* CFilteredTreeBuilder::Build(const CFileSystemNode* source) {
    if (!root_ || !source || !filter_) return nullptr;
    if (const IFileProperties* from = source->GetProperties())
        static_cast<CMyFileProperties*>(root_->GetProperties())->SetName(from->GetName());
    root_->SetDisplayName(source->GetDisplayName());
    if (!CopyLevels(source, root_, *filter_)) {
        while (CFileNode* child = root_->GetFirstChild()) DeleteTreeNodes(child);
        return nullptr;
    }
    const VolumeLocation location = source->GetVolumeLocation();
    root_->SetVolumeLocation(location.firstSector, location.sectorsPerCluster);
    root_->SetFileSystemType(source->GetFileSystemType());
    CFileSystemNode* root = root_;
    root_ = nullptr;
    return root;
}

void DeleteFilteredCopy(CFileSystemNode* root) {
    if (!root) return;
    delete root->GetProperties();
    DeleteTreeNodes(root);
}

}  // namespace keldrin
