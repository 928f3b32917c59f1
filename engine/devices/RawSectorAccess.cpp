#include "engine/devices/RawSectorAccess.h"

#include <cstring>
#include <limits>
#include <new>
#include <vector>

#include "engine/devices/StorageDevice.h"
#include "shared/ScanSettings.h"

namespace keldrin {
namespace {

// The largest sector number whose byte position still fits in 64 bits.
constexpr int64_t kMaxSectors = std::numeric_limits<int64_t>::max() / kSectorSize;

bool IgnoreBadSectors() {
    return GetScanSettings().ignoreBadSectors;
}

}  // namespace

CRawSectorAccess::CRawSectorAccess(std::unique_ptr<IRawReader> reader)
    : reader_(reader ? std::move(reader) : MakeBlockDeviceReader()) {}

bool CRawSectorAccess::Open(const std::string& path) {
    return reader_->Open(path);
}

void CRawSectorAccess::Close() {
    reader_->Close();
}

bool CRawSectorAccess::IsOpen() const {
    return reader_->IsOpen();
}

bool CRawSectorAccess::ReadSectors(void* buffer, int64_t firstSector, int64_t sectorCount) {
    if (sectorCount < 0 || sectorCount > kMaxSectors) return false;
    const int64_t bytes = sectorCount * kSectorSize;
    auto* out = static_cast<unsigned char*>(buffer);
    if (!reader_->IsOpen() || firstSector < 0 || firstSector > kMaxSectors - sectorCount) {
        if (bytes > 0) std::memset(out, 0, static_cast<size_t>(bytes));
        return false;
    }
    const bool ignoreBad = IgnoreBadSectors();
    if (ignoreBad && badSectors_.IsRangeBad(firstSector, firstSector + sectorCount)) {
        if (bytes > 0) std::memset(out, 0, static_cast<size_t>(bytes));
        return true;
    }
    const int64_t got = reader_->ReadAt(out, bytes, firstSector * kSectorSize);
    // A last sector that arrives in part still counts; its missing tail is zeroed, not left stale.
    if (got >= 0 && (got + kSectorSize - 1) / kSectorSize == sectorCount) {
        if (got < bytes) std::memset(out + got, 0, static_cast<size_t>(bytes - got));
        return true;
    }
    if (!ignoreBad) return false;
    if (bytes > 0) std::memset(out, 0, static_cast<size_t>(bytes));
    ProbeBadRegion(firstSector);
    return true;
}

void CRawSectorAccess::ProbeBadRegion(int64_t firstSector) {
    constexpr int64_t kProbeBytes = kProbeChunkSectors * kSectorSize;
    if (firstSector < 0 || firstSector > kMaxSectors) return;
    int64_t extent = kProbeSmallestStep;
    std::vector<unsigned char> probe;
    try {
        probe.resize(static_cast<size_t>(kProbeBytes));
    } catch (const std::bad_alloc&) {
        badSectors_.AddRange(firstSector, firstSector + extent * kProbeChunkSectors);
        return;
    }
    for (int64_t step = kProbeFirstStep; step > kProbeSmallestStep;) {
        const int64_t at = firstSector + step * kProbeChunkSectors;
        const bool readable = at >= 0 && at <= kMaxSectors - kProbeChunkSectors &&
                              reader_->ReadAt(probe.data(), kProbeBytes, at * kSectorSize) == kProbeBytes;
        if (!readable) {
            extent = step;
            break;
        }
        step /= 2;
        if (step < kProbeSmallestStep) {
            extent = kProbeSmallestStep;
            break;
        }
    }
    badSectors_.AddRange(firstSector, firstSector + extent * kProbeChunkSectors);
}

int64_t CRawSectorAccess::GetTotalSectors() {
    if (!reader_->IsOpen()) return 0;
    const int64_t bytes = reader_->SizeBytes();
    return bytes > 0 ? bytes / kSectorSize : 0;
}

bool CRawSectorAccess::GetGeometry(DiskGeometry& geometry) {
    return reader_->IsOpen() && reader_->GetGeometry(geometry);
}

}  // namespace keldrin
