#include "engine/raw/FileMP3Analyser.h"

#include "engine/raw/RawWalk.h"

namespace keldrin {

using namespace rawwalk;

namespace {

constexpr int kMaxZeroPadding = 512;
constexpr int64_t kTagBytes = 128;  // the ID3v1 tag at the end

// Kilobits per second by [MPEG-1?][layer 1, 2, 3][index].
constexpr uint16_t kBitrates[2][3][16] = {
    {{0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, 0},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0}},
    {{0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, 0},
     {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 0},
     {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0}},
};
// Hertz by version bits (2.5, reserved, 2, 1) and index.
constexpr uint32_t kSampleRates[4][3] = {
    {11025, 12000, 8000}, {0, 0, 0}, {22050, 24000, 16000}, {44100, 48000, 32000}};

// The length of the frame whose header is h; 0 when h is no valid frame header.
int64_t FrameLength(uint32_t h) {
    if ((h >> 21) != 0x7FF) return 0;
    const uint32_t version = (h >> 19) & 3;    // 0: 2.5, 1: reserved, 2: 2, 3: 1
    const uint32_t layerBits = (h >> 17) & 3;  // 1: III, 2: II, 3: I
    const uint32_t bitrateIndex = (h >> 12) & 15;
    const uint32_t rateIndex = (h >> 10) & 3;
    if (version == 1 || layerBits == 0 || bitrateIndex == 0 || bitrateIndex == 15 || rateIndex == 3) return 0;
    const int layer = 4 - static_cast<int>(layerBits);
    const bool mpeg1 = version == 3;
    const int64_t bitrate = int64_t{kBitrates[mpeg1 ? 1 : 0][layer - 1][bitrateIndex]} * 1000;
    const int64_t rate = kSampleRates[version][rateIndex];
    const int64_t padding = (h >> 9) & 1;
    if (layer == 1) return (12 * bitrate / rate + padding) * 4;
    if (layer == 3 && !mpeg1) return 72 * bitrate / rate + padding;
    return 144 * bitrate / rate + padding;
}

// The ID3v2 tag's whole length; 0 when the header is not one of version 2.3.
int64_t TagLength(const uint8_t* s) {
    if (!SameBytes(s, "ID3", 3, false) || s[3] != 3 || s[4] != 0) return 0;
    int64_t size = 0;
    for (int i = 6; i < 10; ++i) {
        if (s[i] & 0x80) return 0;  // sizes keep bit 7 clear so that no false sync appears
        size = (size << 7) | s[i];
    }
    return size + 10;
}

}  // namespace

int FileMP3Analyser::CheckSignature(const uint8_t* s, CRawFileInfo& candidate) {
    if (TagLength(s) == 0) return 0;
    candidate.type = 41;
    candidate.size = 0;
    return 1;
}

int FileMP3Analyser::FindFileSize(CRawFileInfo& candidate, IStorageDevice* device) {
    CRawByteReader reader(device, candidate.startSector);
    const int64_t max = MaxFileSize();
    uint8_t head[10];
    if (!reader.ReadBytes(0, head, sizeof(head))) return 0;
    int64_t pos = TagLength(head);
    if (pos == 0 || pos > max) return 0;
    // Some writers pad the tag with zeros beyond its stated size.
    for (int i = 0; i < kMaxZeroPadding; ++i) {
        uint32_t b = 1;
        if (!ReadU8(reader, pos, b) || b != 0) break;
        ++pos;
    }
    int64_t frames = 0;
    WalkPump pump(10);
    for (;;) {
        uint32_t h = 0;
        // Unreadable here is not the audio's end: the size is left to a later look.
        if (!ReadBe32(reader, pos, h)) return 0;
        int64_t length = FrameLength(h);
        if (length == 0) {
            // A frame one byte further on (a stray byte) continues the audio; anything else ends it.
            if (pos + 1 > max) break;
            if (!ReadBe32(reader, pos + 1, h)) return 0;
            length = FrameLength(h);
            if (length == 0) break;
            ++pos;
        }
        if (length > max - pos) break;
        pos += length;
        ++frames;
        pump.Step();
    }
    if (frames == 0) return 0;
    for (int64_t skip = 0; skip <= 2; ++skip) {
        if (pos + skip + kTagBytes <= max && MatchAt(reader, pos + skip, "TAG", 3, false)) {
            pos += skip + kTagBytes;
            break;
        }
    }
    candidate.size = pos;
    return 1;
}

bool FileMP3Analyser::GetLeadingBytes(std::vector<uint16_t>& values) const {
    values.push_back('I' | ('D' << 8));
    return true;
}

}  // namespace keldrin
