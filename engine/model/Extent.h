// One extent of a file's data and the compact mapping-pairs codec shared by every reader.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace keldrin {

// A start of all ones marks a sparse extent: no data on disk.
inline constexpr uint64_t kSparseStart = ~uint64_t{0};

// Start and length are in the unit of the owning reader: NTFS clusters, or sectors.
struct Extent {
    uint64_t start = 0;
    uint64_t length = 0;

    bool IsSparse() const { return start == kSparseStart; }
    friend bool operator==(const Extent&, const Extent&) = default;
};

// Mapping-pairs encoding: per extent a header byte (high nibble = byte count of the signed start
// delta, low nibble = byte count of the length), the length, then the delta from the previous
// non-sparse extent's start; sparse extents carry no delta. A zero byte ends the string.
std::vector<uint8_t> EncodeMappingPairs(const std::vector<Extent>& extents);
// The same encoding in place: the bytes it takes (0 for no extents), and the string written to
// out, which must hold that many.
size_t MappingPairsSize(const std::vector<Extent>& extents);
void EncodeMappingPairsInto(const std::vector<Extent>& extents, uint8_t* out);

// Decodes at most size bytes, appending to out, and stops at a zero header byte. Returns false
// (keeping what was decoded so far) when a field runs past size, a field is wider than
// maxFieldBytes, or a length is 0 or past INT64_MAX. consumed, when given, receives the bytes read including
// the terminator.
bool DecodeMappingPairs(const uint8_t* data, size_t size, std::vector<Extent>& out,
                        size_t* consumed = nullptr, int maxFieldBytes = 8);

}  // namespace keldrin
