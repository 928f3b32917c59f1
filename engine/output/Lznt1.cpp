#include "engine/output/Lznt1.h"

#include <algorithm>

namespace keldrin::output {
namespace {

// How many bits of a back-reference token give the displacement depends on how far into the
// chunk the output is: 4 bits at first, up to 12.
int LengthBitsShift(size_t position) {
    int k = 0;
    if (position == 0) return 0;
    for (size_t v = position - 1; v > 15; v >>= 1) ++k;
    return k;
}

}  // namespace

int64_t DecompressLznt1Chunk(std::span<const uint8_t> in, size_t& pos, std::span<uint8_t> out) {
    if (pos + 2 > in.size()) {
        pos = in.size();
        return -1;
    }
    const uint16_t header = static_cast<uint16_t>(in[pos] | (in[pos + 1] << 8));
    if (header == 0) return -1;
    const size_t chunkEnd = pos + (header & 0x0FFF) + 3;
    size_t p = pos + 2;
    const size_t end = std::min(chunkEnd, in.size());
    const size_t limit = std::min(out.size(), kLznt1ChunkBytes);
    size_t produced = 0;
    if ((header & 0x8000) == 0) {
        // Stored as it is.
        const size_t n = std::min({static_cast<size_t>((header & 0x0FFF) + 1), end - p, limit});
        std::copy_n(in.begin() + static_cast<ptrdiff_t>(p), n, out.begin());
        produced = n;
    } else {
        while (p < end && produced < limit) {
            const uint8_t flags = in[p++];
            for (int bit = 0; bit < 8 && p < end && produced < limit; ++bit) {
                if ((flags & (1u << bit)) == 0) {
                    out[produced++] = in[p++];
                    continue;
                }
                if (p + 2 > end) {
                    p = end;
                    break;
                }
                const uint16_t token = static_cast<uint16_t>(in[p] | (in[p + 1] << 8));
                p += 2;
                const int k = LengthBitsShift(produced);
                size_t length = (token & (0x0FFFu >> k)) + 3;
                const size_t displacement = (static_cast<size_t>(token) >> (12 - k)) + 1;
                length = std::min(length, limit - produced);
                for (size_t i = 0; i < length; ++i, ++produced)
                    out[produced] = produced >= displacement ? out[produced - displacement] : 0;
            }
        }
    }
    pos = chunkEnd <= in.size() ? chunkEnd : in.size();
    return static_cast<int64_t>(produced);
}

size_t DecompressLznt1Unit(std::span<const uint8_t> in, std::span<uint8_t> out) {
    // A chunk that decodes to less than 4 KiB before the unit's end still stands for 4 KiB: the
    // rest of it is zeros.
    std::fill(out.begin(), out.end(), uint8_t{0});
    size_t pos = 0;
    size_t produced = 0;
    for (size_t start = 0; start < out.size() && pos < in.size(); start += kLznt1ChunkBytes) {
        const int64_t n = DecompressLznt1Chunk(in, pos, out.subspan(start));
        if (n < 0) break;
        produced = start + static_cast<size_t>(n);
    }
    return produced;
}

}  // namespace keldrin::output
