#include "engine/model/FileNode.h"

#include "engine/devices/Volume.h"
#include "engine/model/SmallBlockPool.h"

namespace keldrin {

VolumeLocation CFileNode::GetVolumeLocation() const {
    for (const CFileNode* n = parent_; n; n = n->parent_)
        if (n->IsFileSystemNode()) return n->GetVolumeLocation();
    return {};
}

int CFileNode::GetFileSystemType() const {
    for (const CFileNode* n = parent_; n; n = n->parent_)
        if (n->IsFileSystemNode()) return n->GetFileSystemType();
    return kFsUnknown;
}

bool CFileNode::AddChild(CFileNode* child) {
    if (!child || child == this) return false;
    child->Detach();
    child->parent_ = this;
    child->nextSibling_ = firstChild_;
    firstChild_ = child;
    return true;
}

void CFileNode::Detach() {
    if (!parent_) return;
    CFileNode** link = &parent_->firstChild_;
    while (*link && *link != this) link = &(*link)->nextSibling_;
    if (*link) *link = nextSibling_;
    parent_ = nullptr;
    nextSibling_ = nullptr;
}

void* CFileNode::operator new(size_t size) noexcept {
    return TreePool().Allocate(size);
}

void CFileNode::operator delete(void* node, size_t size) noexcept {
    TreePool().Free(node, size);
}

}  // namespace keldrin
