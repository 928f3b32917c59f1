#include "engine/raw/RawBoxWalk.h"

#include <initializer_list>

#include "engine/raw/RawWalk.h"

namespace keldrin::rawwalk {

namespace {

constexpr int kMaxBoxes = 500;

bool IsMovieBox(const uint8_t* type) {
    for (const char* name : {"mdat", "moov", "free", "moof", "mfra"})
        if (SameBytes(type, name, 4, true)) return true;
    return false;
}

}  // namespace

int64_t IsoBoxLength(CRawByteReader& reader, int64_t pos) {
    uint32_t size = 0;
    if (!ReadBe32(reader, pos, size) || size == 0 || size == 0xFFFFFFFF) return 0;
    if (size != 1) return size < 8 ? 0 : size;
    uint32_t high = 0, low = 0;
    if (!ReadBe32(reader, pos + 8, high) || !ReadBe32(reader, pos + 12, low)) return 0;
    const int64_t large = (int64_t{high} << 32) | low;
    return (high >> 31) != 0 || large < 16 ? 0 : large;
}

int FindIsoMediaSize(CRawFileInfo& candidate, IStorageDevice* device) {
    CRawByteReader reader(device, candidate.startSector);
    const int64_t max = MaxFileSize();
    int64_t pos = IsoBoxLength(reader, 0);
    if (pos == 0 || pos > max) return 0;
    WalkPump pump(10);
    for (int box = 0; box < kMaxBoxes; ++box) {
        uint8_t head[8];
        // Unreadable here (the scan's look-back ring ends, say) is not the movie's end.
        if (!reader.ReadBytes(pos, head, sizeof(head))) return 0;
        if (!IsMovieBox(head + 4)) break;
        const int64_t length = IsoBoxLength(reader, pos);
        if (length == 0 || length > max - pos) break;
        pos += length;
        pump.Step();
    }
    candidate.size = pos;
    return 1;
}

}  // namespace keldrin::rawwalk
