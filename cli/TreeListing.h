// Prints a recovered-file tree, one line per node, depth first with each folder's children in byte
// order of their names (the tree itself stays unsorted).
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>

#include "engine/model/FileNode.h"

namespace keldrin::cli {

enum class ListingFormat { kTsv, kJson };

// Every node below root, root itself not included. TSV: state, size, mtime, path; JSON lines add
// the attributes, the three times and the extents. Paths use "/" and folders end with "/".
// Returns the number of lines written. A large tree is formatted by threads (0: two where the
// machine has two cores) and written in the same order.
uint64_t PrintTree(const CFileNode* root, ListingFormat format, std::ostream& out, int threads = 0);

// "-" or the letters D (deleted), L (lost), X (cross link), T (temp) in that order.
std::string StateLetters(uint8_t state);

// A name made safe for one line of a path: control characters, "\" and "/" become \xNN escapes,
// so a hostile name can neither break a line nor fake a folder.
std::string EscapeName(std::string_view name);

// A JSON string literal of text (UTF-8 passes, control characters are escaped).
std::string JsonString(std::string_view text);

}  // namespace keldrin::cli
