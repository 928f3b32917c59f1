#include "ui/controller/RecoveredTree.h"

namespace keldrin::ui {

std::unique_ptr<RecoveredTree> RecoveredTree::Make(TreeOwner<CFileSystemNode> built, FilteredCopyOwner copy) {
    if (!built || !copy || !copy->GetFirstChild()) return nullptr;
    std::unique_ptr<RecoveredTree> tree(new (std::nothrow) RecoveredTree);
    if (!tree) return nullptr;
    tree->root_.reset(CreateRootNode());
    if (!tree->root_) return nullptr;
    VolumeInfo info;
    info.kind = kVolumeInfoFiltered;
    tree->root_->SetVolumeInfo(info);
    if (!tree->root_->AddChild(copy.get())) return nullptr;
    tree->root_->RecomputeStatistics();
    tree->built_ = std::move(built);
    tree->copy_ = std::move(copy);
    return tree;
}

RecoveredTree::~RecoveredTree() {
    // The copy hangs under the root; it must leave it before the root frees its subtree, or the
    // shared properties of the built tree would be freed twice.
    if (copy_) copy_->Detach();
    root_.reset();
    copy_.reset();
    built_.reset();
}

}  // namespace keldrin::ui
