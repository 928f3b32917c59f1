#include "engine/raw/FileASFAnalyser.h"

#include <cstring>

#include "engine/raw/RawWalk.h"

namespace keldrin {

using namespace rawwalk;

namespace {

constexpr uint8_t kHeaderObject[16] = {0x30, 0x26, 0xB2, 0x75, 0x8E, 0x66, 0xCF, 0x11,
                                       0xA6, 0xD9, 0x00, 0xAA, 0x00, 0x62, 0xCE, 0x6C};
constexpr uint8_t kDataObject[16] = {0x36, 0x26, 0xB2, 0x75, 0x8E, 0x66, 0xCF, 0x11,
                                     0xA6, 0xD9, 0x00, 0xAA, 0x00, 0x62, 0xCE, 0x6C};
constexpr uint8_t kSimpleIndexObject[16] = {0x90, 0x08, 0x00, 0x33, 0xB1, 0xE5, 0xCF, 0x11,
                                            0x89, 0xF4, 0x00, 0xA0, 0xC9, 0x03, 0x49, 0xCB};

// The length of the object at pos when it carries guid; 0 otherwise. An object holds at least
// its GUID and its size.
int64_t ObjectLength(CRawByteReader& reader, int64_t pos, const uint8_t* guid) {
    uint8_t head[24];
    if (!reader.ReadBytes(pos, head, sizeof(head)) || std::memcmp(head, guid, 16) != 0) return 0;
    const uint64_t length = Le32(head + 16) | (uint64_t{Le32(head + 20)} << 32);
    return length < 24 || length > (uint64_t{1} << 62) ? 0 : static_cast<int64_t>(length);
}

}  // namespace

int FileASFAnalyser::CheckSignature(const uint8_t* s, CRawFileInfo& candidate) {
    if (std::memcmp(s, kHeaderObject, 16) != 0) return 0;
    candidate.type = 6;
    candidate.size = 0;
    return 1;
}

int FileASFAnalyser::FindFileSize(CRawFileInfo& candidate, IStorageDevice* device) {
    CRawByteReader reader(device, candidate.startSector);
    const int64_t max = MaxFileSize();
    const int64_t header = ObjectLength(reader, 0, kHeaderObject);
    if (header == 0 || header > max) return 0;
    const int64_t data = ObjectLength(reader, header, kDataObject);
    if (data == 0 || data > max - header) return 0;
    int64_t size = header + data;
    // Whether an index follows is unknown while its place cannot be read.
    uint8_t probe[24];
    if (size + 24 <= max && !reader.ReadBytes(size, probe, sizeof(probe))) return 0;
    const int64_t index = ObjectLength(reader, size, kSimpleIndexObject);
    if (index != 0 && index <= max - size) size += index;
    candidate.size = size;
    return 1;
}

bool FileASFAnalyser::GetLeadingBytes(std::vector<uint16_t>& values) const {
    values.push_back(0x30 | (0x26 << 8));
    return true;
}

}  // namespace keldrin
