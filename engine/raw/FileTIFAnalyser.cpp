#include "engine/raw/FileTIFAnalyser.h"

#include <algorithm>

#include "engine/raw/RawWalk.h"

namespace keldrin {

using namespace rawwalk;

namespace {

constexpr uint32_t kMaxEntries = 512;
constexpr uint32_t kStripOffsets = 273;
constexpr uint32_t kStripByteCounts = 279;

struct Order {
    bool big;
    bool U16(CRawByteReader& r, int64_t at, uint32_t& v) const {
        return big ? ReadBe16(r, at, v) : ReadLe16(r, at, v);
    }
    bool U32(CRawByteReader& r, int64_t at, uint32_t& v) const {
        return big ? ReadBe32(r, at, v) : ReadLe32(r, at, v);
    }
};

// Bytes per value of each field type (BYTE, ASCII, SHORT, LONG, RATIONAL, ... IFD); 0 unknown.
int64_t TypeBytes(uint32_t type) {
    constexpr int64_t kBytes[14] = {0, 1, 1, 2, 4, 8, 1, 1, 2, 4, 8, 4, 8, 4};
    return type < 14 ? kBytes[type] : 0;
}

// One array of strip values: where its values are and how wide each is.
struct StripArray {
    int64_t at = 0;  // inline in the entry when it fits there
    uint32_t count = 0;
    int64_t width = 0;
};

constexpr uint32_t kBlockValues = 1024;

// Values first to first + n − 1 of a; read a block at a time so that two arrays in different
// windows of the reader do not make it reload a window for every value.
bool ReadValues(CRawByteReader& r, bool big, const StripArray& a, uint32_t first, uint32_t n, uint32_t* out) {
    uint8_t bytes[kBlockValues * 4];
    const auto width = static_cast<size_t>(a.width);
    if (!r.ReadBytes(a.at + a.width * first, bytes, width * n)) return false;
    for (uint32_t i = 0; i < n; ++i) {
        const uint8_t* p = bytes + width * i;
        out[i] = width == 2 ? (big ? Be16(p) : Le16(p)) : (big ? Be32(p) : Le32(p));
    }
    return true;
}

}  // namespace

int FileTIFAnalyser::CheckSignature(const uint8_t* s, CRawFileInfo& candidate) {
    if (!SameBytes(s, "MM\0*", 4, false) && !SameBytes(s, "II*\0", 4, false)) return 0;
    candidate.type = 60;
    candidate.size = 0;
    return 1;
}

int FileTIFAnalyser::FindFileSize(CRawFileInfo& candidate, IStorageDevice* device) {
    CRawByteReader reader(device, candidate.startSector);
    const int64_t max = MaxFileSize();
    uint32_t mark = 0, ifd = 0, entries = 0;
    if (!ReadU8(reader, 0, mark)) return 0;
    const Order order{mark == 'M'};
    if (!order.U32(reader, 4, ifd) || ifd < 8 || ifd > max || !order.U16(reader, ifd, entries)) return 0;
    entries = std::min(entries, kMaxEntries);
    // The directory itself and the values it points at are part of the file too: writers often
    // put them after the image data.
    int64_t furthest = ifd + 2 + 12 * int64_t{entries} + 4;
    StripArray offsets, counts;
    for (uint32_t e = 0; e < entries; ++e) {
        const int64_t at = ifd + 2 + 12 * int64_t{e};
        uint32_t tag = 0, type = 0, count = 0, value = 0;
        if (!order.U16(reader, at, tag) || !order.U16(reader, at + 2, type) ||
            !order.U32(reader, at + 4, count) || !order.U32(reader, at + 8, value))
            return 0;
        const int64_t bytes = TypeBytes(type) * count;
        const bool inlined = bytes <= 4;
        if (!inlined && bytes <= max) furthest = std::max(furthest, int64_t{value} + bytes);
        if ((tag == kStripOffsets || tag == kStripByteCounts) && (type == 3 || type == 4)) {
            StripArray& a = tag == kStripOffsets ? offsets : counts;
            a.at = inlined ? at + 8 : value;
            a.count = count;
            a.width = TypeBytes(type);
        }
    }
    const uint32_t strips = std::min(offsets.count, counts.count);
    if (strips == 0 || int64_t{strips} * 4 > max) return 0;
    int64_t total = 0, lastEnd = 0;
    WalkPump pump(10);
    for (uint32_t first = 0; first < strips; first += kBlockValues) {
        const uint32_t n = std::min(kBlockValues, strips - first);
        uint32_t offset[kBlockValues], count[kBlockValues];
        if (!ReadValues(reader, order.big, offsets, first, n, offset) ||
            !ReadValues(reader, order.big, counts, first, n, count))
            return 0;
        for (uint32_t i = 0; i < n; ++i) {
            total += count[i];
            lastEnd = std::max(lastEnd, int64_t{offset[i]} + count[i]);
        }
        pump.Step();
    }
    candidate.size = std::max({total, lastEnd, furthest});
    return 1;
}

bool FileTIFAnalyser::GetLeadingBytes(std::vector<uint16_t>& values) const {
    values.push_back('M' | ('M' << 8));
    values.push_back('I' | ('I' << 8));
    return true;
}

}  // namespace keldrin
