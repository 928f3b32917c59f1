#include "tests/devices/PartitionFixtures.h"

#include <algorithm>
#include <cstring>

namespace keldrin::test {
namespace {

constexpr char kMagic[8] = {'K', 'L', 'D', 'F', 'A', 'K', 'E', '\0'};

void Put32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}
void Put64(uint8_t* p, uint64_t v) {
    for (int i = 0; i < 8; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}
uint64_t Get64(const uint8_t* p) {
    uint64_t v = 0;
    for (int i = 7; i >= 0; --i) v = v << 8 | p[i];
    return v;
}

uint32_t Crc32(const uint8_t* data, size_t size) {
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

class FakeVolume final : public IVolume {
  public:
    FakeVolume(int type, int64_t sectors, std::string label)
        : type_(type), sectors_(sectors), label_(std::move(label)) {}
    int GetFileSystemType() override { return type_; }
    int64_t GetTotalSectors() override { return sectors_; }
    void GetVolumeLabel(char* buffer, size_t size) override {
        if (!buffer || size == 0) return;
        const size_t n = std::min(size - 1, label_.size());
        std::memcpy(buffer, label_.data(), n);
        buffer[n] = '\0';
    }

  private:
    int type_;
    int64_t sectors_;
    std::string label_;
};

}  // namespace

void DiskImage::SetMbrEntry(int64_t tableSector, int slot, uint8_t type, uint32_t relativeStart,
                            uint32_t count, uint8_t status) {
    uint8_t* s = Sector(tableSector);
    uint8_t* e = s + 446 + slot * 16;
    e[0] = status;
    e[4] = type;
    Put32(e + 8, relativeStart);
    Put32(e + 12, count);
    s[510] = 0x55;
    s[511] = 0xAA;
}

void DiskImage::WriteVolume(int64_t start, int type, int64_t totalSectors, const std::string& label) {
    uint8_t* s = Sector(start);
    std::memcpy(s, kMagic, sizeof kMagic);
    s[8] = static_cast<uint8_t>(type);
    Put64(s + 16, static_cast<uint64_t>(totalSectors));
    std::memcpy(s + 32, label.data(), std::min<size_t>(label.size(), 400));
}

void DiskImage::SetProtectiveMbr() {
    SetMbrEntry(0, 0, 0xEE, 1, static_cast<uint32_t>(std::min<int64_t>(Sectors() - 1, 0xFFFFFFFF)));
}

void DiskImage::SetGptHeader(int64_t arraySector, uint32_t count, uint32_t entrySize, bool breakCrc) {
    SetProtectiveMbr();
    uint8_t* h = Sector(1);
    std::memset(h, 0, kSectorSize);
    std::memcpy(h, "EFI PART", 8);
    Put32(h + 8, 0x00010000);
    Put32(h + 12, 92);
    Put64(h + 24, 1);
    Put64(h + 32, static_cast<uint64_t>(Sectors() - 1));
    Put64(h + 72, static_cast<uint64_t>(arraySector));
    Put32(h + 80, count);
    Put32(h + 84, entrySize);
    Put32(h + 16, Crc32(h, 92) ^ (breakCrc ? 1u : 0u));
}

void DiskImage::SetGptEntry(int64_t arraySector, uint32_t entrySize, int index, const std::string& typeGuid,
                            uint64_t first, uint64_t last) {
    uint8_t* e = Sector(arraySector) + static_cast<int64_t>(index) * entrySize;
    const std::vector<uint8_t> guid = GuidBytes(typeGuid);
    std::copy(guid.begin(), guid.end(), e);
    Put64(e + 32, first);
    Put64(e + 40, last);
}

bool ImageBytesDevice::ReadSectors(void* buffer, int64_t firstSector, int64_t sectorCount) {
    if (firstSector < 0 || sectorCount < 0 || firstSector > GetTotalSectors() - sectorCount) return false;
    for (int64_t s : failSectors)
        if (s >= firstSector && s < firstSector + sectorCount) return false;
    std::memcpy(buffer, bytes_.data() + firstSector * kSectorSize,
                static_cast<size_t>(sectorCount * kSectorSize));
    return true;
}

VolumeIdentifier FakeIdentifier() {
    return [](IStorageDevice* device, int64_t first) -> std::unique_ptr<IVolume> {
        uint8_t s[kSectorSize];
        if (!device->ReadSectors(s, first, 1) || std::memcmp(s, kMagic, sizeof kMagic) != 0)
            return std::make_unique<FakeVolume>(kFsUnknown, 0, "");
        return std::make_unique<FakeVolume>(s[8], static_cast<int64_t>(Get64(s + 16)),
                                            std::string(reinterpret_cast<const char*>(s + 32)));
    };
}

std::vector<uint8_t> GuidBytes(const std::string& text) {
    std::vector<uint8_t> b;
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == '-') continue;
        b.push_back(static_cast<uint8_t>(std::stoi(text.substr(i, 2), nullptr, 16)));
        ++i;
    }
    // The first three groups are stored little-endian.
    std::reverse(b.begin(), b.begin() + 4);
    std::reverse(b.begin() + 4, b.begin() + 6);
    std::reverse(b.begin() + 6, b.begin() + 8);
    return b;
}

}  // namespace keldrin::test
