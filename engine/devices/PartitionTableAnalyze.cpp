#include "engine/devices/PartitionTableAnalyze.h"

#include <algorithm>
#include <cstdio>
#include <limits>
#include <set>

#include "engine/devices/GptTable.h"
#include "engine/devices/GptTypes.h"
#include "engine/devices/MbrTable.h"
#include "engine/devices/VolumeProbe.h"

namespace keldrin {
namespace {

constexpr int kFirstLogicalNumber = 5;

struct Disk {
    IStorageDevice* device;
    const VolumeIdentifier& identify;
    int64_t sectors;
    std::vector<PartitionRecord>& records;
    int made = 0;
};

std::string MbrTypeText(uint8_t type) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", type);
    return text;
}

// Makes the record of one table entry; requireFileSystem drops it unless a file system is found.
void MakeRecord(Disk& disk, int number, int64_t start, int64_t count, std::string typeText,
                std::string systemName, bool requireFileSystem = false) {
    if (start < 0 || start >= disk.sectors) return;
    const int64_t tableCount = count;
    if (count <= 0 || count > disk.sectors - start) count = disk.sectors - start;

    const ProbedVolume fs = ProbeVolume(disk.identify, disk.device, start);
    if (requireFileSystem && !fs.IsRecognised()) return;
    PartitionRecord record;
    if (fs.IsRecognised()) {
        if (fs.totalSectors > 0 && fs.totalSectors < disk.sectors - start) count = fs.totalSectors;
        record.fileSystemType = fs.fileSystemType;
        record.label = fs.label;
    }
    if (count <= 0) return;
    record.number = number;
    record.startSector = start;
    record.sectorCount = count;
    record.tableSectorCount = tableCount;
    record.typeText = std::move(typeText);
    record.systemName = std::move(systemName);
    record.device = std::make_unique<CBasicPartitionDevice>(disk.device, start, count);
    disk.records.push_back(std::move(record));
    ++disk.made;
}

bool StartsAnExistingRecord(const Disk& disk, int64_t start) {
    return std::any_of(disk.records.end() - disk.made, disk.records.end(),
                       [start](const PartitionRecord& r) { return r.startSector == start; });
}

// A file system written on the whole disk, without a partition table.
void ReadWholeDiskVolume(Disk& disk) {
    const ProbedVolume fs = ProbeVolume(disk.identify, disk.device, 0);
    if (!fs.IsRecognised()) return;
    PartitionRecord record;
    record.sectorCount =
        fs.totalSectors == 0 || fs.totalSectors > disk.sectors ? disk.sectors : fs.totalSectors;
    record.fileSystemType = fs.fileSystemType;
    record.label = fs.label;
    record.device = std::make_unique<CBasicPartitionDevice>(disk.device, 0, record.sectorCount);
    disk.records.push_back(std::move(record));
    ++disk.made;
}

// Follows the chain of extended tables from base, the extended partition's first sector. Links are
// relative to base, logical partitions to the table that holds them. A position already visited is
// not read again, which ends a chain that links back on itself.
void ReadExtendedChain(Disk& disk, int64_t base, std::set<int64_t>& visited, int& nextLogical) {
    std::vector<int64_t> pending = {base};
    while (!pending.empty() && static_cast<int>(visited.size()) < kMaxExtendedTables) {
        const int64_t at = pending.back();
        pending.pop_back();
        if (at <= 0 || at >= disk.sectors || !visited.insert(at).second) continue;
        uint8_t sector[kSectorSize];
        MbrEntries entries;
        if (!disk.device->ReadSectors(sector, at, 1) || !ReadMbrEntries(sector, entries)) continue;
        std::vector<int64_t> links;
        for (const MbrEntry& e : entries) {
            if (e.empty) continue;
            // A logical partition met again means the chain looped back to an earlier table.
            if (StartsAnExistingRecord(disk, at + e.relativeStart)) break;
            if (e.type == kMbrTypeDynamic) continue;
            if (e.IsExtended()) {
                links.push_back(base + e.relativeStart);
            } else {
                const size_t before = disk.records.size();
                MakeRecord(disk, nextLogical, at + e.relativeStart, e.sectorCount, MbrTypeText(e.type), {});
                if (disk.records.size() != before) ++nextLogical;
            }
        }
        // Depth first, in table order.
        pending.insert(pending.end(), links.rbegin(), links.rend());
    }
}

PartitionTableKind ReadMbr(Disk& disk, const uint8_t* sector0) {
    ReadWholeDiskVolume(disk);
    MbrEntries entries;
    if (!ReadMbrEntries(sector0, entries) ||
        std::all_of(entries.begin(), entries.end(), [](const MbrEntry& e) { return e.empty; }))
        return PartitionTableKind::kNone;
    std::set<int64_t> visited;
    int nextLogical = kFirstLogicalNumber;
    for (int i = 0; i < 4; ++i) {
        const MbrEntry& e = entries[i];
        if (e.empty || e.type == kMbrTypeDynamic) continue;
        if (e.IsExtended())
            ReadExtendedChain(disk, e.relativeStart, visited, nextLogical);
        else
            MakeRecord(disk, i + 1, e.relativeStart, e.sectorCount, MbrTypeText(e.type), {});
    }
    return PartitionTableKind::kMbr;
}

void ReadGpt(Disk& disk) {
    constexpr uint64_t kMaxSector = static_cast<uint64_t>(std::numeric_limits<int64_t>::max());
    for (const GptEntry& e : ReadGptEntries(disk.device)) {
        if (e.firstSector > kMaxSector || e.lastSector < e.firstSector) continue;
        const uint64_t span = e.lastSector - e.firstSector;
        const int64_t count =
            span >= kMaxSector ? std::numeric_limits<int64_t>::max() : static_cast<int64_t>(span + 1);
        std::string guid = FormatGptGuid(e.type.data());
        const KnownGptType* known = FindKnownGptType(guid);
        MakeRecord(disk, e.index + 1, static_cast<int64_t>(e.firstSector), count, std::move(guid),
                   known ? known->system : "", known == nullptr);
    }
}

}  // namespace

const char* PartitionTableKindText(PartitionTableKind kind) {
    switch (kind) {
        case PartitionTableKind::kMbr:
            return "MBR";
        case PartitionTableKind::kGpt:
            return "GPT";
        case PartitionTableKind::kDynamic:
            return "dynamic disk";
        default:
            return "none";
    }
}

int CPartitionTableAnalyze::ReadBasicPartitions(IStorageDevice* disk, const VolumeIdentifier& identify,
                                                std::vector<PartitionRecord>& records,
                                                PartitionTableKind* kind) {
    PartitionTableKind found = PartitionTableKind::kNone;
    int made = 0;
    uint8_t sector0[kSectorSize];
    const int64_t sectors = disk ? disk->GetTotalSectors() : 0;
    if (sectors > 0 && disk->ReadSectors(sector0, 0, 1)) {
        Disk d{disk, identify, sectors, records};
        // Only a table that passes the MBR checks can mark a dynamic disk: boot code of a file system
        // on the whole disk may hold 0x42 at an entry's type byte.
        MbrEntries entries;
        const bool validMbr = ReadMbrEntries(sector0, entries);
        const bool dynamic = validMbr && std::any_of(entries.begin(), entries.end(), [](const MbrEntry& e) {
                                 return e.type == kMbrTypeDynamic;
                             });
        if (dynamic) {
            found = PartitionTableKind::kDynamic;
        } else if (HasBootSignature(sector0) && sector0[446 + 4] == kMbrTypeGptProtective) {
            found = PartitionTableKind::kGpt;
            ReadGpt(d);
        } else {
            found = ReadMbr(d, sector0);
        }
        made = d.made;
    }
    if (kind) *kind = found;
    return made;
}

}  // namespace keldrin
