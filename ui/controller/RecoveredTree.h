// What the Deleted File Recovery build hands to the file-selection page: the built tree, its
// filtered copy of the deleted and lost files, and the "Root" above the copy. The copy shares the
// properties of the built tree, so they are freed together and in this order: the root's own node,
// the copy, then the built tree.
#pragma once

#include "engine/model/FileTree.h"
#include "engine/model/FilteredTreeBuilder.h"

namespace keldrin::ui {

class RecoveredTree {
  public:
    // Takes both trees; copy may be null. Null when there is nothing to show (no copy, or a copy
    // without a single file) or memory runs out; the trees are freed then.
    static std::unique_ptr<RecoveredTree> Make(TreeOwner<CFileSystemNode> built, FilteredCopyOwner copy);

    ~RecoveredTree();
    RecoveredTree(const RecoveredTree&) = delete;
    RecoveredTree& operator=(const RecoveredTree&) = delete;

    CFileSystemNode* Root() const { return root_.get(); }
    CFileSystemNode* Copy() const { return copy_.get(); }

  private:
    RecoveredTree() = default;

    TreeOwner<CFileSystemNode> built_;
    FilteredCopyOwner copy_;
    TreeOwner<CFileSystemNode> root_;
};

}  // namespace keldrin::ui
