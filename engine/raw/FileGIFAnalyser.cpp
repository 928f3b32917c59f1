#include "engine/raw/FileGIFAnalyser.h"

#include "engine/raw/RawWalk.h"

namespace keldrin {

using namespace rawwalk;

namespace {

constexpr int kMaxStrayBytes = 512;

// Skips a chain of sub-blocks ending with a zero length; false when the data end or the chain
// passes max.
bool SkipSubBlocks(CRawByteReader& reader, int64_t& pos, int64_t max, WalkPump& pump) {
    for (;;) {
        uint32_t length = 0;
        if (pos > max || !ReadU8(reader, pos, length)) return false;
        pos += 1 + length;
        if (length == 0) return true;
        pump.Step();
    }
}

int64_t ColourTableBytes(uint32_t flags) {
    return (flags & 0x80) ? 3 * (int64_t{2} << (flags & 7)) : 0;
}

}  // namespace

int FileGIFAnalyser::CheckSignature(const uint8_t* s, CRawFileInfo& candidate) {
    if (!SameBytes(s, "GIF87a", 6, false) && !SameBytes(s, "GIF89a", 6, false)) return 0;
    candidate.type = 28;
    candidate.size = 0;
    return 1;
}

int FileGIFAnalyser::FindFileSize(CRawFileInfo& candidate, IStorageDevice* device) {
    CRawByteReader reader(device, candidate.startSector);
    const int64_t max = MaxFileSize();
    uint32_t flags = 0;
    if (!ReadU8(reader, 10, flags)) return 0;
    int64_t pos = 13 + ColourTableBytes(flags);
    WalkPump pump(10);
    while (pos <= max) {
        uint32_t block = 0;
        if (!ReadU8(reader, pos, block)) return 0;
        if (block == 0x3B) {
            candidate.size = pos + 1;
            return 1;
        }
        if (block == '!') {
            pos += 2;  // introducer and label
            if (!SkipSubBlocks(reader, pos, max, pump)) return 0;
        } else if (block == ',') {
            uint32_t imageFlags = 0;
            if (!ReadU8(reader, pos + 9, imageFlags)) return 0;
            pos += 10 + ColourTableBytes(imageFlags) + 1;  // descriptor, table, LZW code size
            if (!SkipSubBlocks(reader, pos, max, pump)) return 0;
        } else {
            // Stray bytes: look a little further for the next image.
            int skipped = 0;
            for (; skipped < kMaxStrayBytes; ++skipped, ++pos)
                if (!ReadU8(reader, pos, block) || block == ',') break;
            if (block != ',') return 0;
        }
        pump.Step();
    }
    return 0;
}

bool FileGIFAnalyser::GetLeadingBytes(std::vector<uint16_t>& values) const {
    values.push_back('G' | ('I' << 8));
    return true;
}

}  // namespace keldrin
