#include "engine/ntfs/MftReader.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>

#include "engine/devices/SerializedDevice.h"
#include "engine/model/SmallBlockPool.h"
#include "engine/model/TwoEndedWork.h"
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
                       BuildRecordList& records, int threads)
    : device_(device),
      reading_(&device),
      mft_(mft),
      deviceSectors_(deviceSectors),
      records_(records),
      perRecord_(std::max<int64_t>(1, mft.Geometry().SectorsPerRecord())),
      chunkSectors_(std::max<int64_t>(1, kMftChunkSectors / perRecord_) * perRecord_),
      threads_(threads > 0                                ? threads
               : std::thread::hardware_concurrency() >= 2 ? 2
                                                          : 1),
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

CMftReader::Plan CMftReader::MakePlan() const {
    Plan plan;
    int64_t filled = 0;
    int64_t chunkMft = 0;  // $MFT sector of the chunk's first sector, a whole record
    size_t chunkFirstPiece = 0;
    const auto close = [&]() {
        plan.chunks.push_back(
            {chunkMft / perRecord_, filled, chunkFirstPiece, plan.pieces.size() - chunkFirstPiece});
        chunkMft += filled;
        filled = 0;
        chunkFirstPiece = plan.pieces.size();
    };
    for (Piece piece : Pieces()) {
        // A gap in $MFT ends the chunk, and the next one starts on a whole record again.
        if (filled > 0 && piece.mftSector != chunkMft + filled) close();
        if (filled == 0) {
            const int64_t skip = (perRecord_ - piece.mftSector % perRecord_) % perRecord_;
            if (skip >= piece.count) continue;
            piece = {piece.mftSector + skip, piece.deviceSector + skip, piece.count - skip};
            chunkMft = piece.mftSector;
        }
        while (piece.count > 0) {
            const int64_t n = std::min(piece.count, chunkSectors_ - filled);
            plan.pieces.push_back({piece.mftSector, piece.deviceSector, n});
            filled += n;
            piece = {piece.mftSector + n, piece.deviceSector + n, piece.count - n};
            if (filled == chunkSectors_) close();
        }
    }
    if (filled > 0) close();
    return plan;
}

bool CMftReader::ReadMft(IDIRBuildCallback& callback, const char* phaseText) {
    const Plan plan = MakePlan();
    int64_t total = 0;
    for (const Piece& p : plan.pieces) total += p.count;
    listBudget_ = total > INT64_MAX / 2 - kListBudgetSlack ? INT64_MAX : 2 * total + kListBudgetSlack;
    const int64_t chunksTotal = (total + chunkSectors_ - 1) / chunkSectors_;
    callback.BeginPhase(phaseText, chunksTotal);
    if (threads_ >= 2 && static_cast<int64_t>(plan.chunks.size()) >= kParallelMftChunks)
        return ReadParallel(plan, callback, chunksTotal);
    return ReadSequential(plan, callback, chunksTotal);
}

void CMftReader::ReadChunk(const Plan& plan, const Chunk& chunk, std::vector<uint8_t>& buffer,
                           std::vector<int64_t>& sectors, BuildRecordList& list) {
    int64_t filled = 0;
    for (size_t i = chunk.firstPiece; i < chunk.firstPiece + chunk.pieces; ++i) {
        const Piece& piece = plan.pieces[i];
        uint8_t* target = buffer.data() + filled * kSectorSize;
        // A failed read must not leave the last chunk's records to be parsed again.
        if (!reading_->ReadSectors(target, piece.deviceSector, piece.count))
            std::memset(target, 0, static_cast<size_t>(piece.count) * kSectorSize);
        for (int64_t k = 0; k < piece.count; ++k)
            sectors[static_cast<size_t>(filled + k)] = piece.deviceSector + k;
        filled += piece.count;
    }
    ParseChunkInto(std::span(buffer).first(static_cast<size_t>(filled) * kSectorSize),
                   std::span(sectors).first(static_cast<size_t>(filled)), chunk.firstRecord, list);
}

bool CMftReader::ReadSequential(const Plan& plan, IDIRBuildCallback& callback, int64_t chunksTotal) {
    std::vector<uint8_t> buffer(static_cast<size_t>(chunkSectors_) * kSectorSize);
    std::vector<int64_t> sectors(static_cast<size_t>(chunkSectors_));
    int64_t chunks = 0;
    for (const Chunk& chunk : plan.chunks) {
        ReadChunk(plan, chunk, buffer, sectors, records_);
        callback.SetPosition(std::min(++chunks, chunksTotal));
        if (callback.IsCancelled() == kCancelled) return false;
    }
    return true;
}

bool CMftReader::ReadParallel(const Plan& plan, IDIRBuildCallback& callback, int64_t chunksTotal) {
    const size_t count = plan.chunks.size();
    // The calling thread takes chunks from the front into the list itself, the helper from the
    // back into a list of its own, until they meet; the helper's records are then appended chunk
    // by chunk, which gives the order one thread would have found.
    struct Found {
        uint32_t first;  // in the helper's list
        uint32_t count;
    };
    std::vector<Found> found(count);
    BuildRecordList back;
    TwoEndedWork work(count);
    std::atomic<size_t> done = 0;
    std::atomic<bool> stop = false;
    size_t split = count;  // the first chunk the helper read

    SerializedDevice serialized(device_);
    reading_ = &serialized;
    std::exception_ptr failure;
    std::thread helper;
    try {
        helper = std::thread([&] {
            try {
                SmallBlockPool::ThreadCache blocks(TreePool());
                std::vector<uint8_t> buffer(static_cast<size_t>(chunkSectors_) * kSectorSize);
                std::vector<int64_t> sectors(static_cast<size_t>(chunkSectors_));
                uint64_t c = 0;
                while (!stop.load(std::memory_order_relaxed) && work.Take(false, c)) {
                    const size_t before = back.Size();
                    ReadChunk(plan, plan.chunks[c], buffer, sectors, back);
                    found[c] = {static_cast<uint32_t>(before), static_cast<uint32_t>(back.Size() - before)};
                    split = c;
                    done.fetch_add(1, std::memory_order_relaxed);
                }
            } catch (...) {
                failure = std::current_exception();
                stop = true;
            }
        });
    } catch (const std::system_error&) {
        reading_ = &device_;
        return ReadSequential(plan, callback, chunksTotal);
    }
    bool cancelled = false;
    try {
        std::vector<uint8_t> buffer(static_cast<size_t>(chunkSectors_) * kSectorSize);
        std::vector<int64_t> sectors(static_cast<size_t>(chunkSectors_));
        uint64_t c = 0;
        while (!stop.load(std::memory_order_relaxed) && work.Take(true, c)) {
            ReadChunk(plan, plan.chunks[c], buffer, sectors, records_);
            // Only the calling thread reports and polls, as the callback expects.
            const auto finished = static_cast<int64_t>(done.fetch_add(1, std::memory_order_relaxed) + 1);
            callback.SetPosition(std::min(finished, chunksTotal));
            if (callback.IsCancelled() == kCancelled) {
                cancelled = true;
                stop = true;
            }
        }
    } catch (...) {
        stop = true;
        helper.join();
        reading_ = &device_;
        throw;
    }
    helper.join();
    reading_ = &device_;
    if (failure) std::rethrow_exception(failure);
    if (cancelled) return false;
    // Polled once more: the helper may have read every chunk while this thread waited for its turn.
    callback.SetPosition(std::min(static_cast<int64_t>(count), chunksTotal));
    if (callback.IsCancelled() == kCancelled) return false;
    for (size_t c = split; c < count; ++c)
        for (uint32_t k = 0; k < found[c].count && !records_.IsFull(); ++k)
            records_.Append(std::move(back[found[c].first + k]));
    return true;
}

void CMftReader::ParseChunk(std::span<uint8_t> buffer, std::span<const int64_t> sectors,
                            int64_t firstRecord) {
    ParseChunkInto(buffer, sectors, firstRecord, records_);
}

void CMftReader::ParseChunkInto(std::span<uint8_t> buffer, std::span<const int64_t> sectors,
                                int64_t firstRecord, BuildRecordList& list) {
    const int64_t count = std::min<int64_t>(static_cast<int64_t>(buffer.size() / kSectorSize),
                                            static_cast<int64_t>(sectors.size()));
    for (int64_t p = 0; p < count; p += perRecord_) {
        const int64_t length = std::min(perRecord_, count - p) * kSectorSize;
        ParseRecord(buffer.subspan(static_cast<size_t>(p) * kSectorSize, static_cast<size_t>(length)),
                    sectors[static_cast<size_t>(p)], firstRecord + p / perRecord_, list);
    }
}

void CMftReader::ParseRecord(std::span<uint8_t> bytes, int64_t sector, int64_t number,
                             BuildRecordList& into) {
    if (into.IsFull() || bytes.size() < 4 || std::memcmp(bytes.data(), "FILE", 4) != 0) return;
    FileRecord view(bytes, false);
    if (!view.IsValid() || view.IsExtension()) return;
    // Following the attribute list costs its own sectors and a record per extension.
    const auto list = view.FindAttribute(kAttrAttributeList, 0);
    const int64_t listCost =
        !list || list->IsResident()
            ? 0
            : (std::clamp<int64_t>(list->AllocatedSize(), 0, kMaxAttributeListBytes) + kSectorSize - 1) /
                  kSectorSize;
    const bool follow = list && listBudget_.load(std::memory_order_relaxed) >= listCost;
    const FileRecordSet set(std::move(view), sector, follow ? reading_ : nullptr, follow ? mft_ : noMft_);
    if (follow)
        listBudget_.fetch_sub(listCost + static_cast<int64_t>(set.Extensions().size()) * perRecord_,
                              std::memory_order_relaxed);
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
    into.Append(std::move(record));
}

}  // namespace keldrin::ntfs
