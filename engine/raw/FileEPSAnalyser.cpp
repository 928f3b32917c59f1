#include "engine/raw/FileEPSAnalyser.h"

#include <algorithm>
#include <initializer_list>

#include "engine/raw/RawWalk.h"

namespace keldrin {

using namespace rawwalk;

int FileEPSAnalyser::CheckSignature(const uint8_t* s, CRawFileInfo& candidate) {
    if (s[0] != 0xC5 || s[1] != 0xD0 || s[2] != 0xD3 || s[3] != 0xC6) return 0;
    // No checksum (FFFF), then what the first section begins with: PostScript ("%!"), a TIFF
    // preview ("II") or padding.
    if (s[28] != 0xFF || s[29] != 0xFF) return 0;
    const bool known =
        (s[30] == '%' && s[31] == '!') || (s[30] == 'I' && s[31] == 'I') || (s[30] == 0 && s[31] == 0);
    if (!known) return 0;
    // The PostScript, metafile and TIFF sections may come in any order: the file ends where the
    // last of them does.
    int64_t size = 0;
    for (int at : {4, 12, 20}) {
        const uint32_t offset = Le32(s + at);
        const uint32_t length = Le32(s + at + 4);
        if (length != 0) size = std::max(size, int64_t{offset} + length);
    }
    if (size == 0) return 0;
    candidate.type = 25;
    candidate.size = size;
    return 1;
}

bool FileEPSAnalyser::GetLeadingBytes(std::vector<uint16_t>& values) const {
    values.push_back(0xC5 | (0xD0 << 8));
    return true;
}

}  // namespace keldrin
