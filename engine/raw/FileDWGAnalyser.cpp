#include "engine/raw/FileDWGAnalyser.h"

#include <algorithm>
#include <initializer_list>

#include "engine/raw/RawWalk.h"

namespace keldrin {

using namespace rawwalk;

namespace {

constexpr uint8_t kClosingSentinel[16] = {0x68, 0x40, 0xF8, 0xF7, 0x92, 0x2A, 0xB5, 0xEF,
                                          0x18, 0xDD, 0x0B, 0xF1, 0xF1, 0xBB, 0xE9, 0xEB};
constexpr uint8_t kImageSentinel[16] = {0x1F, 0x25, 0x6D, 0x07, 0xD4, 0x36, 0x28, 0x28,
                                        0x9D, 0x57, 0xCA, 0x3F, 0x9D, 0x44, 0x10, 0x2B};
constexpr int64_t kLargest = 524288000;
constexpr uint32_t kMaxLocators = 100;

bool SentinelAt(CRawByteReader& reader, int64_t pos, const uint8_t* sentinel) {
    uint8_t b[16];
    if (!reader.ReadBytes(pos, b, 16)) return false;
    return std::equal(b, b + 16, sentinel);
}

// Release 2004: the sentinel that opens the file's tail, 108 bytes before its end.
int SizeFromClosingSentinel(CRawByteReader& reader, int64_t& size) {
    if (!SentinelAt(reader, 128, kClosingSentinel)) return 0;
    const int64_t limit = std::min(MaxFileSize(), kLargest);
    int64_t at = 0;
    if (!FindBytes(reader, kClosingSentinel, 16, 144, limit, at)) return 0;
    size = at + 108;
    return 1;
}

// Releases 12 to 2000: the section locator that lies furthest in ends the file.
int SizeFromLocators(CRawByteReader& reader, int64_t& size) {
    uint32_t count = 0, sentinelAt = 0;
    if (!ReadLe32(reader, 21, count) || count == 0 || count > kMaxLocators) return 0;
    if (!ReadLe32(reader, 13, sentinelAt) || !SentinelAt(reader, sentinelAt, kImageSentinel)) return 0;
    int64_t furthest = -1;
    for (uint32_t i = 0; i < count; ++i) {
        uint32_t offset = 0, length = 0;
        const int64_t at = 25 + 9 * int64_t{i};
        if (!ReadLe32(reader, at + 1, offset) || !ReadLe32(reader, at + 5, length)) return 0;
        if (int64_t{offset} > furthest) {
            furthest = offset;
            size = int64_t{offset} + length;
        }
    }
    return size > 0 ? 1 : 0;
}

}  // namespace

int FileDWGAnalyser::CheckSignature(const uint8_t* s, CRawFileInfo& candidate) {
    if (!SameBytes(s, "AC10", 4, false) || s[6] != 0 || s[7] != 0) return 0;
    bool known = false;
    for (const char* release : {"18", "15", "14", "13", "09", "12"})
        if (SameBytes(s + 4, release, 2, false)) known = true;
    if (!known) return 0;
    candidate.type = 22;
    candidate.size = 0;
    return 1;
}

int FileDWGAnalyser::FindFileSize(CRawFileInfo& candidate, IStorageDevice* device) {
    CRawByteReader reader(device, candidate.startSector);
    uint8_t release[2];
    if (!reader.ReadBytes(4, release, 2)) return 0;
    int64_t size = 0;
    int answer = 0;
    if (SameBytes(release, "18", 2, false)) {
        answer = SizeFromClosingSentinel(reader, size);
    } else if (!SameBytes(release, "09", 2, false)) {
        answer = SizeFromLocators(reader, size);
    }
    // Release 9 keeps nothing that tells its length.
    if (answer == 0) return 0;
    candidate.size = size;
    return 1;
}

bool FileDWGAnalyser::GetLeadingBytes(std::vector<uint16_t>& values) const {
    values.push_back('A' | ('C' << 8));
    return true;
}

}  // namespace keldrin
