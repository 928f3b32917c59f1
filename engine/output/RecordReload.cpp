#include "engine/output/RecordReload.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "engine/ntfs/Attributes.h"
#include "engine/ntfs/NtfsRuns.h"

namespace keldrin::output {
namespace {

constexpr int64_t kRecordReadSectors = 16;

bool ReadRecordAt(IStorageDevice& device, int64_t sector, ntfs::FileRecord& out) {
    std::vector<uint8_t> buffer(kRecordReadSectors * kSectorSize);
    if (sector < 0 || !device.ReadSectors(buffer.data(), sector, kRecordReadSectors)) return false;
    uint32_t allocated = 0;
    std::memcpy(&allocated, buffer.data() + 0x1C, sizeof allocated);
    const size_t size = ntfs::IsUsableRecordSize(allocated) && allocated <= buffer.size() ? allocated : 1024;
    out = ntfs::FileRecord(std::span<const uint8_t>(buffer.data(), size));
    return out.IsValid();
}

std::optional<ntfs::Attribute> FindFirst(const ReloadedRecords& set, uint32_t type, bool unnamedOnly) {
    for (const ntfs::FileRecord& record : set.records) {
        std::optional<ntfs::Attribute> found;
        record.ForEachAttribute([&](const ntfs::Attribute& a) {
            if (a.Type() != type || (unnamedOnly && a.IsNamed())) return true;
            found = a;
            return false;
        });
        if (found) return found;
    }
    return std::nullopt;
}

uint32_t StoredLength(const std::vector<uint8_t>& value) {
    uint32_t length = 0;
    if (value.size() >= 4) std::memcpy(&length, value.data(), 4);
    return length;
}

}  // namespace

bool ReloadRecordSet(IStorageDevice& device, const CNTFSFileProperties& properties, ReloadedRecords& out) {
    out.records.clear();
    if (IsFolder(&properties)) return false;
    ntfs::FileRecord base;
    if (!ReadRecordAt(device, properties.GetRecordSector(), base)) return false;
    out.records.push_back(std::move(base));
    for (const NTFSExtensionRecord& extension : properties.GetExtensionRecords()) {
        ntfs::FileRecord record;
        if (ReadRecordAt(device, extension.sector, record)) out.records.push_back(std::move(record));
    }
    return true;
}

int64_t ReadResidentData(const ReloadedRecords& set, uint8_t* buffer, size_t capacity) {
    const std::optional<ntfs::Attribute> data = FindFirst(set, ntfs::kAttrData, true);
    if (!data || !data->IsResident()) return -1;
    const std::span<const uint8_t> value = data->Value();
    if (value.size() != data->ValueLength() || value.size() > capacity) return -1;
    std::copy(value.begin(), value.end(), buffer);
    return static_cast<int64_t>(value.size());
}

int64_t ReadEfsStream(const ReloadedRecords& set, IStorageDevice& device, const VolumeLocation& volume,
                      std::vector<uint8_t>& out) {
    out.clear();
    const std::optional<ntfs::Attribute> efs = FindFirst(set, kAttrLoggedUtilityStream, false);
    if (!efs) return -1;
    int64_t length = 0;
    if (efs->IsResident()) {
        const std::span<const uint8_t> value = efs->Value();
        if (value.size() != efs->ValueLength() || value.size() > kMaxEfsStreamBytes) return -1;
        out.assign(value.begin(), value.end());
        length = static_cast<int64_t>(value.size());
    } else {
        length = efs->DataSize();
        if (length <= 0 || length > static_cast<int64_t>(kMaxEfsStreamBytes)) return -1;
        std::vector<ntfs::NtfsRun> runs;
        if (!ntfs::DecodeMappingPairs(efs->MappingPairs(), runs, efs->FirstVcn())) return -1;
        const int64_t spc = volume.sectorsPerCluster;
        std::vector<uint8_t> sectors;
        for (const ntfs::NtfsRun& run : runs) {
            if (static_cast<int64_t>(out.size()) >= length) break;
            if (run.length <= 0 || run.length > static_cast<int64_t>(kMaxEfsStreamBytes) ||
                (static_cast<int64_t>(out.size()) + run.length * spc * kSectorSize) >
                    static_cast<int64_t>(kMaxEfsStreamBytes) + spc * kSectorSize)
                return -1;
            sectors.assign(static_cast<size_t>(run.length * spc * kSectorSize), 0);
            if (run.lcn >= 0 &&
                !device.ReadSectors(sectors.data(), volume.firstSector + run.lcn * spc, run.length * spc))
                return -1;
            out.insert(out.end(), sectors.begin(), sectors.end());
        }
        if (static_cast<int64_t>(out.size()) < length) return -1;
        out.resize(static_cast<size_t>(length));
    }
    if (static_cast<int64_t>(StoredLength(out)) != length) {
        out.clear();
        return -1;
    }
    return length;
}

}  // namespace keldrin::output
