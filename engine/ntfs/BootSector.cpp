#include "engine/ntfs/BootSector.h"

#include <algorithm>

#include "engine/ntfs/LeReader.h"

namespace keldrin::ntfs {
namespace {

constexpr size_t kOemOffset = 3;
constexpr size_t kOemSize = 8;

int64_t SignedOrMinus(uint64_t v) {
    return v > static_cast<uint64_t>(INT64_MAX) ? -1 : static_cast<int64_t>(v);
}

bool OemIsNtfs(std::span<const uint8_t> sector) {
    static constexpr char kOem[] = "NTFS    ";
    for (size_t i = 0; i < kOemSize; ++i) {
        uint8_t c = sector[kOemOffset + i];
        if (c >= 'a' && c <= 'z') c = static_cast<uint8_t>(c - 'a' + 'A');
        if (c != static_cast<uint8_t>(kOem[i])) return false;
    }
    return true;
}

}  // namespace

CNTFSDBR::CNTFSDBR(std::span<const uint8_t> sector) {
    std::copy_n(sector.begin(), std::min(sector.size(), bytes_.size()), bytes_.begin());
}

bool CNTFSDBR::IsValid() const {
    return IsValidNtfsBootSector(bytes_);
}

bool IsValidNtfsBootSector(std::span<const uint8_t> sector) {
    if (sector.size() < kBootSectorSize) return false;
    const LeReader r(sector);
    if (!OemIsNtfs(sector)) return false;
    if (r.U16(11) != 512) return false;
    const uint8_t spc = r.U8(13);
    if (spc == 0 || spc > 128 || (spc & (spc - 1)) != 0) return false;
    if (r.U16(14) != 0 || r.U8(16) != 0 || r.U16(17) != 0 || r.U16(19) != 0 || r.U16(22) != 0) return false;
    if (r.U32(32) != 0) return false;
    return r.U8(510) == 0x55 && r.U8(511) == 0xAA;
}

uint32_t GetFileRecordSize(const CNTFSDBR& boot) {
    const int8_t n = static_cast<int8_t>(LeReader(boot.Bytes()).U8(64));
    if (n == 0) return 1024;
    if (n < 0) return -n > 31 ? 0 : uint32_t{1} << -n;
    return static_cast<uint32_t>(n) * 512 * GetSectorsPerCluster(boot);
}

int64_t GetMftCluster(const CNTFSDBR& boot) {
    return SignedOrMinus(LeReader(boot.Bytes()).U64(48));
}
int64_t GetMftMirrCluster(const CNTFSDBR& boot) {
    return SignedOrMinus(LeReader(boot.Bytes()).U64(56));
}
uint32_t GetSectorsPerCluster(const CNTFSDBR& boot) {
    return LeReader(boot.Bytes()).U8(13);
}

int64_t GetTotalSectors(const CNTFSDBR& boot) {
    const int64_t total = SignedOrMinus(LeReader(boot.Bytes()).U64(40));
    return total < 0 ? 0 : total;
}

uint64_t GetVolumeSerial(const CNTFSDBR& boot) {
    return LeReader(boot.Bytes()).U64(72);
}

std::string GetOemId(const CNTFSDBR& boot) {
    const auto b = boot.Bytes().subspan(kOemOffset, kOemSize);
    return std::string(b.begin(), b.end());
}

}  // namespace keldrin::ntfs
