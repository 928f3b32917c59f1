#include "engine/fat/FATTreeBuilder.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "engine/fat/FATDirEntry.h"
#include "engine/model/FileTree.h"
#include "shared/Log.h"
#include "shared/TypeFilter.h"

namespace keldrin::fat {
namespace {

constexpr uint32_t kChainEnd = 0x0FFFFFF8;
constexpr uint32_t kBatchSectors = 128;
constexpr size_t kCarryRoom = 1023;
constexpr uint32_t kMaxClusters = 0x0FFFFFF6;

CFATFileProperties* FatProperties(const CFileNode* node) {
    return node ? static_cast<CFATFileProperties*>(node->GetProperties()) : nullptr;
}

// Frees a node that hangs nowhere, with its properties.
void FreeLoose(CFileNode* node) {
    DeleteTree(node);
}

const char* RootTypeText(int type) {
    switch (type) {
        case kFsFat12:
            return "FAT12";
        case kFsFat16:
            return "FAT16";
        case kFsFat32:
            return "FAT32";
        default:
            return "UNKNOWN";
    }
}

bool IsAncestorOrSelf(const CFileNode* candidate, const CFileNode* node) {
    for (const CFileNode* n = node; n; n = n->GetParent())
        if (n == candidate) return true;
    return false;
}

}  // namespace

int CompareFolderClaims(const IFileProperties& existing, const IFileProperties& candidate) {
    const uint8_t a = existing.GetState();
    const uint8_t b = candidate.GetState();
    if (a & kStateTemp) return (b & kStateTemp) ? 0 : -1;
    if (a & kStateDeleted) {
        if (b & kStateTemp) return 1;
        if (b & kStateDeleted)
            return existing.GetModificationTime() < candidate.GetModificationTime() ? -1 : 1;
        return -1;
    }
    if ((b & kStateDeleted) || (b & kStateTemp)) return 1;
    ReleaseTrace(
        "Some thing must be wrong! \t\t\t\t\t\t\tWe found two undeleted directory got the same first cluster "
        "number!");
    return 0;
}

void RemoveEmptyDeletedFolders(CFileNode* root) {
    if (!root) return;
    std::deque<CFileNode*> queue{root};
    while (!queue.empty()) {
        CFileNode* folder = queue.front();
        queue.pop_front();
        for (CFileNode* child = folder->GetFirstChild(); child;) {
            CFileNode* next = child->GetNextSibling();
            const IFileProperties* p = child->GetProperties();
            if (IsFolder(p)) {
                if ((p->GetState() & kStateDeleted) && !child->GetFirstChild()) {
                    child->Detach();
                    FreeLoose(child);
                } else {
                    queue.push_back(child);
                }
            }
            child = next;
        }
    }
}

CFATTreeBuilder::CFATTreeBuilder(IDIRBuildCallback* callback, IStorageDevice* device, const FatLayout& layout,
                                 const IFATTable* fat, int language)
    : callback_(callback), device_(device), layout_(layout), fat_(fat), language_(language) {
    if (layout_.sectorsPerCluster == 0) layout_.sectorsPerCluster = 1;
    const int64_t end = layout_.totalSectors + layout_.partitionStart;
    if (end > layout_.dataStart)
        clusterCount_ = static_cast<uint64_t>(end - layout_.dataStart) / layout_.sectorsPerCluster;
    clusterCount_ = std::min<uint64_t>(clusterCount_, kMaxClusters);
    visited_.assign(clusterCount_ + 3, false);
    clusterUse_.assign(clusterCount_ + 3, false);
    buffer_.assign(size_t{kBatchSectors} * kSectorSize + kCarryRoom + 1, 0);
}

CFileSystemNode* CFATTreeBuilder::CreateRootNode(int index) {
    char name[50];
    std::snprintf(name, sizeof name, "%d %s", index + 1, RootTypeText(layout_.type));
    TreeOwner<CFileSystemNode> root(CreateFileSystemNode());
    if (!root) return nullptr;
    auto properties = std::make_unique<CFATFileProperties>(name, 0, kAttrFolder);
    properties->SetFirstCluster(0);
    properties->SetParentCluster(kNoCluster);
    root->SetProperties(properties.release());
    root->SetVolumeLocation(layout_.dataStart, layout_.sectorsPerCluster);
    root->SetFileSystemType(layout_.type);
    root_ = root.get();
    return root.release();
}

CFileSystemNode* CFATTreeBuilder::WalkFromRoot(bool includeLive) {
    TreeOwner<CFileSystemNode> root(CreateRootNode(0));
    if (!root) return nullptr;
    IDIRBuildCallback& callback = Callback();
    callback.SetPosition(1);
    FolderQueue queue;
    if (!ParseRootDirectory(queue, includeLive)) {
        if (abortState_ == kAbortCancelled) return nullptr;
        return root.release();
    }
    uint64_t done = 1;
    int64_t reported = 1;
    while (!queue.empty()) {
        ++done;
        const int64_t percent = static_cast<int64_t>(done * 100 / (done + queue.size()));
        if (percent > reported) {
            reported = percent;
            if (callback.SetPosition(percent) == kCancelled) {
                abortState_ = kAbortCancelled;
                break;
            }
        }
        CFileNode* node = queue.front();
        queue.pop_front();
        if (node->GetFirstChild()) continue;  // it took over another folder's children
        const CFATFileProperties* p = FatProperties(node);
        if (!ParseDirectoryChain(node, p ? p->GetFirstCluster() : 0, queue, false, includeLive) &&
            abortState_ == kAbortCancelled)
            break;
    }
    if (abortState_ == kAbortCancelled) return nullptr;
    return root.release();
}

bool CFATTreeBuilder::ParseRootDirectory(FolderQueue& queue, bool includeLive) {
    if (!root_ || !layout_.rootKnown) return false;
    if (layout_.type == kFsFat32)
        return ParseDirectoryChain(root_, layout_.rootCluster, queue, true, includeLive);
    if (layout_.rootSectors == 0 || !device_) return false;
    std::vector<uint8_t> area(size_t{layout_.rootSectors} * kSectorSize);
    if (!device_->ReadSectors(area.data(), layout_.rootStart, layout_.rootSectors)) return false;
    return ParseDirectoryEntries(area.data(), area.size(), root_, queue, false, includeLive) >= 0;
}

bool CFATTreeBuilder::MarkVisited(uint32_t first, uint32_t count) {
    if (first < 2 || uint64_t{first} - 2 >= visited_.size()) return false;
    if (visited_[first - 2]) return false;
    for (uint64_t c = first; c < uint64_t{first} + count && c - 2 < visited_.size(); ++c)
        visited_[c - 2] = true;
    return true;
}

bool CFATTreeBuilder::ParseDirectoryChain(CFileNode* node, uint32_t firstCluster, FolderQueue& queue,
                                          bool isRoot, bool includeLive) {
    if (!node || !device_) return false;
    const uint32_t spc = layout_.sectorsPerCluster;
    const uint32_t maxBatch = std::max<uint32_t>(1, kBatchSectors / spc);
    uint32_t cur = firstCluster;
    size_t carry = 0;
    bool firstBatch = true;
    // Every batch starts at a cluster not read before, so the walk ends after at most as many
    // batches as the volume has clusters; the bound also covers chains that leave the volume.
    uint64_t batches = 0;
    while (cur != 0 && cur < kChainEnd && batches++ <= clusterCount_) {
        if (cur < 2 || uint64_t{cur} - 2 >= clusterCount_) break;  // the chain leaves the volume
        uint32_t count = 0;
        uint32_t next = cur;
        for (;;) {
            ++count;
            const uint32_t e = fat_ ? fat_->GetEntry(next) : 0;
            // A batch never runs into clusters read before, so no cluster is parsed twice.
            const bool contiguous = e == next + 1 && uint64_t{e} - 2 < clusterCount_ && !visited_[e - 2];
            next = e;
            if (!contiguous || count >= maxBatch) break;
        }
        if (Callback().IsCancelled() == kCancelled) {
            abortState_ = kAbortCancelled;
            return false;
        }
        const uint64_t sectors = uint64_t{count} * spc;
        uint8_t* target = buffer_.data() + carry;
        const int64_t first = layout_.dataStart + static_cast<int64_t>(cur - 2) * spc;
        // An unreadable batch is parsed as empty rather than from the previous batch's bytes.
        if (!device_->ReadSectors(target, first, static_cast<int64_t>(sectors)))
            std::memset(target, 0, sectors * kSectorSize);
        // A chain that runs into clusters read before: refused when it is the folder's start,
        // otherwise it has looped and the folder ends with what was read.
        if (!MarkVisited(cur, count)) return !firstBatch;
        if (firstBatch) {
            const CFATDirEntry dot(target);
            const CFATDirEntry dotDot(target + kDirEntrySize);
            if (dot.IsDot() == isRoot) return false;
            if (dotDot.IsDotDot() == isRoot) return false;
            firstBatch = false;
        }
        const size_t length = carry + sectors * kSectorSize;
        const int64_t consumed =
            ParseDirectoryEntries(buffer_.data(), length, node, queue, false, includeLive);
        if (consumed < 0) return true;
        const size_t left = length - static_cast<size_t>(consumed);
        if (left == 0 || left > kCarryRoom) {
            carry = 0;
        } else {
            ReleaseTrace("Found unproessed buffer, lengh:%d bytes", static_cast<int>(left));
            std::memmove(buffer_.data(), buffer_.data() + consumed, left);
            carry = left;
        }
        cur = next;
    }
    return true;
}

void CFATTreeBuilder::HandleLabel(const CFATDirEntry& entry, const CFileNode* parent) {
    // Only the live label of the root names the volume; label-like entries elsewhere are stray.
    if (labelSeen_ || parent != root_ || entry.IsDeleted() || !root_) return;
    labelSeen_ = true;
    root_->SetDisplayName(entry.FormatShortName(true));
}

int64_t CFATTreeBuilder::ParseDirectoryEntries(const uint8_t* buffer, size_t length, CFileNode* parent,
                                               FolderQueue& queue, bool stopAtInvalid, bool includeLive) {
    if (!buffer || !parent) return static_cast<int64_t>(length);
    const CFATFileProperties* parentProperties = FatProperties(parent);
    const bool parentDeleted = parentProperties && (parentProperties->GetState() & kStateDeleted);
    const uint32_t parentCluster = parentProperties ? parentProperties->GetFirstCluster() : 0;
    std::optional<size_t> pending;
    int dots = 0;
    const size_t entries = length / kDirEntrySize;
    for (size_t i = 0; i < entries; ++i) {
        const uint8_t* bytes = buffer + i * kDirEntrySize;
        const CFATDirEntry entry(bytes);
        if (!entry.IsValid(false)) {
            pending.reset();
            if (stopAtInvalid) return static_cast<int64_t>(length);
            continue;
        }
        if (entry.IsLongNamePiece()) {
            if (!pending) pending = i;
            continue;
        }
        if (entry.IsVolumeLabel()) {
            if (!stopAtInvalid) HandleLabel(entry, parent);
            pending.reset();
            continue;
        }
        if (entry.FirstByte() == '.') {
            pending.reset();
            if (dots > 1) return -1;
            ++dots;
            continue;
        }
        const size_t runStart = pending.value_or(i);
        pending.reset();
        const bool isFolder = entry.IsDirectory();
        if (!includeLive && !parentDeleted && !isFolder && !entry.IsDeleted()) continue;
        const uint32_t cluster = entry.GetFirstCluster();
        if (cluster > 2 &&
            uint64_t{cluster - 2} * layout_.sectorsPerCluster > uint64_t(layout_.totalSectors)) {
            if (stopAtInvalid) return static_cast<int64_t>(length);
            continue;
        }
        // An empty file has no cluster, which is also the root's: it is still listed.
        if (cluster == parentCluster && (cluster != 0 || isFolder)) continue;
        std::unique_ptr<CFATFileProperties> properties =
            CreatePropertiesFromEntries(buffer + runStart * kDirEntrySize, i - runStart + 1);
        if (!properties) continue;
        if (parentDeleted) properties->SetState(kStateDeleted);
        properties->SetParentCluster(parentCluster);
        properties->SetFirstCluster(cluster);
        // Held until it hangs in the tree, so that nothing leaks when memory runs out.
        TreeOwner<CFileNode> node(CreateFileNode());
        if (!node) continue;
        CFATFileProperties* raw = properties.release();
        node->SetProperties(raw);
        if (isFolder) {
            DebugTrace("Find directory: %s at cluster :%x, parent :%x", raw->GetName(), cluster,
                       parentCluster);
            if (!SettleFolderClaim(node, parent, queue, stopAtInvalid)) continue;
        } else {
            DebugTrace("Found a File %s!", raw->GetName());
            std::optional<FatRunBuilder> runs =
                BuildDataRunList(cluster, raw->GetFileSize(), (raw->GetState() & kStateDeleted) != 0);
            if (!runs) {
                DebugTrace("Failed build Datarun list!");
                continue;
            }
            raw->SetStoredRuns(StoredRunList::FromExtents(runs->Runs()));
        }
        parent->AddChild(node.release());
    }
    if (pending) {
        ReleaseTrace("Unporcessed long file name directory entry at %d",
                     static_cast<int>(*pending * kDirEntrySize));
        return static_cast<int64_t>(*pending * kDirEntrySize);
    }
    return static_cast<int64_t>(length);
}

bool CFATTreeBuilder::SettleFolderClaim(TreeOwner<CFileNode>& held, CFileNode* parent, FolderQueue& queue,
                                        bool stopAtInvalid) {
    CFileNode* node = held.get();
    CFATFileProperties* fresh = FatProperties(node);
    const uint32_t cluster = fresh->GetFirstCluster();
    auto it = folders_.find(cluster);
    if (it == folders_.end()) {
        folders_.emplace(cluster, node);
        queue.push_back(node);
        return true;
    }
    CFileNode* existing = it->second;
    CFATFileProperties* old = FatProperties(existing);
    // A folder that holds the new entry cannot give its children to it: that would make a cycle.
    const bool keep = !old || CompareFolderClaims(*old, *fresh) >= 0 || IsAncestorOrSelf(existing, parent);
    if (keep) {
        DebugTrace("Discard a directory named %s, cur:%x, parent:%x", fresh->GetName(), cluster,
                   fresh->GetParentCluster());
        return false;
    }
    DebugTrace("Discard a directory named %s, cur: %x, parent:%x", old->GetName(), cluster,
               old->GetParentCluster());
    if (stopAtInvalid) {
        fresh->SetParentCluster(old->GetParentCluster());
        node->SetProperties(nullptr);
        existing->SetProperties(fresh);
        std::unique_ptr<IFileProperties> replaced(old);
        return false;
    }
    existing->Detach();
    while (CFileNode* child = existing->GetFirstChild()) node->AddChild(child);
    it->second = node;
    queue.erase(std::remove(queue.begin(), queue.end(), existing), queue.end());
    FreeLoose(existing);
    queue.push_back(node);
    return true;
}

std::unique_ptr<CFATFileProperties> CFATTreeBuilder::CreatePropertiesFromEntries(const uint8_t* entries,
                                                                                 size_t count) const {
    if (!entries || count == 0) return nullptr;
    std::string name;
    if (!AssembleEntryName(entries, count, name)) return nullptr;
    const CFATDirEntry entry(entries + (count - 1) * kDirEntrySize);
    if (!PassesTypeFilter(name.c_str(), entry.IsDirectory())) return nullptr;
    auto properties = std::make_unique<CFATFileProperties>(name, entry.GetSize(), entry.Attributes());
    properties->SetTimes(DosTimeToFileTime(entry.CreationDate(), entry.CreationTime()),
                         DosTimeToFileTime(entry.WriteDate(), entry.WriteTime()),
                         DosTimeToFileTime(entry.AccessDate(), 0));
    properties->SetState(entry.IsDeleted() ? kStateDeleted : 0);
    return properties;
}

bool CFATTreeBuilder::PassesVolumeEnd(uint64_t runStart, uint64_t runLength) const {
    return (runStart + runLength) * layout_.sectorsPerCluster > static_cast<uint64_t>(layout_.totalSectors);
}

void CFATTreeBuilder::MarkUsed(const FatRunBuilder& runs) {
    for (const Extent& run : runs.Runs())
        for (uint64_t i = run.start; i < run.start + run.length && i < clusterUse_.size(); ++i)
            clusterUse_[i] = true;
}

std::optional<FatRunBuilder> CFATTreeBuilder::BuildDataRunList(uint32_t firstCluster, uint64_t size,
                                                               bool deleted) {
    FatRunBuilder runs;
    // A file without a cluster has no data; one with a size but no cluster names none we can trust.
    if (firstCluster < 2) {
        if (size == 0) return runs;
        ReleaseTrace("File overflows partition!");
        return std::nullopt;
    }
    if (deleted) {
        GuessContiguousRuns(runs, firstCluster, size);
        if (runs.Empty() && size != 0) return std::nullopt;
        MarkUsed(runs);
        return runs;
    }
    const uint64_t clusterBytes = ClusterBytes();
    Extent run{uint64_t{firstCluster} - 2, 1};
    uint32_t cur = firstCluster;
    uint64_t bytesDone = 0;
    // A chain is never longer than the volume has clusters; one that is has looped.
    for (uint64_t steps = 0;; ++steps) {
        const uint32_t next = fat_ ? fat_->GetEntry(cur) : 0;
        if (next < 2 || next >= kChainEnd || steps > clusterCount_) {
            const uint64_t rest = size > bytesDone ? size - bytesDone : 0;
            run.length = (rest + clusterBytes - 1) / clusterBytes;
            if (PassesVolumeEnd(run.start, run.length)) {
                ReleaseTrace("File overflows partition!");
                return std::nullopt;
            }
            runs.AddRun(run);
            break;
        }
        if (next == cur + 1) {
            ++run.length;
        } else {
            if (PassesVolumeEnd(run.start, run.length)) {
                ReleaseTrace("File overflows partition!");
                return std::nullopt;
            }
            runs.AddRun(run);
            bytesDone += run.length * clusterBytes;
            if (bytesDone >= size) break;
            run = Extent{uint64_t{next} - 2, 1};
        }
        cur = next;
    }
    MarkUsed(runs);
    return runs;
}

void CFATTreeBuilder::CollectEndMarks() {
    endMarksCollected_ = true;
    if (!fat_) return;
    const uint64_t limit = std::min<uint64_t>(fat_->EntryLimit(), clusterCount_ + 2);
    for (uint64_t c = 2; c < limit; ++c)
        if (fat_->GetEntry(static_cast<uint32_t>(c)) == kEndOfChainAllOnes)
            endMarks_.push_back(static_cast<uint32_t>(c));
    endMarkBlock_.resize(endMarks_.size());
    for (size_t i = endMarks_.size(); i-- > 0;) {
        const bool continues = i + 1 < endMarks_.size() && endMarks_[i + 1] == endMarks_[i] + 1;
        endMarkBlock_[i] = continues ? endMarkBlock_[i + 1] : static_cast<uint32_t>(i);
    }
}

void CFATTreeBuilder::GuessContiguousRuns(FatRunBuilder& runs, uint32_t firstCluster, uint64_t size) {
    if (firstCluster < 2 || size == 0) return;
    if (!endMarksCollected_) CollectEndMarks();
    const uint64_t spc = layout_.sectorsPerCluster;
    const uint64_t total = layout_.totalSectors > 0 ? static_cast<uint64_t>(layout_.totalSectors) : 0;
    // The first cluster that starts at or past the end of the volume.
    const uint64_t endCluster = std::min<uint64_t>(2 + (total + spc - 1) / spc, uint64_t{kMaxClusters} + 2);
    uint64_t need = (size + ClusterBytes() - 1) / ClusterBytes();
    uint64_t cluster = firstCluster;
    size_t mark = std::lower_bound(endMarks_.begin(), endMarks_.end(), firstCluster) - endMarks_.begin();
    while (need > 0 && cluster < endCluster) {
        if (mark < endMarks_.size() && endMarks_[mark] == cluster) {
            // Pass over the whole block of marked clusters at once.
            const size_t last = endMarkBlock_[mark];
            cluster = uint64_t{endMarks_[last]} + 1;
            mark = last + 1;
            continue;
        }
        const uint64_t nextMark = mark < endMarks_.size() ? endMarks_[mark] : endCluster;
        const uint64_t take = std::min({need, std::min(nextMark, endCluster) - cluster});
        runs.AddRun(Extent{cluster - 2, take});
        need -= take;
        cluster += take;
    }
}

}  // namespace keldrin::fat
