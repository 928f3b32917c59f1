#include "engine/raw/FileMP4Analyser.h"

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
    (void)values;
    return false;  // the first bytes are the box's size
}

}  // namespace keldrin
