#include "engine/raw/FileMP4Analyser.h"

#include <initializer_list>

#include "engine/raw/RawBoxWalk.h"
#include "engine/raw/RawWalk.h"

namespace keldrin {

using namespace rawwalk;

int FileMP4Analyser::CheckSignature(const uint8_t* s, CRawFileInfo& candidate) {
    const uint8_t* brand = s + 4;
    if (!SameBytes(brand, "ftypisom", 8, true) && !SameBytes(brand, "ftypmp42", 8, true) &&
        !SameBytes(brand, "ftypM4V ", 8, true))
        return 0;
    candidate.type = 42;
    candidate.size = 0;
    return 1;
}

int FileMP4Analyser::FindFileSize(CRawFileInfo& candidate, IStorageDevice* device) {
    return FindIsoMediaSize(candidate, device);
}

bool FileMP4Analyser::GetLeadingBytes(std::vector<uint16_t>& values) const {
    // The box's size comes first; its type and brand follow.
    for (const uint8_t f : {'f', 'F'})
        for (const uint8_t t : {'t', 'T'}) values.push_back(static_cast<uint16_t>(f | (t << 8)));
    return true;
}

int FileMP4Analyser::GetLeadingBytesOffset() const {
    return 4;
}

}  // namespace keldrin
