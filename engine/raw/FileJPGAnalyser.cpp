#include "engine/raw/FileJPGAnalyser.h"

#include <algorithm>
#include <cstring>

#include "engine/raw/RawWalk.h"

namespace keldrin {

using namespace rawwalk;

namespace {

enum class Walk { Jfif, Exif, Plain };

// Where FF D9 begins in the scan data from start, looking at most count bytes; -1 when the data
// end first, count when it was not met.
int64_t FindImageEnd(CRawByteReader& reader, int64_t start, int64_t count) {
    WalkPump pump(512);
    for (int64_t i = 0; i < count;) {
        const uint8_t* p = reader.GetByte(start + i);
        if (!p) return -1;
        const size_t available = reader.GetAvailable(start + i);
        const int64_t span = std::min<int64_t>(static_cast<int64_t>(available), count - i);
        const void* hit = std::memchr(p, 0xFF, static_cast<size_t>(span));
        if (!hit) {
            i += span;
            pump.Step();
            continue;
        }
        i += static_cast<const uint8_t*>(hit) - p;
        uint32_t next = 0;
        if (!ReadU8(reader, start + i + 1, next)) return -1;
        if (next == 0xD9) return i;
        ++i;
    }
    return count;
}

}  // namespace

int FileJPGAnalyser::CheckSignature(const uint8_t* s, CRawFileInfo& candidate) {
    if (s[0] != 0xFF || s[1] != 0xD8 || s[2] != 0xFF) return 0;
    if (s[3] != 0xE0 && s[3] != 0xE1 && s[3] != 0xDB) return 0;
    if (!SameBytes(s + 6, "JFIF", 4, true) && !SameBytes(s + 6, "Exif", 4, true) && s[3] != 0xDB) return 0;
    candidate.type = 33;
    candidate.size = 0;
    return 1;
}

int FileJPGAnalyser::FindFileSize(CRawFileInfo& candidate, IStorageDevice* device) {
    CRawByteReader reader(device, candidate.startSector);
    const int64_t max = MaxFileSize();
    uint8_t tag[4];
    if (!reader.ReadBytes(6, tag, 4)) return 0;
    const Walk walk = SameBytes(tag, "JFIF", 4, true)   ? Walk::Jfif
                      : SameBytes(tag, "Exif", 4, true) ? Walk::Exif
                                                        : Walk::Plain;
    bool frame = false;
    uint32_t width = 0, height = 0;
    int64_t pos = 2;
    WalkPump pump(10);
    for (;;) {
        uint32_t mark = 0, code = 0, length = 0;
        if (pos > max || !ReadU8(reader, pos, mark) || mark != 0xFF || !ReadU8(reader, pos + 1, code))
            return 0;
        if (code == 0xFF) {
            ++pos;  // a fill byte: the marker follows it
            continue;
        }
        if (!ReadBe16(reader, pos + 2, length)) return 0;
        if (code == 0xC0) {
            uint32_t precision = 0, components = 0;
            if (!ReadU8(reader, pos + 4, precision) || precision != 8) return 0;
            if (!ReadBe16(reader, pos + 5, height) || !ReadBe16(reader, pos + 7, width) ||
                !ReadU8(reader, pos + 9, components))
                return 0;
            if (walk == Walk::Jfif && components != 3) return 0;
            frame = true;
        } else if (code == 0xDA) {
            if (!frame) return 0;
            uint32_t components = 0;
            if (walk == Walk::Jfif && (!ReadU8(reader, pos + 4, components) || components != 3)) return 0;
            const int64_t start = pos + 2 + length;
            // A frame that names no height leaves only the maximal size as the bound.
            int64_t count = int64_t{width} * height * 3;
            if (count == 0 || count > max - start) count = max - start;
            if (count < 0) return 0;
            const int64_t end = FindImageEnd(reader, start, count);
            if (end < 0) return 0;
            candidate.size = start + end + 2;
            return 1;
        }
        pos += 2 + length;
        pump.Step();
    }
}

bool FileJPGAnalyser::GetLeadingBytes(std::vector<uint16_t>& values) const {
    values.push_back(0xFF | (0xD8 << 8));
    return true;
}

}  // namespace keldrin
