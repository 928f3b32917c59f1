#include "engine/raw/FileWMFAnalyser.h"

#include "engine/raw/RawWalk.h"

namespace keldrin {

using namespace rawwalk;

int FileWMFAnalyser::CheckSignature(const uint8_t* s, CRawFileInfo& candidate) {
    // An in-memory metafile with a header of 9 words; the size is stated in words.
    if (Le32(s) != 0x00090001 || Le16(s + 16) != 0) return 0;
    const uint32_t words = Le32(s + 6);
    if (words == 0) return 0;
    candidate.type = 66;
    candidate.size = 2 * int64_t{words};
    return 1;
}

bool FileWMFAnalyser::GetLeadingBytes(std::vector<uint16_t>& values) const {
    values.push_back(0x0001);
    return true;
}

}  // namespace keldrin
