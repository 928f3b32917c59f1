#include "engine/raw/FilePSDAnalyser.h"

#include "engine/raw/RawWalk.h"

namespace keldrin {

using namespace rawwalk;

namespace {

constexpr int64_t kNoSize = -1;

// The raw image's bytes, or kNoSize when they pass max (the product can pass 64 bits).
int64_t RawImageBytes(uint64_t width, uint64_t height, uint64_t depth, uint64_t channels, int64_t max) {
    const auto limit = static_cast<unsigned __int128>(max) * 8;
    const unsigned __int128 bits = static_cast<unsigned __int128>(width) * height * depth * channels;
    return bits > limit ? kNoSize : static_cast<int64_t>(bits / 8);
}

}  // namespace

int FilePSDAnalyser::CheckSignature(const uint8_t* s, CRawFileInfo& candidate) {
    if (!SameBytes(s, "8BPS", 4, false)) return 0;
    candidate.type = 50;
    candidate.size = 0;
    return 1;
}

int FilePSDAnalyser::FindFileSize(CRawFileInfo& candidate, IStorageDevice* device) {
    CRawByteReader reader(device, candidate.startSector);
    const int64_t max = MaxFileSize();
    uint8_t h[26];
    if (!reader.ReadBytes(0, h, sizeof(h))) return 0;
    if (Be16(h + 4) != 1 || Le32(h + 6) != 0 || Le16(h + 10) != 0) return 0;
    const uint32_t channels = Be16(h + 12);
    const uint32_t height = Be32(h + 14);
    const uint32_t width = Be32(h + 18);
    const uint32_t depth = Be16(h + 22);
    // The colour-mode data, image resources and layers each lead with their length.
    int64_t pos = 26;
    for (int section = 0; section < 3; ++section) {
        uint32_t length = 0;
        if (!ReadBe32(reader, pos, length)) return 0;
        pos += 4 + int64_t{length};
        if (pos > max) return 0;
    }
    uint32_t compression = 0;
    if (!ReadBe16(reader, pos, compression)) return 0;
    pos += 2;
    if (compression == 0) {
        const int64_t bytes = RawImageBytes(width, height, depth, channels, max);
        if (bytes == kNoSize || bytes > max - pos) return 0;
        candidate.size = pos + bytes;
        return 1;
    }
    if (compression != 1) return 0;  // the packed length of other methods is nowhere stated
    // Run-length data: a table of every row's packed length, then the rows.
    const uint64_t rows = uint64_t{height} * channels;
    if (rows == 0 || rows > static_cast<uint64_t>(max - pos) / 2) return 0;
    int64_t data = pos + 2 * static_cast<int64_t>(rows);
    WalkPump pump(512);  // rows are as small as the steps of a byte scan
    for (uint64_t row = 0; row < rows; ++row) {
        uint32_t length = 0;
        if (!ReadBe16(reader, pos + 2 * static_cast<int64_t>(row), length)) return 0;
        data += length;
        if (data > max) return 0;
        pump.Step();
    }
    candidate.size = data;
    return 1;
}

bool FilePSDAnalyser::GetLeadingBytes(std::vector<uint16_t>& values) const {
    values.push_back('8' | ('B' << 8));
    return true;
}

}  // namespace keldrin
