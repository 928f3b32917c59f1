#include "engine/raw/RawWalk.h"

#include <cstring>

#include "platform/Worker.h"
#include "shared/ScanSettings.h"

namespace keldrin::rawwalk {
namespace {

uint8_t Lower(uint8_t c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<uint8_t>(c + 32) : c;
}

bool ReadN(CRawByteReader& reader, int64_t offset, uint8_t* out, size_t count) {
    return offset >= 0 && reader.ReadBytes(offset, out, count);
}

}  // namespace

int64_t MaxFileSize() {
    const int64_t max = GetScanSettings().raw.maxFileSize;
    return max > 0 ? max : 0;
}

bool SameBytes(const uint8_t* p, const char* text, size_t length, bool caseless) {
    for (size_t i = 0; i < length; ++i) {
        const uint8_t a = p[i];
        const uint8_t b = static_cast<uint8_t>(text[i]);
        if (caseless ? Lower(a) != Lower(b) : a != b) return false;
    }
    return true;
}

bool ReadU8(CRawByteReader& reader, int64_t offset, uint32_t& value) {
    uint8_t b[1];
    if (!ReadN(reader, offset, b, 1)) return false;
    value = b[0];
    return true;
}
bool ReadLe16(CRawByteReader& reader, int64_t offset, uint32_t& value) {
    uint8_t b[2];
    if (!ReadN(reader, offset, b, 2)) return false;
    value = Le16(b);
    return true;
}
bool ReadBe16(CRawByteReader& reader, int64_t offset, uint32_t& value) {
    uint8_t b[2];
    if (!ReadN(reader, offset, b, 2)) return false;
    value = Be16(b);
    return true;
}
bool ReadLe32(CRawByteReader& reader, int64_t offset, uint32_t& value) {
    uint8_t b[4];
    if (!ReadN(reader, offset, b, 4)) return false;
    value = Le32(b);
    return true;
}
bool ReadBe32(CRawByteReader& reader, int64_t offset, uint32_t& value) {
    uint8_t b[4];
    if (!ReadN(reader, offset, b, 4)) return false;
    value = Be32(b);
    return true;
}

bool MatchAt(CRawByteReader& reader, int64_t offset, const char* text, size_t length, bool caseless) {
    uint8_t buffer[64];
    if (length > sizeof(buffer) || !ReadN(reader, offset, buffer, length)) return false;
    return SameBytes(buffer, text, length, caseless);
}

void WalkPump::Step() {
    if (++count_ >= every_) {
        count_ = 0;
        platform::PumpMessages();
    }
}

int FindEndMarker(CRawByteReader& reader, const uint8_t* marker, size_t length, int64_t limit,
                  int64_t& size) {
    if (limit <= 0) limit = MaxFileSize();
    if (length == 0 || length > 64) return 0;
    WalkPump pump(512);
    for (int64_t pos = 0;; ++pos) {
        if (pos > limit) {
            size = pos;
            return 1;
        }
        const uint8_t* p = reader.GetByte(pos);
        if (!p) return 0;
        uint8_t local[64];
        if (reader.GetAvailable(pos) < length) {
            if (!reader.ReadBytes(pos, local, length)) return 0;
            p = local;
        }
        if (SameBytes(p, reinterpret_cast<const char*>(marker), length, true)) {
            size = pos + static_cast<int64_t>(length);
            return 1;
        }
        pump.Step();
    }
}

int FindBytes(CRawByteReader& reader, const uint8_t* pattern, size_t length, int64_t from, int64_t limit,
              int64_t& found) {
    if (length == 0 || length > 64 || from < 0) return 0;
    WalkPump pump(512);
    for (int64_t pos = from; pos <= limit;) {
        const uint8_t* p = reader.GetByte(pos);
        if (!p) return 0;
        // Whole windows at a time: most bytes are not even the pattern's first.
        const size_t available = reader.GetAvailable(pos);
        const void* hit = std::memchr(p, pattern[0], available);
        if (!hit) {
            pos += static_cast<int64_t>(available);
            pump.Step();
            continue;
        }
        pos += static_cast<const uint8_t*>(hit) - p;
        if (pos > limit) return 0;
        uint8_t local[64];
        if (!reader.ReadBytes(pos, local, length)) return 0;
        if (std::memcmp(local, pattern, length) == 0) {
            found = pos;
            return 1;
        }
        ++pos;
        pump.Step();
    }
    return 0;
}

}  // namespace keldrin::rawwalk
