#include "engine/ntfs/LogPages.h"

#include "engine/ntfs/LeReader.h"

namespace keldrin::ntfs {
namespace {

constexpr uint32_t kRstrMagic = 0x52545352;  // "RSTR"
constexpr uint32_t kRcrdMagic = 0x44524352;  // "RCRD"
constexpr size_t kPageSectors = kLogPageSize / 512;

bool SectorEndsEqual(const LeReader& r, size_t usnOffset) {
    const uint16_t usn = r.U16(usnOffset);
    for (size_t i = 0; i < kPageSectors; ++i) {
        if (r.U16(i * 512 + 510) != usn) return false;
    }
    return true;
}

}  // namespace

bool IsValidRestartPage(std::span<const uint8_t> page) {
    const LeReader r(page);
    if (!r.Has(0, kLogPageSize) || r.U32(0) != kRstrMagic) return false;
    static constexpr uint8_t kNtfs[] = {'N', 0, 'T', 0, 'F', 0, 'S', 0};
    for (size_t i = 0; i < sizeof kNtfs; ++i) {
        if (r.U8(144 + i) != kNtfs[i]) return false;
    }
    return SectorEndsEqual(r, 30);
}

bool IsLogRecordPage(std::span<const uint8_t> page) {
    const LeReader r(page);
    if (!r.Has(0, kLogPageSize) || r.U32(0) != kRcrdMagic) return false;
    if (r.U16(4) != 40 || r.U16(6) != 9) return false;
    return SectorEndsEqual(r, 40);
}

}  // namespace keldrin::ntfs
