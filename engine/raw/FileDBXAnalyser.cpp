#include "engine/raw/FileDBXAnalyser.h"

#include <cstring>

#include "engine/raw/RawWalk.h"

namespace keldrin {

using namespace rawwalk;

namespace {

// The class ids of the message, folder-list and other stores; the last differs from byte 4 on.
constexpr uint8_t kStore[16] = {0xCF, 0xAD, 0x12, 0xFE, 0xC5, 0xFD, 0x74, 0x6F,
                                0x66, 0xE3, 0xD1, 0x11, 0x9A, 0x4E, 0x00, 0xC0};
constexpr uint8_t kFolders[16] = {0xCF, 0xAD, 0x12, 0xFE, 0x30, 0x9D, 0xFE, 0x26,
                                  0x8F, 0x1A, 0xD2, 0x11, 0xAA, 0xBF, 0x00, 0x60};
constexpr uint8_t kJournal[8] = {'J', 'M', 'F', '6', 0x03, 0x00, 0x10, 0x00};

bool IsStoreId(const uint8_t* s) {
    if (std::memcmp(s, kFolders, 16) == 0 || std::memcmp(s, kJournal, 8) == 0) return true;
    if (std::memcmp(s, kStore, 4) != 0 || std::memcmp(s + 5, kStore + 5, 11) != 0) return false;
    return s[4] == 0xC5 || s[4] == 0xC6 || s[4] == 0xC7;
}

}  // namespace

int FileDBXAnalyser::CheckSignature(const uint8_t* s, CRawFileInfo& candidate) {
    if (!IsStoreId(s)) return 0;
    const uint32_t size = Le32(s + 124);
    if (size == 0) return 0;
    candidate.type = 19;
    candidate.size = size;
    return 1;
}

bool FileDBXAnalyser::GetLeadingBytes(std::vector<uint16_t>& values) const {
    values.push_back(0xCF | (0xAD << 8));
    values.push_back('J' | ('M' << 8));
    return true;
}

}  // namespace keldrin
