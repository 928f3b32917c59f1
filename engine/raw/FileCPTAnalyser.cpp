#include "engine/raw/FileCPTAnalyser.h"

#include "engine/raw/RawWalk.h"

namespace keldrin {

using namespace rawwalk;

int FileCPTAnalyser::CheckSignature(const uint8_t* s, CRawFileInfo& candidate) {
    if (!SameBytes(s, "CPT7FILE", 8, false) && !SameBytes(s, "CPT8FILE", 8, false) &&
        !SameBytes(s, "CPT9FILE", 8, false))
        return 0;
    if (Le32(s + 52) != 316) return 0;
    candidate.type = 15;
    candidate.size = 0;
    return 1;
}

int FileCPTAnalyser::FindFileSize(CRawFileInfo& candidate, IStorageDevice* device) {
    CRawByteReader reader(device, candidate.startSector);
    uint32_t table = 0, count = 0, last = 0;
    if (!ReadLe32(reader, 52, table) || !ReadLe32(reader, 40, count) || count == 0) return 0;
    // The table's last entry points at the last object record.
    if (!ReadLe32(reader, int64_t{table} + 8 * int64_t{count} - 8, last)) return 0;
    const int64_t d = last;
    uint32_t extra = 0, extraAgain = 0;
    if (!ReadLe32(reader, d + 32, extra) || !ReadLe32(reader, d + 60, extraAgain)) return 0;
    // A record that repeats its extension length carries that many bytes before its pointers.
    const int64_t p = (extra != 0 && extra == extraAgain) ? d + extraAgain + 60 : d + 60;
    uint32_t e = 0, f = 0;
    if (!ReadLe32(reader, p, e) || !ReadLe32(reader, p + 4, f)) return 0;
    int64_t size = d;
    if (e != 0 && f != 0) {
        // The last block's offset and length stand just before what e points at.
        uint32_t blockOffset = 0, blockLength = 0;
        if (!ReadLe32(reader, int64_t{e} - 8, blockOffset) || !ReadLe32(reader, int64_t{e} - 4, blockLength))
            return 0;
        size = int64_t{blockOffset} + blockLength;
    }
    if (size == 0) return 0;
    candidate.size = size;
    return 1;
}

bool FileCPTAnalyser::GetLeadingBytes(std::vector<uint16_t>& values) const {
    values.push_back('C' | ('P' << 8));
    return true;
}

}  // namespace keldrin
