#include "engine/model/FileTree.h"

#include "engine/model/FileProperties.h"
#include "engine/model/MyFileProperties.h"
#include "engine/model/TreeWalk.h"

namespace keldrin {
namespace {

template <class Free>
void FreeSubtree(CFileNode* node, Free&& free) {
    if (!node) return;
    node->Detach();
    WalkSubtree(
        node, [](CFileNode*) { return true; }, free);
}

}  // namespace

CFileNode* CreateFileNode() {
    return new CFileNode;
}

CFileSystemNode* CreateFileSystemNode() {
    return new CFileSystemNode;
}

CFileSystemNode* CreateRootNode() {
    TreeOwner<CFileSystemNode> root(CreateFileSystemNode());
    if (!root) return nullptr;
    MyFileRecord record;
    record.SetName("Root");
    record.attributes = kAttrFolder;
    root->SetProperties(new CMyFileProperties(record));
    return root.release();
}

void DeleteTree(CFileNode* node) {
    FreeSubtree(node, [](CFileNode* n) {
        delete n->GetProperties();
        delete n;
    });
}

void DeleteTreeNodes(CFileNode* node) {
    FreeSubtree(node, [](CFileNode* n) { delete n; });
}

}  // namespace keldrin
