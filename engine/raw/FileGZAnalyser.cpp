#include "engine/raw/FileGZAnalyser.h"

#include "engine/raw/RawWalk.h"

namespace keldrin {

using namespace rawwalk;

int FileGZAnalyser::CheckSignature(const uint8_t* s, CRawFileInfo& candidate) {
    if (s[0] != 0x1F || s[1] != 0x8B || s[2] != 0x08) return 0;
    candidate.type = 29;
    candidate.size = 0;
    return 1;
}

int FileGZAnalyser::FindFileSize(CRawFileInfo& candidate, IStorageDevice* device) {
    (void)device;
    const int64_t max = MaxFileSize();
    if (max == 0) return 0;
    candidate.size = max;
    return 1;
}

bool FileGZAnalyser::GetLeadingBytes(std::vector<uint16_t>& values) const {
    values.push_back(0x1F | (0x8B << 8));
    return true;
}

}  // namespace keldrin
