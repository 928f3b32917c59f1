#include "engine/raw/FileMOVAnalyser.h"

#include <initializer_list>

#include "engine/raw/RawBoxWalk.h"
#include "engine/raw/RawWalk.h"

namespace keldrin {

using namespace rawwalk;

namespace {

bool IsMovieAtom(const uint8_t* type) {
    for (const char* name : {"free", "mdat", "pnot", "moov", "wide"})
        if (SameBytes(type, name, 4, false)) return true;
    return false;
}

}  // namespace

int FileMOVAnalyser::CheckSignature(const uint8_t* s, CRawFileInfo& candidate) {
    if (!SameBytes(s + 4, "moov", 4, false) && !SameBytes(s + 4, "mdat", 4, false)) return 0;
    candidate.type = 40;
    candidate.size = 0;
    return 1;
}

int FileMOVAnalyser::FindFileSize(CRawFileInfo& candidate, IStorageDevice* device) {
    CRawByteReader reader(device, candidate.startSector);
    const int64_t max = MaxFileSize();
    int64_t pos = 0;
    WalkPump pump(10);
    for (;;) {
        uint8_t head[8];
        // Unreadable here (the scan's look-back ring ends, say) is not the movie's end.
        if (!reader.ReadBytes(pos, head, sizeof(head))) return 0;
        if (!IsMovieAtom(head + 4)) break;
        const int64_t length = IsoBoxLength(reader, pos);
        if (length == 0 || length > max - pos) break;
        pos += length;
        pump.Step();
    }
    if (pos == 0) return 0;
    candidate.size = pos;
    return 1;
}

bool FileMOVAnalyser::GetLeadingBytes(std::vector<uint16_t>& values) const {
    // The atom's size comes first; its type follows.
    values.push_back('m' | ('o' << 8));
    values.push_back('m' | ('d' << 8));
    return true;
}

int FileMOVAnalyser::GetLeadingBytesOffset() const {
    return 4;
}

}  // namespace keldrin
