#include "engine/raw/File3GPAnalyser.h"

#include <initializer_list>

#include "engine/raw/RawBoxWalk.h"
#include "engine/raw/RawWalk.h"

namespace keldrin {

using namespace rawwalk;

int File3GPAnalyser::CheckSignature(const uint8_t* s, CRawFileInfo& candidate) {
    if (!SameBytes(s + 4, "ftyp3g2a", 8, true) && !SameBytes(s + 4, "ftyp3gp4", 8, true)) return 0;
    candidate.type = 2;
    candidate.size = 0;
    return 1;
}

int File3GPAnalyser::FindFileSize(CRawFileInfo& candidate, IStorageDevice* device) {
    return FindIsoMediaSize(candidate, device);
}

bool File3GPAnalyser::GetLeadingBytes(std::vector<uint16_t>& values) const {
    // The box's size comes first; its type and brand follow.
    for (const uint8_t f : {'f', 'F'})
        for (const uint8_t t : {'t', 'T'}) values.push_back(static_cast<uint16_t>(f | (t << 8)));
    return true;
}

int File3GPAnalyser::GetLeadingBytesOffset() const {
    return 4;
}

}  // namespace keldrin
