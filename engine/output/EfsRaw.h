// The raw import stream of an encrypted NTFS file: the form in which Windows takes an encrypted
// file back without its key. Linux cannot import it, so the stream itself is the recovered file.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/model/ProgressCallbacks.h"

namespace keldrin::output {

inline constexpr size_t kEfsStreamHeaderBytes = 66;
inline constexpr size_t kEfsDataHeaderBytes = 42;
inline constexpr size_t kEfsBlockHeaderBytes = 512;
inline constexpr size_t kEfsBlockDataBytes = 65536;

// The stream header that precedes the $EFS data (efsLength bytes of it).
std::array<uint8_t, kEfsStreamHeaderBytes> EfsStreamHeader(uint32_t efsLength);
// The header of the file's data stream, after the $EFS data.
std::array<uint8_t, kEfsDataHeaderBytes> EfsDataStreamHeader();
// The header of one block of raw encrypted data; remaining is the file size not yet carried by
// earlier blocks.
std::array<uint8_t, kEfsBlockHeaderBytes> EfsBlockHeader(uint16_t index, uint32_t dataBytes,
                                                         uint64_t remaining);

enum class EfsResult { kDone, kFailed, kCancelled };

// path holds the stream header, the $EFS data and the raw encrypted data of a file of size bytes.
// Writes the import stream to path + ".EFS" (or a unique variant), removes path and gives the
// stream's name in outPath.
EfsResult ConvertToEfsRaw(const std::string& path, uint64_t size, IFileRecoverCallback* callback,
                          std::string& outPath);

}  // namespace keldrin::output
