// Shared pieces of the analysers' walks: checked reads through a CRawByteReader, the bound every
// walk obeys, and a pump that keeps the interface alive during long walks.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/raw/RawByteReader.h"

namespace keldrin::rawwalk {

// The maximal file size of the RAW settings; every walk stops before passing it.
int64_t MaxFileSize();

// Values from a sector already in memory (the caller guarantees the bytes are there).
inline uint32_t Le16(const uint8_t* p) {
    return p[0] | (p[1] << 8);
}
inline uint32_t Be16(const uint8_t* p) {
    return (p[0] << 8) | p[1];
}
inline uint32_t Le32(const uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
inline uint32_t Be32(const uint8_t* p) {
    return (static_cast<uint32_t>(p[0]) << 24) | (p[1] << 16) | (p[2] << 8) | p[3];
}
// True when the bytes at p equal text, letters compared without case when caseless is set.
bool SameBytes(const uint8_t* p, const char* text, size_t length, bool caseless);

// Reads that fail cleanly: false (and value untouched) when any byte cannot be read or the
// offset is negative.
bool ReadU8(CRawByteReader& reader, int64_t offset, uint32_t& value);
bool ReadLe16(CRawByteReader& reader, int64_t offset, uint32_t& value);
bool ReadBe16(CRawByteReader& reader, int64_t offset, uint32_t& value);
bool ReadLe32(CRawByteReader& reader, int64_t offset, uint32_t& value);
bool ReadBe32(CRawByteReader& reader, int64_t offset, uint32_t& value);
// True when the bytes at offset can be read and equal text.
bool MatchAt(CRawByteReader& reader, int64_t offset, const char* text, size_t length, bool caseless);

// Calls the message pump once every `every` steps.
class WalkPump {
  public:
    explicit WalkPump(uint32_t every) : every_(every) {}
    void Step();

  private:
    uint32_t every_;
    uint32_t count_ = 0;
};

// Looks for marker (caseless) from the file start. At the first match size is its position plus
// its length; past limit (the maximal file size when 0) size is the position reached. 1 then,
// 0 when the data end before either.
int FindEndMarker(CRawByteReader& reader, const uint8_t* marker, size_t length, int64_t limit, int64_t& size);

// Looks for the exact bytes of pattern starting at positions from to limit (inclusive). 1 with
// found set to the first such position, 0 when there is none up to limit or the data end first.
int FindBytes(CRawByteReader& reader, const uint8_t* pattern, size_t length, int64_t from, int64_t limit,
              int64_t& found);

}  // namespace keldrin::rawwalk
