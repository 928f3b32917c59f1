#include "engine/raw/FileDXFAnalyser.h"

#include "engine/raw/RawWalk.h"

namespace keldrin {

using namespace rawwalk;

namespace {

constexpr char kHeader[] = "  0\r\nSECTION\r\n  2\r\nHEADER\r\n";
constexpr uint8_t kEnd[5] = {'E', 'O', 'F', '\r', '\n'};

}  // namespace

int FileDXFAnalyser::CheckSignature(const uint8_t* s, CRawFileInfo& candidate) {
    if (!SameBytes(s, kHeader, sizeof(kHeader) - 1, false)) return 0;
    candidate.type = 23;
    candidate.size = 0;
    return 1;
}

int FileDXFAnalyser::FindFileSize(CRawFileInfo& candidate, IStorageDevice* device) {
    CRawByteReader reader(device, candidate.startSector);
    int64_t size = 0;
    if (!FindEndMarker(reader, kEnd, sizeof(kEnd), 0, size)) return 0;
    candidate.size = size;
    return 1;
}

bool FileDXFAnalyser::GetLeadingBytes(std::vector<uint16_t>& values) const {
    values.push_back(' ' | (' ' << 8));
    return true;
}

}  // namespace keldrin
