#include "engine/raw/FileRTFAnalyser.h"

#include "engine/raw/RawWalk.h"

namespace keldrin {

using namespace rawwalk;

int FileRTFAnalyser::CheckSignature(const uint8_t* s, CRawFileInfo& candidate) {
    if (!SameBytes(s, "{\\rtf", 5, false)) return 0;
    candidate.type = 56;
    candidate.size = 0;
    return 1;
}

int FileRTFAnalyser::FindFileSize(CRawFileInfo& candidate, IStorageDevice* device) {
    CRawByteReader reader(device, candidate.startSector);
    const int64_t max = MaxFileSize();
    int64_t depth = 1;  // inside the opening brace
    bool escaped = false;
    WalkPump pump(512);
    for (int64_t pos = 4; pos <= max;) {
        const uint8_t* p = reader.GetByte(pos);
        if (!p) return 0;
        const size_t available = reader.GetAvailable(pos);
        for (size_t i = 0; i < available && pos <= max; ++i, ++pos) {
            const uint8_t c = p[i];
            if (c == 0) {
                candidate.size = pos;
                return 1;
            }
            // "\{", "\}" and "\\" are text, not groups.
            if (escaped) {
                escaped = false;
            } else if (c == '\\') {
                escaped = true;
            } else if (c == '{') {
                ++depth;
            } else if (c == '}' && --depth == 0) {
                candidate.size = pos + 1;
                return 1;
            }
        }
        pump.Step();
    }
    candidate.size = max;
    return 1;
}

bool FileRTFAnalyser::GetLeadingBytes(std::vector<uint16_t>& values) const {
    values.push_back('{' | ('\\' << 8));
    return true;
}

}  // namespace keldrin
