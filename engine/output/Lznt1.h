// LZNT1, the compression of NTFS compressed files: a unit is a series of chunks, each a 16-bit
// header and up to 4 KiB of data once decompressed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace keldrin::output {

inline constexpr size_t kLznt1ChunkBytes = 4096;

// Decodes the chunk that starts at in[pos] into out, moving pos past it. Returns the bytes
// produced, or -1 at the end of the unit (a zero header, or fewer than 2 bytes left). A chunk
// whose header claims more bytes than remain is decoded from what is there and ends the unit
// (pos moves to the end); nothing is read past in or written past out.
int64_t DecompressLznt1Chunk(std::span<const uint8_t> in, size_t& pos, std::span<uint8_t> out);

// Decodes a whole unit into out (which should hold the unit's uncompressed size), one chunk per
// 4 KiB, zeros where no chunk wrote; returns the end of the last bytes decoded.
size_t DecompressLznt1Unit(std::span<const uint8_t> in, std::span<uint8_t> out);

}  // namespace keldrin::output
