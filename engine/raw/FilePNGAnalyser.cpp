#include "engine/raw/FilePNGAnalyser.h"

#include "engine/raw/RawWalk.h"

namespace keldrin {

using namespace rawwalk;

namespace {

constexpr uint8_t kPngMagic[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
constexpr int64_t kLongest = 0x1400000;  // chunk length and walk position beyond this are damage

bool IsChunkType(const uint8_t* t) {
    for (int i = 0; i < 4; ++i)
        if (!((t[i] >= 'A' && t[i] <= 'Z') || (t[i] >= 'a' && t[i] <= 'z'))) return false;
    return true;
}

}  // namespace

int FilePNGAnalyser::CheckSignature(const uint8_t* s, CRawFileInfo& candidate) {
    for (int i = 0; i < 8; ++i)
        if (s[i] != kPngMagic[i]) return 0;
    candidate.type = 47;
    candidate.size = 0;
    return 1;
}

int FilePNGAnalyser::FindFileSize(CRawFileInfo& candidate, IStorageDevice* device) {
    CRawByteReader reader(device, candidate.startSector);
    uint32_t width = 0, height = 0;
    if (!MatchAt(reader, 12, "IHDR", 4, false) || !ReadBe32(reader, 16, width) ||
        !ReadBe32(reader, 20, height) || width == 0 || height == 0)
        return 0;
    const int64_t max = MaxFileSize();
    bool seenHeader = false, seenData = false;
    WalkPump pump(10);
    for (int64_t pos = 8;;) {
        if (pos > kLongest) return 0;
        uint32_t length = 0;
        uint8_t type[4];
        if (!ReadBe32(reader, pos, length) || !reader.ReadBytes(pos + 4, type, 4)) return 0;
        // Chunk types are four letters: anything else is not PNG data any more.
        if (length > kLongest || !IsChunkType(type)) {
            if (!seenHeader || !seenData) return 0;
            candidate.size = pos;
            return 1;
        }
        const int64_t next = pos + 12 + length;
        if (next > max) return 0;
        if (SameBytes(type, "IHDR", 4, false)) seenHeader = true;
        if (SameBytes(type, "IDAT", 4, false)) seenData = true;
        if (SameBytes(type, "IEND", 4, false)) {
            candidate.size = next;
            return 1;
        }
        pos = next;
        pump.Step();
    }
}

bool FilePNGAnalyser::GetLeadingBytes(std::vector<uint16_t>& values) const {
    values.push_back(0x89 | ('P' << 8));
    return true;
}

}  // namespace keldrin
