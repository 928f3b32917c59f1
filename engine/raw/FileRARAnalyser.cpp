#include "engine/raw/FileRARAnalyser.h"

#include "engine/raw/RawWalk.h"

namespace keldrin {

using namespace rawwalk;

namespace {

constexpr uint8_t kEndBlock[7] = {0xC4, 0x3D, 0x7B, 0x00, 0x40, 0x07, 0x00};

constexpr int64_t kUnreadable = -1;

// The length of the block at pos (its header and the data it carries); 0 when none is
// recognised there.
int64_t BlockLength(CRawByteReader& reader, int64_t pos) {
    uint8_t h[11];
    if (!reader.ReadBytes(pos, h, sizeof(h))) return kUnreadable;
    const uint32_t type = h[2];
    const int64_t header = Le16(h + 5);
    if (header <= 6) return 0;
    switch (type) {
        case 0x73:  // archive header
            return header >= 10 ? header : 0;
        case 0x74:  // file: header and packed data
            return header + Le32(h + 7);
        case 0x75:  // comment
            return header + Le16(h + 7);
        case 0x76:  // authenticity information
            return header;
        case 0x77:  // sub-blocks of later versions carry data like files
        case 0x78:
        case 0x7A:
        case 0x7B:
            return header >= 10 ? header + Le32(h + 7) : 0;
        default:
            return 0;
    }
}

}  // namespace

int FileRARAnalyser::CheckSignature(const uint8_t* s, CRawFileInfo& candidate) {
    if (!SameBytes(s, "Rar!\x1A\x07\x00", 7, false)) return 0;
    candidate.type = 54;
    candidate.size = 0;
    return 1;
}

int FileRARAnalyser::FindFileSize(CRawFileInfo& candidate, IStorageDevice* device) {
    CRawByteReader reader(device, candidate.startSector);
    const int64_t max = MaxFileSize();
    int64_t pos = 7;
    WalkPump pump(10);
    for (;;) {
        const int64_t length = BlockLength(reader, pos);
        // Unreadable here is not the archive's end: the size is left to a later look.
        if (length == kUnreadable) return 0;
        if (length == 0 || length > max - pos) break;
        pos += length;
        pump.Step();
    }
    if (pos == 7) return 0;
    uint8_t end[7];
    if (pos + 7 <= max && reader.ReadBytes(pos, end, 7) &&
        SameBytes(end, reinterpret_cast<const char*>(kEndBlock), 7, false))
        pos += 7;
    candidate.size = pos;
    return 1;
}

bool FileRARAnalyser::GetLeadingBytes(std::vector<uint16_t>& values) const {
    values.push_back('R' | ('a' << 8));
    return true;
}

}  // namespace keldrin
