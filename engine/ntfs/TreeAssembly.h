// From build records to a tree: every record under its parent folder, breadth-first from the root
// folder, then the records no path reaches gathered among themselves and into "LostFiles<n>".
#pragma once

#include <cstdint>

#include "engine/model/FileNode.h"
#include "engine/model/ProgressCallbacks.h"
#include "engine/ntfs/MftMap.h"
#include "engine/ntfs/NtfsBuildRecord.h"

namespace keldrin::ntfs {

// Folders at these record numbers are metadata and never adopt lost files.
inline constexpr int64_t kLastSystemRecord = 24;

// Puts the records in order of parent, those of one parent in the order they had. Done before
// AssembleTree, it spares that the index it would build and lets it give back the records it has
// placed (the tree comes out the same).
void SortByParent(BuildRecordList& records);

// Hangs under root every record reached from record 5 through parent references, in the order of
// the list among siblings, each record at most once; a record's properties move to its node,
// which points back at the record as its builder record. Records of unknown number are numbered
// through mft when given. Steps the callback once per node (a null callback never cancels).
// False when cancelled: what was placed stays under root. A list in SortByParent order loses, as
// the tree grows, the chunks whose records were all placed and walked (BuildRecordList::Released);
// the builder records of their nodes must not be followed after that.
bool AssembleTree(BuildRecordList& records, CFileNode* root, IDIRBuildCallback* callback,
                  const MftMap* mft = nullptr);

// Places the records that still hold their properties: a lost folder above record 24 adopts the
// lost records that name it as parent, never one of its own ancestors (so parent cycles end
// there); whatever is left without a parent goes into a new folder "LostFiles<n>" under `under`,
// n = ++lostFolders. Steps the callback once per adopting folder. False when cancelled; every node
// made is in the tree under `under` either way.
bool AttachLostFiles(BuildRecordList& records, CFileNode* under, int& lostFolders,
                     IDIRBuildCallback* callback);

// The record whose first sector is sector, through the $MFT runs; kUnknownRecord when none is.
int64_t RecordNumberAt(const MftMap& mft, int64_t sector);

// Drops every node's pointer to its build record, before the records go.
void ClearBuilderRecords(CFileNode* top);

}  // namespace keldrin::ntfs
