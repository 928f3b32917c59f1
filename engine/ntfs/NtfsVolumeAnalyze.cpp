#include "engine/ntfs/NtfsVolumeAnalyze.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "engine/ntfs/BootSector.h"
#include "engine/ntfs/FileRecord.h"
#include "engine/ntfs/NtfsGeometry.h"
#include "engine/ntfs/VolumeName.h"

namespace keldrin::ntfs {
namespace {

constexpr int64_t kVolumeRecord = 3;

}  // namespace

CNtfsVolumeAnalyze::CNtfsVolumeAnalyze(IStorageDevice* device, int64_t firstSector) {
    if (!device || firstSector < 0) return;
    uint8_t sector[kBootSectorSize] = {};
    if (!device->ReadSectors(sector, firstSector, 1)) return;
    const CNTFSDBR boot{std::span<const uint8_t>(sector)};
    if (!boot.IsValid()) return;
    type_ = kFsNtfs;
    totalSectors_ = ntfs::GetTotalSectors(boot);
    ReadLabel(*device, firstSector, boot);
}

void CNtfsVolumeAnalyze::ReadLabel(IStorageDevice& device, int64_t firstSector, const CNTFSDBR& boot) {
    NtfsGeometry g;
    if (!GeometryFromBootSector(boot, firstSector, g)) return;
    // The first records of $MFT lie together at its start, so record 3 needs no run list.
    int64_t sector = 0;
    if (!ClusterToSector(g, GetMftCluster(boot), sector)) return;
    const int64_t offset = kVolumeRecord * g.SectorsPerRecord();
    if (sector > INT64_MAX - offset) return;
    std::vector<uint8_t> buffer(g.recordSize);
    if (!device.ReadSectors(buffer.data(), sector + offset, g.SectorsPerRecord())) return;
    const FileRecord record(buffer, false);
    if (!record.IsValid() || !record.IsFixedUp()) return;
    const std::string label = ReadVolumeName(record, kMaxVolumeNameBytes);
    std::memcpy(label_, label.data(), label.size());
}

void CNtfsVolumeAnalyze::GetVolumeLabel(char* buffer, size_t size) {
    if (!buffer || size == 0) return;
    const size_t room = std::min(size, kLabelBufferSize) - 1;
    const std::string_view text =
        Utf8Prefix(std::string_view(label_, strnlen(label_, kLabelBufferSize)), room);
    std::memcpy(buffer, text.data(), text.size());
    buffer[text.size()] = '\0';
}

}  // namespace keldrin::ntfs
