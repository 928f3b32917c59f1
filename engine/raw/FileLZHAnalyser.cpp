#include "engine/raw/FileLZHAnalyser.h"

#include "engine/raw/RawWalk.h"

namespace keldrin {

using namespace rawwalk;

namespace {

bool IsMethod(const uint8_t* m) {
    return SameBytes(m, "-lh5-", 5, false) || SameBytes(m, "-lh0-", 5, false);
}

}  // namespace

int FileLZHAnalyser::CheckSignature(const uint8_t* s, CRawFileInfo& candidate) {
    if (!IsMethod(s + 2)) return 0;
    candidate.type = 34;
    candidate.size = 0;
    return 1;
}

int FileLZHAnalyser::FindFileSize(CRawFileInfo& candidate, IStorageDevice* device) {
    CRawByteReader reader(device, candidate.startSector);
    const int64_t max = MaxFileSize();
    int64_t pos = 0;
    WalkPump pump(10);
    for (;;) {
        uint8_t head[11];
        // Unreadable here is not the archive's end: the size is left to a later look.
        if (!reader.ReadBytes(pos, head, sizeof(head))) return 0;
        if (!IsMethod(head + 2)) break;
        // Header length, packed data, and the header's own first two bytes.
        const int64_t next = pos + head[0] + int64_t{Le32(head + 7)} + 2;
        if (next > max) break;
        pos = next;
        pump.Step();
    }
    if (pos == 0) return 0;
    // The archive closes with one zero byte.
    uint32_t last = 1;
    if (pos < max && ReadU8(reader, pos, last) && last == 0) ++pos;
    candidate.size = pos;
    return 1;
}

bool FileLZHAnalyser::GetLeadingBytes(std::vector<uint16_t>& values) const {
    // The header's length and check sum come first; the method follows.
    values.push_back('-' | ('l' << 8));
    return true;
}

int FileLZHAnalyser::GetLeadingBytesOffset() const {
    return 2;
}

}  // namespace keldrin
