#include "engine/raw/FileRIFFAnalyser.h"

#include "engine/raw/RawWalk.h"

namespace keldrin {

using namespace rawwalk;

namespace {

int FormType(const uint8_t* s) {
    const uint8_t* form = s + 8;
    const uint8_t* chunk = s + 12;
    if (SameBytes(form, "WAVE", 4, true) && SameBytes(chunk, "fmt ", 4, true)) return 63;
    if (SameBytes(form, "AVI ", 4, true) && SameBytes(chunk, "LIST", 4, true)) return 8;
    if (SameBytes(form, "ACON", 4, true) &&
        (SameBytes(chunk, "LIST", 4, true) || SameBytes(chunk, "anih", 4, true)))
        return 4;
    if (SameBytes(form, "CMX1", 4, true) && SameBytes(s + 20, "{Corel Binary Meta File}", 24, false))
        return 14;
    const bool vrsn = SameBytes(chunk, "vrsn", 4, true);
    if (vrsn && SameBytes(form, "CARC", 4, true)) return 13;
    if (vrsn && SameBytes(form, "CSL2", 4, true)) return 17;
    if (vrsn) {
        // Caseless, so "cdr8" is covered by "CDR8".
        for (const char* cdr : {"CDR7", "CDR8", "CDR9", "CDRA", "CDRB", "CDRC"})
            if (SameBytes(form, cdr, 4, true)) return 11;
    }
    return 55;
}

}  // namespace

int FileRIFFAnalyser::CheckSignature(const uint8_t* s, CRawFileInfo& candidate) {
    if (!SameBytes(s, "RIFF", 4, false)) return 0;
    candidate.type = FormType(s);
    candidate.size = static_cast<int64_t>(Le32(s + 4)) + 8;
    return 1;
}

bool FileRIFFAnalyser::GetLeadingBytes(std::vector<uint16_t>& values) const {
    values.push_back('R' | ('I' << 8));
    return true;
}

}  // namespace keldrin
