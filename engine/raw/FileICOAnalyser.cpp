#include "engine/raw/FileICOAnalyser.h"

#include "engine/raw/RawWalk.h"

namespace keldrin {

using namespace rawwalk;

namespace {

constexpr uint32_t kMaxImages = 16;
constexpr uint32_t kLargestField = 10485760;
constexpr int64_t kLargestFile = 1048576;

}  // namespace

int FileICOAnalyser::CheckSignature(const uint8_t* s, CRawFileInfo& candidate) {
    const uint32_t kind = Le16(s + 2);
    if (Le16(s) != 0 || (kind != 1 && kind != 2)) return 0;
    const uint32_t count = Le16(s + 4);
    if (count == 0 || count > kMaxImages) return 0;
    int64_t size = 6;
    for (uint32_t i = 0; i < count; ++i) {
        const uint8_t* e = s + 6 + 16 * i;
        const uint32_t bytes = Le32(e + 8);
        if (e[0] == 0 || e[1] == 0 || e[3] != 0 || Le16(e + 6) > 256 || bytes > kLargestField ||
            Le32(e + 12) > kLargestField)
            return 0;
        size += int64_t{bytes} + 16;
    }
    if (size > kLargestFile) return 0;
    candidate.type = kind == 1 ? 32 : 18;
    candidate.size = size;
    return 1;
}

bool FileICOAnalyser::GetLeadingBytes(std::vector<uint16_t>& values) const {
    values.push_back(0x0000);
    return true;
}

}  // namespace keldrin
