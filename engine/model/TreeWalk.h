// Depth-first walks over a recovered-file tree without recursion: trees of hostile volumes can be
// millions of levels deep, far deeper than any stack.
#pragma once

#include "engine/model/FileNode.h"

namespace keldrin {

// Visits top and every node below it. enter(node) comes before the node's children and returns
// whether to visit them; leave(node) comes after them. The walk climbs back by the parent links and
// reads a node's links before leaving it, so leave may free the node. Null top: nothing happens.
template <class Enter, class Leave>
void WalkSubtree(CFileNode* top, Enter&& enter, Leave&& leave) {
    CFileNode* node = top;
    while (node) {
        CFileNode* child = enter(node) ? node->GetFirstChild() : nullptr;
        if (child) {
            node = child;
            continue;
        }
        // No (more) children: leave nodes until one has a next sibling.
        for (;;) {
            const bool isTop = node == top;
            CFileNode* next = isTop ? nullptr : node->GetNextSibling();
            CFileNode* parent = isTop ? nullptr : node->GetParent();
            leave(node);
            if (isTop) return;
            if (next) {
                node = next;
                break;
            }
            node = parent;
            if (!node) return;
        }
    }
}

// Visits top and every node below it, parents before children.
template <class Visit>
void ForEachNode(CFileNode* top, Visit&& visit) {
    WalkSubtree(
        top,
        [&](CFileNode* node) {
            visit(node);
            return true;
        },
        [](CFileNode*) {});
}

}  // namespace keldrin
