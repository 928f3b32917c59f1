#include "engine/raw/FileZIPAnalyser.h"

#include "engine/raw/RawWalk.h"

namespace keldrin {

using namespace rawwalk;

namespace {

constexpr uint32_t kLocalHeader = 0x04034B50;
constexpr uint32_t kCentralHeader = 0x02014B50;
constexpr uint32_t kEndRecord = 0x06054B50;

// The length of the record at pos, 0 when none is recognised there.
int64_t RecordLength(CRawByteReader& reader, int64_t pos, bool& isEnd) {
    uint32_t sig = 0, a = 0, b = 0, c = 0, d = 0;
    isEnd = false;
    if (!ReadLe32(reader, pos, sig)) return 0;
    if (sig == kLocalHeader) {
        uint32_t method = 0;
        if (!ReadLe16(reader, pos + 8, method) || method > 10) return 0;
        if (!ReadLe16(reader, pos + 26, a) || a > 1040) return 0;
        if (!ReadLe32(reader, pos + 18, b) || !ReadLe16(reader, pos + 28, c)) return 0;
        return 30 + int64_t{b} + a + c;
    }
    if (sig == kCentralHeader) {
        if (!ReadLe16(reader, pos + 28, a) || !ReadLe16(reader, pos + 30, b) ||
            !ReadLe16(reader, pos + 32, c))
            return 0;
        return 46 + int64_t{a} + b + c;
    }
    if (sig == kEndRecord) {
        if (!ReadLe16(reader, pos + 20, d)) return 0;
        isEnd = true;
        return 22 + int64_t{d};
    }
    return 0;
}

}  // namespace

int FileZIPAnalyser::CheckSignature(const uint8_t* s, CRawFileInfo& candidate) {
    if (Le32(s) != kLocalHeader) return 0;
    candidate.type = 68;
    candidate.size = 0;
    return 1;
}

int FileZIPAnalyser::FindFileSize(CRawFileInfo& candidate, IStorageDevice* device) {
    CRawByteReader reader(device, candidate.startSector);
    const int64_t max = MaxFileSize();
    bool isEnd = false;
    int64_t length = RecordLength(reader, 0, isEnd);
    if (length == 0 || length > max) return 0;
    int64_t pos = length;
    WalkPump pump(10);
    // The end record closes the archive: a file stored right after it is not part of it.
    while (!isEnd) {
        length = RecordLength(reader, pos, isEnd);
        if (length == 0 || pos + length > max) break;
        pos += length;
        pump.Step();
    }
    candidate.size = pos;
    return 1;
}

bool FileZIPAnalyser::GetLeadingBytes(std::vector<uint16_t>& values) const {
    values.push_back('P' | ('K' << 8));
    return true;
}

}  // namespace keldrin
