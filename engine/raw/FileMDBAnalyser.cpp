#include "engine/raw/FileMDBAnalyser.h"

#include <algorithm>

#include "engine/raw/RawWalk.h"

namespace keldrin {

using namespace rawwalk;

namespace {

constexpr char kMagic[] = "\x00\x01\x00\x00Standard Jet DB";  // and its closing zero: 20 bytes
constexpr int64_t kJet3Page = 2048;
constexpr int64_t kJet4Page = 4096;  // Access 2000 and later, marked by a version byte at 20
constexpr int64_t kLargest = 104857600;
constexpr uint32_t kLastPageType = 5;

}  // namespace

int FileMDBAnalyser::CheckSignature(const uint8_t* s, CRawFileInfo& candidate) {
    if (!SameBytes(s, kMagic, 20, false)) return 0;
    candidate.type = 37;
    candidate.size = 0;
    return 1;
}

int FileMDBAnalyser::FindFileSize(CRawFileInfo& candidate, IStorageDevice* device) {
    CRawByteReader reader(device, candidate.startSector);
    const int64_t limit = std::min(MaxFileSize(), kLargest);
    uint32_t version = 0;
    if (!ReadU8(reader, 20, version)) return 0;
    const int64_t page = version == 0 ? kJet3Page : kJet4Page;
    int64_t pos = page;
    WalkPump pump(10);
    // Every page begins with its type; the first byte of anything else is rarely that small.
    for (uint32_t type = 0; pos + page <= limit; pos += page) {
        // Unreadable here is not the database's end: the size is left to a later look.
        if (!ReadU8(reader, pos, type)) return 0;
        if (type > kLastPageType) break;
        pump.Step();
    }
    if (pos > limit) return 0;
    candidate.size = pos;
    return 1;
}

bool FileMDBAnalyser::GetLeadingBytes(std::vector<uint16_t>& values) const {
    values.push_back(0x0100);
    return true;
}

}  // namespace keldrin
