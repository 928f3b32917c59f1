// Helpers of the tree tests: finding nodes by path and copying a file out through its extents.
#pragma once

#include <string>

#include "engine/ext2/Ext2FileProperties.h"
#include "engine/model/FileNode.h"
#include "engine/model/FileSystemNode.h"
#include "tests/ext2/Ext2TestSupport.h"

namespace keldrin::ext2::test {

// The node at a '/'-separated path below root; null when there is none.
inline CFileNode* FindPath(CFileNode* root, const std::string& path) {
    CFileNode* node = root;
    size_t start = 0;
    while (node && start <= path.size()) {
        const size_t end = std::min(path.find('/', start), path.size());
        const std::string part = path.substr(start, end - start);
        CFileNode* child = node->GetFirstChild();
        while (child && part != child->GetProperties()->GetName()) child = child->GetNextSibling();
        node = child;
        start = end + 1;
    }
    return node;
}

inline CExt2FileProperties* Props(CFileNode* node) {
    return node ? static_cast<CExt2FileProperties*>(node->GetProperties()) : nullptr;
}

// What the recovery writer produces: per extent min(extent bytes, remaining) bytes, zeros for a
// hole (start 0).
inline Bytes CopyOut(const Bytes& image, CFileNode* node) {
    Bytes out;
    const VolumeLocation where = node->GetVolumeLocation();
    auto runs = node->GetProperties()->GetDataRunList();
    uint64_t remaining = node->GetProperties()->GetFileSize();
    if (!runs) return out;
    for (const Extent* e = runs->First(); e && remaining; e = runs->Next()) {
        const uint64_t bytes = std::min<uint64_t>(e->length * where.sectorsPerCluster * 512, remaining);
        if (e->start == 0) {
            out.insert(out.end(), bytes, 0);
        } else {
            const uint64_t at = (where.firstSector + e->start * where.sectorsPerCluster) * 512;
            out.insert(out.end(), image.begin() + static_cast<ptrdiff_t>(at),
                       image.begin() + static_cast<ptrdiff_t>(at + bytes));
        }
        remaining -= bytes;
    }
    return out;
}

}  // namespace keldrin::ext2::test
