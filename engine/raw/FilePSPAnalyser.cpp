#include "engine/raw/FilePSPAnalyser.h"

#include "engine/raw/RawWalk.h"

namespace keldrin {

using namespace rawwalk;

namespace {

constexpr char kMagic[] = "Paint Shop Pro Image File\n\x1a\0\0\0\0";  // and a fifth zero: 32 bytes
constexpr int64_t kSmallest = 512;

}  // namespace

int FilePSPAnalyser::CheckSignature(const uint8_t* s, CRawFileInfo& candidate) {
    if (!SameBytes(s, kMagic, 32, false)) return 0;
    candidate.type = 51;
    candidate.size = 0;
    return 1;
}

int FilePSPAnalyser::FindFileSize(CRawFileInfo& candidate, IStorageDevice* device) {
    CRawByteReader reader(device, candidate.startSector);
    const int64_t max = MaxFileSize();
    int64_t pos = 36;  // after the mark and the version
    WalkPump pump(10);
    for (;;) {
        uint8_t block[10];
        // Unreadable here is not the image's end: the size is left to a later look.
        if (!reader.ReadBytes(pos, block, sizeof(block))) return 0;
        if (!SameBytes(block, "~BK\0", 4, false)) break;
        const int64_t next = pos + 10 + Le32(block + 6);
        if (next > max) break;
        pos = next;
        pump.Step();
    }
    // Any real image holds more than its header and a few empty blocks.
    if (pos < kSmallest) return 0;
    candidate.size = pos;
    return 1;
}

bool FilePSPAnalyser::GetLeadingBytes(std::vector<uint16_t>& values) const {
    values.push_back('P' | ('a' << 8));
    return true;
}

}  // namespace keldrin
