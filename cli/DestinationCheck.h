// Whether a recovery may write into a destination folder: writing onto the source could overwrite
// the very sectors the files come from, and a full destination loses files.
#pragma once

#include <cstdint>
#include <string>

namespace keldrin::cli {

// Yes when folder's file system lies on a block-device source: the device itself, a partition of
// it, or the disk it is a partition of. Never for an image file.
bool DestinationOnSource(const std::string& sourcePath, const std::string& folder);

// Bytes free to an unprivileged writer in folder's file system; -1 when it cannot be told.
int64_t FreeBytes(const std::string& folder);

}  // namespace keldrin::cli
