// The NTFS metadata files, known by the name of a record's first $FILE_NAME.
#pragma once

#include <string_view>

#include "engine/ntfs/FileRecord.h"

namespace keldrin::ntfs {

// "$MFT" 0 ... "$Extend" 11 (their record numbers), "$Quota" 32, "$ObjId" 33, "$Reparse" 34;
// -1 for any other name.
int SystemFileCodeOf(std::string_view name);

// The record is valid and in use, its $STANDARD_INFORMATION carries both system and hidden, and
// its first $FILE_NAME is name.
bool IsSystemFile(const FileRecord& record, std::string_view name);
// The code of a valid base record whose $STANDARD_INFORMATION carries system and hidden and
// whose first $FILE_NAME is a system name; -1 otherwise. The in-use flag is not asked, so a
// system record that reads as deleted is still known.
int GetSystemFileCode(const FileRecord& record);

}  // namespace keldrin::ntfs
