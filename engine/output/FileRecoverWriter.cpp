#include "engine/output/FileRecoverWriter.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#include <memory>
#include <optional>

#include "engine/model/FileProperties.h"
#include "engine/model/NTFSFileProperties.h"
#include "engine/output/CompressionUnits.h"
#include "engine/output/EfsRaw.h"
#include "engine/output/FileStamp.h"
#include "engine/output/Lznt1.h"
#include "engine/output/RecordReload.h"
#include "engine/output/SafeName.h"
#include "engine/output/TargetNames.h"
#include "shared/Log.h"

namespace keldrin::output {
namespace {

// Reads of 1 MiB: a 64 KiB piece costs a system call per 64 KiB on both sides and halves the
// throughput of a disk read sequentially.
constexpr int64_t kPieceSectors = 2048;
constexpr size_t kPieceBytes = kPieceSectors * kSectorSize;
// Kernel copies in steps of 8 MiB, so progress and cancel stay responsive.
constexpr uint64_t kKernelCopyBytes = 8 << 20;

// By type, not by the kind code: only real NTFS properties know their record.
const CNTFSFileProperties* AsNtfs(const IFileProperties* properties) {
    return dynamic_cast<const CNTFSFileProperties*>(properties);
}

}  // namespace

CFileRecoverWriter::CFileRecoverWriter(IFileRecoverCallback* callback, IStorageDevice* device)
    : callback_(callback), device_(device), buffer_(kPieceBytes) {}

int CFileRecoverWriter::Report(uint64_t bytes) {
    if (callback_ && callback_->AddBytes(bytes) == kCancelled) return kOutcomeCancelled;
    return kOutcomeSuccess;
}

bool CFileRecoverWriter::Write(COutputFile& out, const void* data, size_t size) {
    if (out.Write(data, size)) return true;
    NoteWriteFailure(out);
    return false;
}

void CFileRecoverWriter::NoteWriteFailure(const COutputFile& out) {
    if ((out.LastError() == ENOSPC || out.LastError() == EDQUOT) && outOfSpaceFile_.empty()) {
        outOfSpaceFile_ = currentPath_;
        LogError("The destination is full: stopped while writing %s", currentPath_.c_str());
    }
}

int64_t CFileRecoverWriter::ClusterSector(uint64_t cluster) const {
    const uint64_t spc = volume_.sectorsPerCluster;
    const uint64_t limit = static_cast<uint64_t>(std::numeric_limits<int64_t>::max());
    if (spc == 0 ||
        cluster > (limit - static_cast<uint64_t>(std::max<int64_t>(volume_.firstSector, 0))) / spc)
        return -1;
    return volume_.firstSector + static_cast<int64_t>(cluster * spc);
}

void CFileRecoverWriter::ReadPiece(int64_t sector, int64_t count, uint8_t* data) {
    const size_t bytes = static_cast<size_t>(count) * kSectorSize;
    if (sector < 0 || !device_->ReadSectors(data, sector, count)) std::memset(data, 0, bytes);
}

int CFileRecoverWriter::CopyPlain(uint64_t start, uint64_t clusters, bool zeros, uint64_t& remaining,
                                  COutputFile& out) {
    const int64_t first = zeros ? 0 : ClusterSector(start);
    const uint64_t spc = volume_.sectorsPerCluster;
    // Sectors of the piece, bounded by what is left to write: a damaged length costs nothing.
    const uint64_t wantedSectors = (remaining + kSectorSize - 1) / kSectorSize;
    const uint64_t sectors = std::min(clusters, wantedSectors / spc + 1) * spc;
    const uint64_t total = std::min<uint64_t>(sectors * kSectorSize, remaining);
    uint64_t done = 0;
    auto advance = [&](uint64_t bytes) {
        done += bytes;
        remaining -= bytes;
        return Report(bytes);
    };
    int descriptor = -1;
    int64_t offset = 0;
    if (!zeros && first >= 0 &&
        device_->LocateInFile(first, static_cast<int64_t>(sectors), descriptor, offset)) {
        // An image file: the kernel copies the bytes itself, as cp does.
        while (done < total) {
            const size_t piece = static_cast<size_t>(std::min<uint64_t>(kKernelCopyBytes, total - done));
            const size_t copied = out.CopyFrom(descriptor, offset + static_cast<int64_t>(done), piece);
            if (copied > 0 && advance(copied) == kOutcomeCancelled) return kOutcomeCancelled;
            if (copied == piece) continue;
            if (out.LastError() == ENOSPC || out.LastError() == EDQUOT) {
                NoteWriteFailure(out);
                return kOutcomeFailure;
            }
            break;  // the rest goes through reads, which give zeros where the source fails
        }
    }
    while (done < total) {
        const uint64_t sector = done / kSectorSize;
        const size_t skip = static_cast<size_t>(done % kSectorSize);
        const int64_t count = static_cast<int64_t>(std::min<uint64_t>(kPieceSectors, sectors - sector));
        const size_t bytes =
            static_cast<size_t>(std::min<uint64_t>(count * kSectorSize - skip, total - done));
        if (zeros || first < 0) {
            std::memset(buffer_.data(), 0, skip + bytes);
        } else {
            ReadPiece(first + static_cast<int64_t>(sector), count, buffer_.data());
        }
        if (!Write(out, buffer_.data() + skip, bytes)) return kOutcomeFailure;
        if (advance(bytes) == kOutcomeCancelled) return kOutcomeCancelled;
    }
    return kOutcomeSuccess;
}

int CFileRecoverWriter::CopyRuns(IDataRunList& list, uint64_t toWrite, bool holes, COutputFile& out) {
    uint64_t remaining = toWrite;
    for (const Extent* e = list.First(); e && remaining > 0; e = list.Next()) {
        const bool zeros = e->IsSparse() || (holes && e->start == 0);
        const int outcome = CopyPlain(e->start, e->length, zeros, remaining, out);
        if (outcome != kOutcomeSuccess) return outcome;
    }
    return kOutcomeSuccess;
}

int CFileRecoverWriter::CopyCompressed(IDataRunList& list, uint64_t size, COutputFile& out) {
    const uint64_t spc = volume_.sectorsPerCluster;
    const size_t unitBytes = static_cast<size_t>(kCompressionUnitClusters * spc * kSectorSize);
    unit_.resize(unitBytes);
    decoded_.resize(unitBytes);
    uint64_t remaining = size;
    for (const CompressionUnit& unit : SplitIntoUnits(list.GetExtents())) {
        if (remaining == 0) break;
        if (unit.kind == UnitKind::kCompressed) {
            size_t gathered = 0;
            for (const Extent& piece : unit.pieces) {
                if (piece.IsSparse()) continue;
                const int64_t sector = ClusterSector(piece.start);
                const int64_t count = static_cast<int64_t>(piece.length * spc);
                ReadPiece(sector, count, unit_.data() + gathered);
                gathered += static_cast<size_t>(count) * kSectorSize;
            }
            const std::span<const uint8_t> data(unit_.data(), gathered);
            const uint8_t* source = decoded_.data();
            if (gathered >= 2 && data[0] == 0 && data[1] == 0) {
                // Not compressed after all: the unit's clusters hold the data as it is.
                std::fill(unit_.begin() + static_cast<ptrdiff_t>(gathered), unit_.end(), uint8_t{0});
                source = unit_.data();
            } else {
                DecompressLznt1Unit(data, decoded_);
            }
            // The whole unit, zeros where the chunks end early: later units keep their offsets.
            const size_t bytes = static_cast<size_t>(std::min<uint64_t>(unitBytes, remaining));
            if (!Write(out, source, bytes)) return kOutcomeFailure;
            remaining -= bytes;
            if (Report(bytes) == kOutcomeCancelled) return kOutcomeCancelled;
            continue;
        }
        for (const Extent& piece : unit.pieces) {
            const bool zeros = unit.kind == UnitKind::kZeros || piece.IsSparse();
            const int outcome = CopyPlain(piece.start, piece.length, zeros, remaining, out);
            if (outcome != kOutcomeSuccess) return outcome;
        }
    }
    return kOutcomeSuccess;
}

int CFileRecoverWriter::RecoverFile(CFileNode* node, const std::string& path) {
    if (!node) return kOutcomeFailure;
    volume_ = node->GetVolumeLocation();
    if (volume_.sectorsPerCluster == 0) {
        LogError("Failed to get file system info.");
        return kOutcomeFailure;
    }
    IFileProperties* properties = node->GetProperties();
    if (!properties) return kOutcomeFailure;
    if (IsFolder(properties)) {
        LogError("It is a directory.Not valid!");
        return kOutcomeFailure;
    }
    if (callback_ && callback_->SetCurrentFile(properties->GetName()) == kCancelled) return kOutcomeCancelled;
    const uint16_t attributes = properties->GetAttributes();
    // NTFS compresses only volumes with clusters of at most 4 KiB.
    if ((attributes & kAttrCompressed) && volume_.sectorsPerCluster > 8) return kOutcomeFailure;
    const bool encrypted = (attributes & kAttrEncrypted) != 0;
    currentPath_ = path;
    lastWritten_ = path;

    COutputFile out;
    if (!out.Open(path, OpenMode::kCreate)) {
        ::unlink(path.c_str());
        if (!out.Open(path, OpenMode::kCreate)) return kOutcomeFailure;
    }
    const uint64_t size = properties->GetFileSize();
    uint64_t toWrite = size;
    int outcome = kOutcomeSuccess;
    bool efsWritten = false;
    std::unique_ptr<IDataRunList> list = properties->GetDataRunList();
    const CNTFSFileProperties* ntfs = AsNtfs(properties);
    if (properties->GetPropertiesKind() == kPropertiesExt2 && (attributes & kAttrSparse)) {
        outcome =
            list ? CopyRuns(*list, toWrite, true, out) : (size == 0 ? kOutcomeSuccess : kOutcomeFailure);
    } else {
        ReloadedRecords records;
        const bool reloaded =
            ntfs && (encrypted || (list && list->IsResident())) && ReloadRecordSet(*device_, *ntfs, records);
        if (encrypted && reloaded) {
            std::vector<uint8_t> efs;
            if (ReadEfsStream(records, *device_, volume_, efs) > 0) {
                const auto header = EfsStreamHeader(static_cast<uint32_t>(efs.size()));
                if (!Write(out, header.data(), header.size()) || !Write(out, efs.data(), efs.size()))
                    outcome = kOutcomeFailure;
                toWrite = (size + kSectorSize - 1) / kSectorSize * kSectorSize;
                efsWritten = true;
            }
        }
        if (outcome != kOutcomeSuccess) {
        } else if (!list) {
            outcome = size == 0 ? kOutcomeSuccess : kOutcomeFailure;
        } else if (list->IsResident()) {
            std::vector<uint8_t> value(kMaxResidentBytes);
            const int64_t length = reloaded ? ReadResidentData(records, value.data(), value.size()) : -1;
            if (length < 0) {
                outcome = kOutcomeFailure;
            } else if (!Write(out, value.data(), static_cast<size_t>(length))) {
                outcome = kOutcomeFailure;
            } else {
                outcome = Report(static_cast<uint64_t>(length));
            }
        } else if (attributes & kAttrCompressed) {
            outcome = CopyCompressed(*list, size, out);
        } else {
            outcome = CopyRuns(*list, toWrite, false, out);
        }
    }
    out.Close();
    if (outcome != kOutcomeSuccess) return outcome;

    std::string written = path;
    if (efsWritten) {
        std::string streamPath;
        const EfsResult converted = ConvertToEfsRaw(path, size, callback_, streamPath);
        if (converted == EfsResult::kCancelled) return kOutcomeCancelled;
        if (converted == EfsResult::kFailed) return kOutcomeFailure;
        written = streamPath;
    }
    lastWritten_ = written;
    ApplyAttributesAndTimes(written, *properties);
    if (callback_) {
        if (toWrite > size && callback_->SubtractBytes(static_cast<uint32_t>(toWrite - size)) == kCancelled)
            return kOutcomeCancelled;
        if (callback_->AddFiles(1) == kCancelled) return kOutcomeCancelled;
    }
    return kOutcomeSuccess;
}

int CFileRecoverWriter::RecoverFolder(const std::string& destinationRoot, CFileNode* folderNode,
                                      const std::string* folderPath) {
    struct Frame {
        CFileNode* next;
        std::optional<std::string> path;
    };
    // An explicit stack: a hostile volume can nest folders deeper than any thread's stack.
    std::vector<Frame> stack;
    stack.push_back({folderNode ? folderNode->GetFirstChild() : nullptr,
                     folderPath ? std::optional<std::string>(*folderPath) : std::nullopt});
    while (!stack.empty()) {
        Frame& frame = stack.back();
        CFileNode* child = frame.next;
        if (!child) {
            stack.pop_back();
            continue;
        }
        frame.next = child->GetNextSibling();
        IFileProperties* properties = child->GetProperties();
        if (!properties || properties->GetCheckState() == kUnchecked) continue;
        const std::string name = SafeFileName(properties->GetName());
        if (IsFolder(properties)) {
            std::optional<std::string> path;
            if (frame.path) {
                std::string candidate = *frame.path + "/" + name;
                if (CreateUniqueDirectory(candidate)) path = candidate;
            }
            stack.push_back({child->GetFirstChild(), std::move(path)});
            continue;
        }
        std::string target;
        const std::string& folder = frame.path ? *frame.path : destinationRoot;
        if (!CreateTargetFile(destinationRoot, folder, name, target)) continue;
        const int outcome = RecoverFile(child, target);
        if (outcome == kOutcomeCancelled) return kOutcomeCancelled;
        if (!outOfSpaceFile_.empty()) return kOutcomeFailure;
    }
    return kOutcomeSuccess;
}

}  // namespace keldrin::output
