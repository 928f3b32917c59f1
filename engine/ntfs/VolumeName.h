// The volume label kept in the $VOLUME_NAME of record 3 ($Volume).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "engine/ntfs/FileRecord.h"

namespace keldrin::ntfs {

inline constexpr size_t kMaxVolumeNameBytes = 80;

// The label as UTF-8, at most maxBytes bytes and never cut inside a character; empty when the
// record has no resident $VOLUME_NAME. The text ends at a zero character.
std::string ReadVolumeName(const FileRecord& record, size_t maxBytes = kMaxVolumeNameBytes);

// The longest prefix of text of at most maxBytes bytes that does not cut a UTF-8 sequence.
std::string_view Utf8Prefix(std::string_view text, size_t maxBytes);

}  // namespace keldrin::ntfs
