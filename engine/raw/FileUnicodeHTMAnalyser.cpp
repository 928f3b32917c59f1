#include "engine/raw/FileUnicodeHTMAnalyser.h"

#include "engine/raw/RawWalk.h"

namespace keldrin {

using namespace rawwalk;

namespace {

constexpr int64_t kLongest = 1048576;
constexpr int kTagWithin = 500;

// The UTF-16LE text at p equals ascii, letters without case.
bool SameWide(const uint8_t* p, const char* ascii, size_t length) {
    for (size_t i = 0; i < length; ++i) {
        uint8_t c = p[2 * i];
        uint8_t a = static_cast<uint8_t>(ascii[i]);
        if (c >= 'a' && c <= 'z') c = static_cast<uint8_t>(c - 32);
        if (a >= 'a' && a <= 'z') a = static_cast<uint8_t>(a - 32);
        if (c != a || p[2 * i + 1] != 0) return false;
    }
    return true;
}

}  // namespace

int FileUnicodeHTMAnalyser::CheckSignature(const uint8_t* s, CRawFileInfo& candidate) {
    if (s[0] != 0xFF || s[1] != 0xFE || s[2] != '<' || s[3] != 0) return 0;
    bool found = SameWide(s + 2, "<HTML>", 6);
    // A document type or comment first: the tag must still come early.
    if (!found && SameWide(s + 4, "!", 1)) {
        for (int at = 6; at + 12 <= kTagWithin && !found; at += 2) found = SameWide(s + at, "<HTML>", 6);
    }
    if (!found) return 0;
    candidate.type = 31;
    candidate.size = 0;
    return 1;
}

int FileUnicodeHTMAnalyser::FindFileSize(CRawFileInfo& candidate, IStorageDevice* device) {
    CRawByteReader reader(device, candidate.startSector);
    WalkPump pump(512);
    for (int64_t pos = 14; pos < kLongest; pos += 2) {
        uint32_t c = 0;
        if (!ReadLe16(reader, pos, c)) return 0;
        // No text holds these: the document ended without its closing tag.
        if (c == 0xFFFF || c == 0xFEFF || c == 0) {
            candidate.size = pos;
            return 1;
        }
        uint8_t tag[14];
        if (c == '<' && reader.ReadBytes(pos, tag, sizeof(tag)) && SameWide(tag, "</HTML>", 7)) {
            candidate.size = pos + 16;  // the tag and the line break after it
            return 1;
        }
        pump.Step();
    }
    candidate.size = kLongest;
    return 1;
}

bool FileUnicodeHTMAnalyser::GetLeadingBytes(std::vector<uint16_t>& values) const {
    values.push_back(0xFF | (0xFE << 8));
    return true;
}

}  // namespace keldrin
