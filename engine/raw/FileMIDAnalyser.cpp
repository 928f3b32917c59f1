#include "engine/raw/FileMIDAnalyser.h"

#include "engine/raw/RawWalk.h"

namespace keldrin {

using namespace rawwalk;

int FileMIDAnalyser::CheckSignature(const uint8_t* s, CRawFileInfo& candidate) {
    if (!SameBytes(s, "MThd\0\0\0\x06", 8, false)) return 0;
    if (Be16(s + 8) > 2 || Be16(s + 10) == 0) return 0;
    candidate.type = 36;
    candidate.size = 0;
    return 1;
}

int FileMIDAnalyser::FindFileSize(CRawFileInfo& candidate, IStorageDevice* device) {
    CRawByteReader reader(device, candidate.startSector);
    const int64_t max = MaxFileSize();
    int64_t pos = 14;
    WalkPump pump(10);
    for (;;) {
        uint8_t chunk[8];
        // Unreadable here is not the file's end: the size is left to a later look.
        if (!reader.ReadBytes(pos, chunk, sizeof(chunk))) return 0;
        if (!SameBytes(chunk, "MTrk", 4, true)) break;
        const int64_t next = pos + 8 + Be32(chunk + 4);
        if (next > max) break;
        pos = next;
        pump.Step();
    }
    // The header promised at least one track.
    if (pos == 14) return 0;
    candidate.size = pos;
    return 1;
}

bool FileMIDAnalyser::GetLeadingBytes(std::vector<uint16_t>& values) const {
    values.push_back('M' | ('T' << 8));
    return true;
}

}  // namespace keldrin
