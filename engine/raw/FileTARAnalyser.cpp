#include "engine/raw/FileTARAnalyser.h"

#include "engine/raw/RawWalk.h"

namespace keldrin {

using namespace rawwalk;

namespace {

constexpr int64_t kBlock = 512;

// The octal size field (11 digits at 124, leading spaces allowed); false when it holds anything
// else, as the base-256 form of very large members does.
bool MemberSize(const uint8_t* h, int64_t& size) {
    size = 0;
    int i = 124;
    while (i < 135 && h[i] == ' ') ++i;
    for (; i < 135; ++i) {
        const uint8_t c = h[i];
        if (c == 0 || c == ' ') break;
        if (c < '0' || c > '7') return false;
        size = size * 8 + (c - '0');
    }
    return true;
}

}  // namespace

int FileTARAnalyser::CheckSignature(const uint8_t* s, CRawFileInfo& candidate) {
    if (!SameBytes(s + 257, "ustar", 5, false)) return 0;
    candidate.type = 59;
    candidate.size = 0;
    return 1;
}

int FileTARAnalyser::FindFileSize(CRawFileInfo& candidate, IStorageDevice* device) {
    CRawByteReader reader(device, candidate.startSector);
    const int64_t max = MaxFileSize();
    int64_t pos = 0;
    WalkPump pump(10);
    for (;;) {
        uint8_t h[kBlock];
        if (pos + kBlock > max) break;
        // Unreadable here is not the archive's end: the size is left to a later look.
        if (!reader.ReadBytes(pos, h, sizeof(h))) return 0;
        if (h[0] < '!') {
            // A block without a name: the end of the archive, included.
            pos += kBlock;
            break;
        }
        int64_t size = 0;
        if (!SameBytes(h + 257, "ustar", 5, false) || !MemberSize(h, size)) break;
        // Members of size 0 (directories, links, empty files) go on to the next header.
        const int64_t next = pos + kBlock + (size + kBlock - 1) / kBlock * kBlock;
        if (next > max) break;
        pos = next;
        pump.Step();
    }
    if (pos == 0) return 0;
    candidate.size = pos;
    return 1;
}

bool FileTARAnalyser::GetLeadingBytes(std::vector<uint16_t>& values) const {
    values.push_back('u' | ('s' << 8));
    return true;
}

int FileTARAnalyser::GetLeadingBytesOffset() const {
    return 257;
}

}  // namespace keldrin
