// Three-state check marks: a folder is checked when all its children are, partly checked when some
// are checked or partly checked, unchecked otherwise.
#pragma once

#include "engine/model/FileNode.h"

namespace keldrin {

// Sets node's state from its direct children; children with null properties take no part.
// Nothing happens unless node is a folder.
void RecomputeOwnCheckState(CFileNode* node);

// The same for every folder below node, children before parents, then for node.
void RecomputeCheckStates(CFileNode* node);

}  // namespace keldrin
