#include "engine/model/Extent.h"

namespace keldrin {
namespace {

// Fewest bytes (1..8) that hold v as a two's-complement signed number.
int SignedByteCount(int64_t v) {
    for (int n = 1; n < 8; ++n) {
        const int64_t lo = -(int64_t{1} << (8 * n - 1));
        const int64_t hi = (int64_t{1} << (8 * n - 1)) - 1;
        if (v >= lo && v <= hi) return n;
    }
    return 8;
}

uint8_t* PutLittle(uint8_t* out, uint64_t v, int n) {
    for (int i = 0; i < n; ++i) *out++ = static_cast<uint8_t>(v >> (8 * i));
    return out;
}

}  // namespace

size_t MappingPairsSize(const std::vector<Extent>& extents) {
    if (extents.empty()) return 0;
    size_t size = 1;
    uint64_t previous = 0;
    for (const Extent& e : extents) {
        size += 1 + static_cast<size_t>(SignedByteCount(static_cast<int64_t>(e.length)));
        if (e.IsSparse()) continue;
        size += static_cast<size_t>(SignedByteCount(static_cast<int64_t>(e.start - previous)));
        previous = e.start;
    }
    return size;
}

void EncodeMappingPairsInto(const std::vector<Extent>& extents, uint8_t* at) {
    if (extents.empty()) return;
    uint64_t previous = 0;
    for (const Extent& e : extents) {
        const int lengthBytes = SignedByteCount(static_cast<int64_t>(e.length));
        if (e.IsSparse()) {
            *at++ = static_cast<uint8_t>(lengthBytes);
            at = PutLittle(at, e.length, lengthBytes);
            continue;
        }
        const int64_t delta = static_cast<int64_t>(e.start - previous);
        const int deltaBytes = SignedByteCount(delta);
        *at++ = static_cast<uint8_t>(deltaBytes << 4 | lengthBytes);
        at = PutLittle(at, e.length, lengthBytes);
        at = PutLittle(at, static_cast<uint64_t>(delta), deltaBytes);
        previous = e.start;
    }
    *at = 0;
}

std::vector<uint8_t> EncodeMappingPairs(const std::vector<Extent>& extents) {
    // Sized first, so that the string is allocated once.
    std::vector<uint8_t> out(MappingPairsSize(extents));
    EncodeMappingPairsInto(extents, out.data());
    return out;
}

bool DecodeMappingPairs(const uint8_t* data, size_t size, std::vector<Extent>& out, size_t* consumed,
                        int maxFieldBytes) {
    size_t pos = 0;
    uint64_t previous = 0;
    bool ok = false;
    while (pos < size) {
        const uint8_t header = data[pos];
        if (header == 0) {
            ++pos;
            ok = true;
            break;
        }
        const int lengthBytes = header & 0x0F;
        const int deltaBytes = header >> 4;
        if (lengthBytes == 0 || lengthBytes > maxFieldBytes || deltaBytes > maxFieldBytes) break;
        if (size - pos - 1 < static_cast<size_t>(lengthBytes + deltaBytes)) break;
        ++pos;
        uint64_t length = 0;
        for (int i = 0; i < lengthBytes; ++i) length |= uint64_t{data[pos + i]} << (8 * i);
        pos += lengthBytes;
        // Lengths are read unsigned; zero, or too large for a signed 64-bit count, marks damage.
        if (length == 0 || length > static_cast<uint64_t>(INT64_MAX)) break;
        if (deltaBytes == 0) {
            out.push_back({kSparseStart, length});
            continue;
        }
        uint64_t delta = 0;
        for (int i = 0; i < deltaBytes; ++i) delta |= uint64_t{data[pos + i]} << (8 * i);
        pos += deltaBytes;
        if (deltaBytes < 8 && (delta >> (8 * deltaBytes - 1)) & 1) delta |= ~uint64_t{0} << (8 * deltaBytes);
        previous += delta;
        out.push_back({previous, length});
    }
    if (consumed) *consumed = pos;
    return ok;
}

}  // namespace keldrin
