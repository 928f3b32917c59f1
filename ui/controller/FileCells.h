// What the file list and the properties dialog show of a node: cell texts, the display order of a
// folder's children and the rows of "Properties". Widget-free, so the texts are tested alone.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "engine/model/FileNode.h"
#include "engine/model/FileProperties.h"

namespace keldrin::ui {

enum FileListColumn : int {
    kColumnName = 0,
    kColumnSize = 1,
    kColumnType = 2,
    kColumnModified = 3,
    kColumnCreated = 4,
    kColumnAccessed = 5,
    kFileListColumnCount = 6,
};

// The column headers, in order, and their first widths.
const char* FileListColumnTitle(int column);
int FileListColumnWidth(int column);

// A cell's text; empty when the properties' type code says the field is unknown, and for a
// folder's size. Times are shown
// as the volume stored them, "2024-3-1 9:5:0"; a time of 0 (never recorded) shows nothing.
std::string CellText(const IFileProperties* properties, int column);
std::string FormatListTime(uint64_t fileTime);

// A node that the folder tree shows: a folder, or anything with children.
bool IsFolderNode(const CFileNode* node);
// The folders below node, in display order.
std::vector<CFileNode*> DisplaySubfolders(const CFileNode* node);
// node's children as the list shows them: folders first, each part ordered by column.
std::vector<CFileNode*> DisplayChildren(const CFileNode* node, int column = kColumnName,
                                        bool ascending = true);
void SortForDisplay(std::vector<CFileNode*>& nodes, int column, bool ascending);

using PropertyRow = std::pair<std::string, std::string>;
// The rows of the properties dialog for node, by its file system and whether it is a folder.
std::vector<PropertyRow> PropertyRows(const CFileNode* node);

}  // namespace keldrin::ui
