#include "engine/model/FileSystemNode.h"

#include <algorithm>
#include <vector>

#include "engine/model/CheckStates.h"
#include "engine/model/FileProperties.h"
#include "engine/model/TreeWalk.h"
#include "engine/model/Utf8Cut.h"

namespace keldrin {

void CFileSystemNode::SetVolumeLocation(int64_t firstSector, uint32_t sectorsPerCluster) {
    location_ = {firstSector, sectorsPerCluster};
}

void CFileSystemNode::SetFileSystemType(int type) {
    type_ = type >= kFsFat12 && type <= kFsUnknown ? type : kFsUnknown;
}

void CFileSystemNode::SetDisplayName(std::string_view name) {
    name = name.substr(0, name.find('\0'));
    const size_t length = Utf8PrefixLength(name, kMaxDisplayName);
    displayName_ = std::make_unique<char[]>(length + 1);
    std::copy_n(name.data(), length, displayName_.get());
    displayNameLength_ = static_cast<uint32_t>(length);
}

bool CFileSystemNode::ToggleCheck(CFileNode* node, bool setOnly) {
    IFileProperties* properties = node ? node->GetProperties() : nullptr;
    if (!properties) return false;
    const uint8_t state = properties->GetCheckState() == kChecked ? kUnchecked : kChecked;
    if (setOnly) {
        properties->SetCheckState(state);
        return true;
    }
    const bool checking = state == kChecked;

    SelectionStatistics subtree;
    ForEachNode(node, [&](CFileNode* n) {
        if (IFileProperties* p = n->GetProperties()) {
            CountFile(subtree, p);  // with the state from before the change
            p->SetCheckState(state);
        }
        // A file-system node further down now has all or none of its files checked.
        if (n != node && n->IsFileSystemNode()) {
            SelectionStatistics& s = static_cast<CFileSystemNode*>(n)->statistics_;
            s.checkedFiles = checking ? s.files : 0;
            s.checkedSize = checking ? s.totalSize : 0;
            s.checkedCompressedFiles = checking ? s.compressedFiles : 0;
            s.checkedEncryptedFiles = checking ? s.encryptedFiles : 0;
        }
    });

    for (CFileNode* n = node; n; n = n->GetParent()) {
        if (n != node) RecomputeOwnCheckState(n);
        if (n->IsFileSystemNode())
            ApplyCheckChange(static_cast<CFileSystemNode*>(n)->statistics_, subtree, checking);
    }
    return true;
}

bool CFileSystemNode::SetPropertiesMark(CFileNode* node, uint32_t value) {
    IFileProperties* properties = node ? node->GetProperties() : nullptr;
    if (!properties) return false;
    properties->SetMark(value);
    return true;
}

void CFileSystemNode::RecomputeStatistics() {
    // The file-system nodes between the top and the node being visited: each counts the file.
    std::vector<CFileSystemNode*> counting;
    WalkSubtree(
        this,
        [&](CFileNode* n) {
            if (n->IsFileSystemNode()) {
                auto* fs = static_cast<CFileSystemNode*>(n);
                fs->statistics_ = {};
                counting.push_back(fs);
            }
            for (CFileSystemNode* fs : counting) CountFile(fs->statistics_, n->GetProperties());
            return true;
        },
        [&](CFileNode* n) {
            if (n->IsFileSystemNode()) counting.pop_back();
        });
}

void CFileSystemNode::RefreshChecks() {
    RecomputeCheckStates(this);
    RecomputeStatistics();
}

}  // namespace keldrin
