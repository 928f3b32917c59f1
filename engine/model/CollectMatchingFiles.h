// The walk of "Search files": the files below a start node that meet the criteria.
#pragma once

#include <vector>

#include "engine/model/FileNode.h"
#include "engine/model/FileSystemNode.h"
#include "engine/model/SearchCriteria.h"

namespace keldrin {

inline constexpr const char* kNoFilesMatchMessage = "No files match specific criteria.";

// Visits every node below start (not start itself), depth first, a node before its children,
// children in list order, and appends each matching node that is not a folder to results. With
// autoSelect, each result not yet checked is checked through topRoot's ToggleCheck, which keeps the
// folders' states and the statistics; a null topRoot checks nothing. True when anything was
// appended; false too when memory for the list ran out.
bool CollectMatchingFiles(CFileNode* start, const SearchCriteria& criteria, bool autoSelect,
                          CFileSystemNode* topRoot, std::vector<CFileNode*>& results);

// A confirmed "Search files": refuses a name text with \ / : " < > |, builds the criteria and
// collects from values.start. False (show kNoFilesMatchMessage, the dialog closes as cancelled)
// when the text was refused or nothing matched; results then stay empty.
bool SearchFiles(const SearchValues& values, CFileSystemNode* topRoot, std::vector<CFileNode*>& results);

}  // namespace keldrin
