#include "engine/raw/FilePDFAnalyser.h"

#include <cstring>

#include "engine/raw/RawWalk.h"

namespace keldrin {

using namespace rawwalk;

namespace {

bool IsTextByte(uint8_t c) {
    return (c >= 0x20 && c < 0x7F) || c == '\r' || c == '\n';
}

}  // namespace

int FilePDFAnalyser::CheckSignature(const uint8_t* s, CRawFileInfo& candidate) {
    if (!SameBytes(s, "%PDF-", 5, false)) return 0;
    candidate.type = 46;
    candidate.size = 0;
    return 1;
}

int FilePDFAnalyser::FindFileSize(CRawFileInfo& candidate, IStorageDevice* device) {
    CRawByteReader reader(device, candidate.startSector);
    const int64_t max = MaxFileSize();
    int type = 46;
    int64_t lastEnd = 0;  // after the last "%%EOF" that an update followed
    WalkPump pump(512);
    for (int64_t pos = 4; pos <= max;) {
        const uint8_t* p = reader.GetByte(pos);
        if (!p) break;
        const size_t available = reader.GetAvailable(pos);
        const void* hit = std::memchr(p, '%', available);
        if (!hit) {
            pos += static_cast<int64_t>(available);
            pump.Step();
            continue;
        }
        pos += static_cast<const uint8_t*>(hit) - p;
        if (pos > max) break;
        uint8_t b[10] = {};
        const bool whole = reader.ReadBytes(pos, b, sizeof(b));
        // Near the data's end fewer bytes are there; the tests below need at most 8 of them.
        if (!whole && !reader.ReadBytes(pos, b, 5)) break;
        if (whole && SameBytes(b, "%!PS-Adobe", 10, false)) {
            type = 5;
        } else if (SameBytes(b, "%%EOF", 5, false)) {
            const int64_t end = pos + (type == 5 ? 7 : 6);
            uint8_t next[3];
            if (reader.ReadBytes(pos + 5, next, 3) && IsTextByte(next[0]) && IsTextByte(next[1]) &&
                IsTextByte(next[2])) {
                lastEnd = end;  // an incremental update may follow
                pos = end;
                continue;
            }
            candidate.type = type;
            candidate.size = end;
            return 1;
        } else if (SameBytes(b, "%PDF-", 5, false)) {
            candidate.type = type;
            candidate.size = pos;
            return 1;
        }
        ++pos;
    }
    if (lastEnd == 0) return 0;
    candidate.type = type;
    candidate.size = lastEnd;
    return 1;
}

bool FilePDFAnalyser::GetLeadingBytes(std::vector<uint16_t>& values) const {
    values.push_back('%' | ('P' << 8));
    return true;
}

}  // namespace keldrin
