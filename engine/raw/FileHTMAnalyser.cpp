#include "engine/raw/FileHTMAnalyser.h"

#include "engine/raw/RawWalk.h"

namespace keldrin {

using namespace rawwalk;

namespace {

constexpr int64_t kLongest = 1048576;
constexpr int kLastTagStart = 504;  // "<HTML>" must begin in the first sector
constexpr uint8_t kEnd[7] = {'<', '/', 'H', 'T', 'M', 'L', '>'};

}  // namespace

int FileHTMAnalyser::CheckSignature(const uint8_t* s, CRawFileInfo& candidate) {
    bool found = SameBytes(s, "<HTML>", 6, true) || SameBytes(s, "<!DOCTYPE HTML", 14, true);
    if (!found && s[0] == '<' && s[1] == '!') {
        for (int i = 2; i <= kLastTagStart && !found; ++i) found = SameBytes(s + i, "<HTML>", 6, true);
    }
    if (!found) return 0;
    candidate.type = 31;
    candidate.size = 0;
    return 1;
}

int FileHTMAnalyser::FindFileSize(CRawFileInfo& candidate, IStorageDevice* device) {
    CRawByteReader reader(device, candidate.startSector);
    int64_t size = 0;
    if (!FindEndMarker(reader, kEnd, sizeof(kEnd), kLongest, size)) return 0;
    candidate.size = size;
    return 1;
}

bool FileHTMAnalyser::GetLeadingBytes(std::vector<uint16_t>& values) const {
    values.push_back('<' | ('H' << 8));
    values.push_back('<' | ('h' << 8));
    values.push_back('<' | ('!' << 8));
    return true;
}

}  // namespace keldrin
