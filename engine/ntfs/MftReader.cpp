#include "engine/ntfs/MftReader.h"

#include <algorithm>
#include <cstring>

#include "engine/ntfs/FileRecordSet.h"
#include "engine/ntfs/NtfsPropertiesFactory.h"

namespace keldrin::ntfs {
namespace {

// Metadata files are known by name only in records of at least this size.
constexpr size_t kSystemFileMinBytes = 1024;
constexpr int64_t kListBudgetSlack = 65536;

// The parent of the base record's second name when 5 or more, else of its first when 5 or more.
int64_t ParentOfNames(const std::optional<Attribute>& first, const std::optional<Attribute>& second) {
    FileNameView name;
    if (ViewFileName(second, name) && name.parent >= kFirstUserParent) return name.parent;
    if (ViewFileName(first, name) && name.parent >= kFirstUserParent) return name.parent;
    return kUnknownRecord;
}

}  // namespace

CMftReader::CMftReader(IStorageDevice& device, const MftMap& mft, int64_t deviceSectors,
                       BuildRecordList& records)
    : device_(device),
      mft_(mft),
      deviceSectors_(deviceSectors),
      records_(records),
      perRecord_(std::max<int64_t>(1, mft.Geometry().SectorsPerRecord())),
      chunkSectors_(std::max<int64_t>(1, kMftChunkSectors / perRecord_) * perRecord_),
      noMft_(mft.Geometry(), {}) {}

std::vector<CMftReader::Piece> CMftReader::Pieces() const {
    const NtfsGeometry& g = mft_.Geometry();
    const int64_t perCluster = g.sectorsPerCluster;
    std::vector<Piece> pieces;
    int64_t nextMft = 0;
    int64_t budget = deviceSectors_;  // a $MFT cannot be larger than its device
    for (const NtfsRun& run : mft_.Runs()) {
        if (budget <= 0) break;
        int64_t device = 0;
        if (run.IsSparse() || run.length <= 0 || run.vcn < 0 || run.vcn > INT64_MAX / perCluster ||
            run.length > INT64_MAX / perCluster || !ClusterToSector(g, run.lcn, device) ||
            device >= deviceSectors_)
            continue;
        Piece piece{run.vcn * perCluster, device, std::min(run.length * perCluster, deviceSectors_ - device)};
        // Runs that claim a stretch of $MFT again are read once: records get one number each.
        if (piece.mftSector < nextMft) {
            const int64_t overlap = nextMft - piece.mftSector;
            if (overlap >= piece.count) continue;
            piece = {nextMft, piece.deviceSector + overlap, piece.count - overlap};
        }
        piece.count = std::min(piece.count, budget);
        budget -= piece.count;
        nextMft = piece.mftSector + piece.count;
        pieces.push_back(piece);
    }
    return pieces;
}

bool CMftReader::ReadMft(IDIRBuildCallback& callback, const char* phaseText) {
    const std::vector<Piece> pieces = Pieces();
    int64_t total = 0;
    for (const Piece& p : pieces) total += p.count;
    listBudget_ = total > INT64_MAX / 2 - kListBudgetSlack ? INT64_MAX : 2 * total + kListBudgetSlack;
    const int64_t chunksTotal = (total + chunkSectors_ - 1) / chunkSectors_;
    callback.BeginPhase(phaseText, chunksTotal);

    std::vector<uint8_t> buffer(static_cast<size_t>(chunkSectors_) * kSectorSize);
    std::vector<int64_t> sectors(static_cast<size_t>(chunkSectors_));
    int64_t filled = 0;
    int64_t bufferMft = 0;  // $MFT sector of the buffer's first sector, a whole record
    int64_t chunks = 0;
    const auto flush = [&]() {
        ParseChunk(std::span(buffer).first(static_cast<size_t>(filled) * kSectorSize),
                   std::span(sectors).first(static_cast<size_t>(filled)), bufferMft / perRecord_);
        bufferMft += filled;
        filled = 0;
        callback.SetPosition(std::min(++chunks, chunksTotal));
        return callback.IsCancelled() != kCancelled;
    };

    for (Piece piece : pieces) {
        // A gap in $MFT ends the chunk, and the next one starts on a whole record again.
        if (filled > 0 && piece.mftSector != bufferMft + filled && !flush()) return false;
        if (filled == 0) {
            const int64_t skip = (perRecord_ - piece.mftSector % perRecord_) % perRecord_;
            if (skip >= piece.count) continue;
            piece = {piece.mftSector + skip, piece.deviceSector + skip, piece.count - skip};
            bufferMft = piece.mftSector;
        }
        while (piece.count > 0) {
            const int64_t n = std::min(piece.count, chunkSectors_ - filled);
            uint8_t* target = buffer.data() + filled * kSectorSize;
            // A failed read must not leave the last chunk's records to be parsed again.
            if (!device_.ReadSectors(target, piece.deviceSector, n))
                std::memset(target, 0, static_cast<size_t>(n) * kSectorSize);
            for (int64_t i = 0; i < n; ++i) sectors[static_cast<size_t>(filled + i)] = piece.deviceSector + i;
            filled += n;
            piece = {piece.mftSector + n, piece.deviceSector + n, piece.count - n};
            if (filled == chunkSectors_ && !flush()) return false;
        }
    }
    if (filled > 0 && !flush()) return false;
    return true;
}

void CMftReader::ParseChunk(std::span<uint8_t> buffer, std::span<const int64_t> sectors,
                            int64_t firstRecord) {
    const int64_t count = std::min<int64_t>(static_cast<int64_t>(buffer.size() / kSectorSize),
                                            static_cast<int64_t>(sectors.size()));
    for (int64_t p = 0; p < count; p += perRecord_) {
        const int64_t length = std::min(perRecord_, count - p) * kSectorSize;
        ParseRecord(buffer.subspan(static_cast<size_t>(p) * kSectorSize, static_cast<size_t>(length)),
                    sectors[static_cast<size_t>(p)], firstRecord + p / perRecord_);
    }
}

void CMftReader::ParseRecord(std::span<uint8_t> bytes, int64_t sector, int64_t number) {
    if (records_.IsFull() || bytes.size() < 4 || std::memcmp(bytes.data(), "FILE", 4) != 0) return;
    FileRecord view(bytes, false);
    if (!view.IsValid() || view.IsExtension()) return;
    // Following the attribute list costs its own sectors and a record per extension.
    const auto list = view.FindAttribute(kAttrAttributeList, 0);
    const int64_t listCost =
        !list || list->IsResident()
            ? 0
            : (std::clamp<int64_t>(list->AllocatedSize(), 0, kMaxAttributeListBytes) + kSectorSize - 1) /
                  kSectorSize;
    const bool follow = list && listBudget_ >= listCost;
    const FileRecordSet set(std::move(view), sector, follow ? &device_ : nullptr, follow ? mft_ : noMft_);
    if (follow) listBudget_ -= listCost + static_cast<int64_t>(set.Extensions().size()) * perRecord_;
    const FileRecord& base = set.Base();
    RecordAttributes attributes;
    GatherAttributes(set, attributes);
    if (bytes.size() >= kSystemFileMinBytes && IsMetadataFile(attributes)) return;

    NtfsRecordFacts facts;
    std::unique_ptr<CNTFSFileProperties> properties = CreateNtfsProperties(sector, set, attributes, &facts);
    // A record without properties is never placed: keeping it would only cost memory.
    if (!properties) return;
    if (static_cast<int64_t>(properties->GetFileSize()) < 0 && !facts.resident) {
        const int64_t clusterBytes = int64_t{mft_.Geometry().sectorsPerCluster} * kSectorSize;
        const int64_t clusters = std::max<int64_t>(facts.dataClusters, 0);
        properties->SetFileSize(
            static_cast<uint64_t>(clusters > INT64_MAX / clusterBytes ? INT64_MAX : clusters * clusterBytes));
    }
    CNTFSBuildRecord record;
    record.folder = base.GetFlags() & kRecordFlagFolder;
    // The parent is taken from the base record's own names; those of the set may lie elsewhere.
    // Without extensions they are the names the properties came from, and facts already holds the
    // parent they give.
    record.parent = set.Extensions().empty() ? facts.parent
                                             : ParentOfNames(base.FindAttribute(kAttrFileName, 0),
                                                             base.FindAttribute(kAttrFileName, 1));
    if (record.parent == kUnknownRecord) record.parent = facts.parent;
    record.properties = std::move(properties);
    // Numbers come from $MFT offsets within the device, far below the field's 62 bits.
    record.recordNumber = number < kMaxBuildRecordNumber ? number : kUnknownRecord;
    records_.Append(std::move(record));
}

}  // namespace keldrin::ntfs
