#include "engine/ntfs/MftLocator.h"

#include <algorithm>
#include <cstring>
#include <span>

#include "engine/ntfs/AttributeList.h"
#include "engine/ntfs/DataRuns.h"
#include "engine/ntfs/FileRecord.h"
#include "engine/ntfs/FileRecordSet.h"
#include "engine/ntfs/LeReader.h"
#include "engine/ntfs/MftMap.h"
#include "engine/ntfs/SystemFiles.h"

namespace keldrin::ntfs {
namespace {

constexpr int64_t kMftRecordNumber = 0;
// Each pass places the extension records that the runs found so far reach. Real volumes need one
// or two; a damaged list that unlocks one record per pass must not cost a pass per entry.
constexpr int kMaxListPasses = 16;

bool ReadWithin(IStorageDevice& device, int64_t deviceSectors, void* buffer, int64_t sector, int64_t count) {
    if (sector < 0 || count <= 0 || sector > deviceSectors - count) return false;
    return device.ReadSectors(buffer, sector, count);
}

// The bytes of the attribute list: in place when resident, else read run by run into storage
// (zeros where a run cannot be read; they end the entry walk).
std::span<const uint8_t> ListBytes(const Attribute& list, IStorageDevice& device, const NtfsGeometry& g,
                                   int64_t deviceSectors, std::vector<uint8_t>& storage) {
    if (list.IsResident()) return list.Value();
    const int64_t allocated = list.AllocatedSize();
    const int64_t initialized = list.InitializedSize();
    std::vector<NtfsRun> runs;
    if (initialized <= 0 || allocated < initialized || !DecodeMappingPairs(list.MappingPairs(), runs))
        return {};
    const size_t wanted = static_cast<size_t>(std::min<int64_t>(initialized, kMaxAttributeListBytes));
    const size_t bufferBytes = (wanted + kSectorSize - 1) / kSectorSize * kSectorSize;
    storage.assign(bufferBytes, 0);
    size_t position = 0;
    for (const NtfsRun& run : runs) {
        if (position >= bufferBytes) break;
        const int64_t runSectors = run.length * g.sectorsPerCluster;  // lengths are at most 32 bits
        const size_t piece = static_cast<size_t>(
            std::min<int64_t>(runSectors, static_cast<int64_t>((bufferBytes - position) / kSectorSize)));
        int64_t sector = 0;
        if (!run.IsSparse() && ClusterToSector(g, run.lcn, sector) &&
            !ReadWithin(device, deviceSectors, storage.data() + position, sector,
                        static_cast<int64_t>(piece))) {
            std::memset(storage.data() + position, 0, piece * kSectorSize);
        }
        position += piece * kSectorSize;
    }
    return std::span<const uint8_t>(storage).first(wanted);
}

void SortByVcn(std::vector<NtfsRun>& runs) {
    std::stable_sort(runs.begin(), runs.end(),
                     [](const NtfsRun& a, const NtfsRun& b) { return a.vcn < b.vcn; });
}

// Adds the $DATA runs of the extension records the list names, pass by pass as the runs grow.
void GatherExtensionRuns(IStorageDevice& device, const NtfsGeometry& g, int64_t deviceSectors,
                         std::vector<int64_t> pending, std::vector<NtfsRun>& runs) {
    std::vector<uint8_t> buffer(g.recordSize);
    for (int pass = 0; pass < kMaxListPasses && !pending.empty(); ++pass) {
        const MftMap map(g, runs);
        const size_t before = pending.size();
        std::erase_if(pending, [&](int64_t number) {
            const int64_t sector = map.RecordSector(number);
            if (sector < 0) return false;
            // Whatever the record holds, it is read only once.
            if (sector > deviceSectors - g.SectorsPerRecord() || !map.ReadRecord(device, number, buffer))
                return true;
            const FileRecord record(buffer, false);
            // A reused record that no longer belongs to $MFT holds another file's runs.
            if (!record.IsValid() || RecordNumberOf(record.GetBaseReference()) != kMftRecordNumber ||
                !record.IsExtension())
                return true;
            DataRuns data;
            if (ReadDataRuns(record, data) && runs.size() + data.runs.size() <= kMaxMftRuns)
                runs.insert(runs.end(), data.runs.begin(), data.runs.end());
            return true;
        });
        if (pending.size() == before) break;
        SortByVcn(runs);
    }
}

bool TakeMftRecord(IStorageDevice& device, const NtfsGeometry& g, int64_t deviceSectors, int64_t sector,
                   CMFTInfo& out) {
    const int64_t perRecord = g.SectorsPerRecord();
    std::vector<uint8_t> buffer(g.recordSize);
    if (!ReadWithin(device, deviceSectors, buffer.data(), sector, perRecord)) return false;
    const FileRecord record(buffer, false);
    if (!record.IsValid() || !IsSystemFile(record, "$MFT")) return false;

    DataRuns data;
    if (!ReadDataRuns(record, data) || data.runs.empty() || data.runs.size() > kMaxMftRuns) return false;
    CMFTInfo info;
    info.recordSector = sector;
    info.sectorsPerRecord = static_cast<uint8_t>(perRecord);
    const auto list = record.FindAttribute(kAttrAttributeList, 0);
    if (!list) {
        info.sectorsPerCluster = static_cast<uint8_t>(ClusterSizeFromRecord(record));
        if (info.sectorsPerCluster == 0) return false;
        info.runs = std::move(data.runs);
    } else {
        std::vector<uint8_t> storage;
        std::vector<int64_t> pending =
            ListedRecords(ListBytes(*list, device, g, deviceSectors, storage), kMftRecordNumber);
        info.runs = std::move(data.runs);
        SortByVcn(info.runs);
        GatherExtensionRuns(device, g, deviceSectors, std::move(pending), info.runs);
        info.sectorsPerCluster = ClusterSizeFor(data.size, TotalClusters(info.runs));
    }
    out = std::move(info);
    return true;
}

int64_t CeilDiv(int64_t a, int64_t b) {
    return a / b + (a % b != 0 ? 1 : 0);
}

}  // namespace

uint8_t ClusterSizeFor(int64_t size, int64_t clusters) {
    if (size <= 0 || clusters <= 0) return 0;
    const int64_t s = CeilDiv(CeilDiv(size, clusters), kSectorSize);
    for (uint32_t c = 1; c <= 128; c *= 2) {
        if (c >= s) return static_cast<uint8_t>(c);
    }
    return 0;
}

bool LocateMft(IStorageDevice& device, const CNTFSDBR& boot, const NtfsGeometry& geometry,
               int64_t deviceSectors, CMFTInfo& out) {
    if (!geometry.IsUsable()) return false;
    for (const int64_t cluster : {GetMftCluster(boot), GetMftMirrCluster(boot)}) {
        int64_t sector = 0;
        if (ClusterToSector(geometry, cluster, sector) &&
            TakeMftRecord(device, geometry, deviceSectors, sector, out))
            return true;
    }
    return false;
}

}  // namespace keldrin::ntfs
