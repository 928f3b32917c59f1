#include "engine/raw/FileOLEAnalyser.h"

#include <string>

#include "engine/raw/RawWalk.h"

namespace keldrin {

using namespace rawwalk;

namespace {

constexpr uint8_t kMagic[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
constexpr uint32_t kFree = 0xFFFFFFFF;
constexpr uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr int64_t kSizeWithoutDirectory = 0xA00000;

int64_t SectorOffset(uint32_t sector) {
    return 512 + int64_t{sector} * 512;
}

// The name of directory entry i (UTF-16, ASCII part only), from a 512-byte directory sector.
std::string EntryName(const uint8_t* dir, int i) {
    const uint8_t* e = dir + i * 128;
    uint32_t bytes = Le16(e + 64);
    if (bytes > 64) bytes = 64;
    std::string name;
    for (uint32_t k = 0; k + 1 < bytes; k += 2) {
        const uint32_t c = Le16(e + k);
        if (c == 0) break;
        name.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    }
    return name;
}

int TypeFromDirectory(const uint8_t* dir) {
    std::string n[4];
    for (int i = 0; i < 4; ++i) n[i] = EntryName(dir, i);
    int type = 39;
    for (int i = 0; i < 4; ++i)
        if (n[i] == "WordDocument") type = 21;
    if (n[1] == "Workbook" || n[1] == "Book" || n[2] == "Workbook" || n[2] == "Book") type = 67;
    if (n[1] == "PowerPoint Document" || n[2] == "PowerPoint Document" || n[3] == "PowerPoint Document" ||
        n[1].rfind("Pictures", 0) == 0 || n[1] == "PP40")
        type = 48;
    if (n[1] == "Scene") type = 35;
    if (n[1] == "VisioDocument") type = 62;
    if (n[1] == "PerfectOffice_MAIN" && n[2] == "PerfectOffice_OBJECTS") {
        bool zeroClass = true;
        for (int k = 0; k < 16; ++k) zeroClass = zeroClass && dir[80 + k] == 0;
        type = n[3] == "\x05SummaryInformation" ? 57 : zeroClass ? 65 : 64;
    }
    if (n[1] == "Objects" && n[2] == "Quill" && n[3] == "Escher") type = 49;
    if (n[1] == "NativeContent_MAIN") type = 53;
    if (n[1] ==
            "\x01"
            "CompObj" &&
        n[2] == "   19" && n[3] == "   29")
        type = 43;
    if (n[1] == "PropData" && n[2] == "Forms" && n[3] == "Reports") type = 3;
    return type;
}

}  // namespace

int FileOLEAnalyser::CheckSignature(const uint8_t* s, CRawFileInfo& candidate) {
    for (int i = 0; i < 8; ++i)
        if (s[i] != kMagic[i]) return 0;
    candidate.type = 44;
    candidate.size = 0;
    return 1;
}

int FileOLEAnalyser::FindFileSize(CRawFileInfo& candidate, IStorageDevice* device) {
    CRawByteReader reader(device, candidate.startSector);
    uint8_t header[512];
    if (!reader.ReadBytes(0, header, sizeof(header))) return 0;
    int64_t fatSectors = 0;
    uint32_t lastFat = kFree;
    for (int i = 0; i < 109; ++i) {
        const uint32_t entry = Le32(header + 76 + 4 * i);
        if (entry == kFree) continue;
        ++fatSectors;
        lastFat = entry;
    }
    uint32_t difat = Le32(header + 68);
    WalkPump pump(10);
    // Each further DIFAT sector must lie beyond the last one, so the chain cannot loop.
    while (difat != kEndOfChain && difat != kFree) {
        uint8_t sector[512];
        if (!reader.ReadBytes(SectorOffset(difat), sector, sizeof(sector))) return 0;
        for (int i = 0; i < 127; ++i) {
            const uint32_t entry = Le32(sector + 4 * i);
            if (entry == kFree) continue;
            ++fatSectors;
            lastFat = entry;
        }
        const uint32_t next = Le32(sector + 508);
        if (next == kFree || next <= difat) break;
        difat = next;
        pump.Step();
    }
    if (fatSectors == 0) return 0;
    uint8_t fat[512];
    if (!reader.ReadBytes(SectorOffset(lastFat), fat, sizeof(fat))) return 0;
    int64_t used = 0;
    for (int k = 128; k >= 1; --k)
        if (Le32(fat + 4 * (k - 1)) != kFree) {
            used = k;
            break;
        }
    int64_t size = ((fatSectors - 1) * 128 + used) * 512 + 512;
    uint8_t dir[512];
    if (!reader.ReadBytes(SectorOffset(Le32(header + 48)), dir, sizeof(dir))) {
        if (size > kSizeWithoutDirectory) return 0;
        candidate.type = 39;
        candidate.size = size;
        return 1;
    }
    const int type = TypeFromDirectory(dir);
    if (type == 62) size += 1024;
    candidate.type = type;
    candidate.size = size;
    return 1;
}

bool FileOLEAnalyser::GetLeadingBytes(std::vector<uint16_t>& values) const {
    values.push_back(0xD0 | (0xCF << 8));
    return true;
}

}  // namespace keldrin
