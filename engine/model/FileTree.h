// Making and freeing recovered-file trees.
#pragma once

#include <memory>

#include "engine/model/FileNode.h"
#include "engine/model/FileSystemNode.h"

namespace keldrin {

// New nodes with all links null; null when memory runs out. The caller holds a new node until it
// is added to a tree, and frees a tree it holds with DeleteTree.
CFileNode* CreateFileNode();
// File-system type kFsUnknown, statistics and volume information all zero.
CFileSystemNode* CreateFileSystemNode();
// A file-system node with CMyFileProperties named "Root", the folder attribute and nothing else.
CFileSystemNode* CreateRootNode();

// Frees node and everything below it, each node's properties before the node and children before
// parents. A node that hangs in a larger tree is unlinked from it first. Null: nothing happens.
void DeleteTree(CFileNode* node);
// Frees the nodes only, for a filtered copy whose properties belong to its source tree.
void DeleteTreeNodes(CFileNode* node);

// For holders of a whole tree: frees it with DeleteTree.
struct TreeDeleter {
    void operator()(CFileNode* node) const { DeleteTree(node); }
};
template <class Node = CFileNode>
using TreeOwner = std::unique_ptr<Node, TreeDeleter>;

}  // namespace keldrin
