#include "engine/ntfs/FileRecordSet.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "engine/ntfs/AttributeList.h"
#include "engine/ntfs/LeReader.h"
#include "engine/ntfs/NtfsRuns.h"

namespace keldrin::ntfs {
FileRecordSet::FileRecordSet(std::span<const uint8_t> baseRecord, int64_t baseSector, IStorageDevice* device,
                             const MftMap& mft)
    : base_(baseRecord), baseSector_(baseSector), device_(device), mft_(&mft) {
    if (base_.IsValid()) CollectExtensions();
    loaded_.resize(extensions_.size());
}

FileRecordSet::FileRecordSet(FileRecord baseRecord, int64_t baseSector, IStorageDevice* device,
                             const MftMap& mft)
    : base_(std::move(baseRecord)), baseSector_(baseSector), device_(device), mft_(&mft) {
    if (base_.IsValid()) CollectExtensions();
    loaded_.resize(extensions_.size());
}

std::span<const uint8_t> FileRecordSet::ReadAttributeList(const Attribute& list,
                                                          std::vector<uint8_t>& storage) const {
    if (list.IsResident()) return list.Value();
    const int64_t allocated = list.AllocatedSize();
    const int64_t initialized = list.InitializedSize();
    std::vector<NtfsRun> runs;
    if (!device_ || initialized <= 0 || allocated < initialized ||
        !DecodeMappingPairs(list.MappingPairs(), runs)) {
        return {};
    }
    const size_t wanted = static_cast<size_t>(std::min<int64_t>(allocated, kMaxAttributeListBytes));
    const size_t bufferBytes = (wanted + kSectorSize - 1) / kSectorSize * kSectorSize;
    storage.assign(bufferBytes, 0);

    const NtfsGeometry& g = mft_->Geometry();
    const int64_t clusterBytes = int64_t{g.sectorsPerCluster} * kSectorSize;
    size_t position = 0;
    for (const NtfsRun& run : runs) {
        if (position >= bufferBytes) break;
        const size_t room = bufferBytes - position;
        // Run lengths are at most 32 bits wide, so this product stays below 2^48.
        const int64_t runBytes = run.length * clusterBytes;
        const size_t piece = static_cast<size_t>(std::min<int64_t>(runBytes, static_cast<int64_t>(room)));
        int64_t sector = 0;
        if (!run.IsSparse() && ClusterToSector(g, run.lcn, sector)) {
            uint8_t* target = storage.data() + position;
            // A failed read leaves zeros, which end the entry walk.
            if (!device_->ReadSectors(target, sector, static_cast<int64_t>(piece / kSectorSize))) {
                std::memset(target, 0, piece);
            }
        }
        position += piece;
    }
    const size_t length = static_cast<size_t>(std::min<int64_t>(initialized, static_cast<int64_t>(wanted)));
    return std::span<const uint8_t>(storage).first(length);
}

void FileRecordSet::CollectExtensions() {
    const auto listAttribute = base_.FindAttribute(kAttrAttributeList, 0);
    if (!listAttribute) return;
    std::vector<uint8_t> storage;
    for (const int64_t number :
         ListedRecords(ReadAttributeList(*listAttribute, storage), base_.GetRecordNumber())) {
        const int64_t sector = mft_->RecordSector(number);
        if (sector < 0 || sector == baseSector_) continue;
        extensions_.push_back({number, sector});
    }
}

const FileRecord* FileRecordSet::Extension(size_t index) const {
    std::optional<FileRecord>& slot = loaded_[index];
    if (!slot) {
        slot.emplace();
        std::vector<uint8_t> buffer(mft_->Geometry().recordSize);
        if (device_ && mft_->ReadRecord(*device_, extensions_[index].recordNumber, buffer)) {
            FileRecord record{std::span<const uint8_t>(buffer)};
            const int64_t own = base_.GetRecordNumber();
            // A reused record no longer names this base record: its attributes are another file's.
            const bool belongs =
                record.IsExtension() && (own < 0 || RecordNumberOf(record.GetBaseReference()) == own);
            if (record.IsValid() && belongs) *slot = std::move(record);
        }
    }
    return slot->IsValid() ? &*slot : nullptr;
}

std::optional<Attribute> FileRecordSet::FindAttribute(uint32_t type, int index, int64_t* recordSector) const {
    if (recordSector) *recordSector = -1;
    if (index < 0 || !base_.IsValid()) return std::nullopt;
    const int inBase = base_.CountAttributes(type);
    if (index < inBase) {
        if (recordSector) *recordSector = baseSector_;
        return base_.FindAttribute(type, index);
    }
    int remaining = index - inBase;
    for (size_t i = 0; i < extensions_.size(); ++i) {
        const FileRecord* record = Extension(i);
        if (!record) continue;
        const int count = record->CountAttributes(type);
        if (remaining < count) {
            if (recordSector) *recordSector = extensions_[i].sector;
            return record->FindAttribute(type, remaining);
        }
        remaining -= count;
    }
    return std::nullopt;
}

}  // namespace keldrin::ntfs
