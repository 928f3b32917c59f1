#include "engine/ext2/Ext2InodePass.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <memory>
#include <mutex>
#include <new>
#include <stdexcept>
#include <string>
#include <system_error>
#include <thread>

#include "engine/devices/SerializedDevice.h"
#include "engine/ext2/Ext2BlockMapper.h"
#include "engine/ext2/Ext2Errors.h"
#include "engine/ext2/Ext2FileProperties.h"
#include "engine/ext2/Ext2Gc.h"
#include "engine/model/FileTree.h"
#include "engine/model/SmallBlockPool.h"
#include "engine/model/TwoEndedWork.h"

namespace keldrin::ext2 {
namespace {

// Below this many inodes a second thread costs more than it saves.
constexpr uint64_t kParallelInodes = 32768;

// Symbolic links kept inside the inode, and devices, pipes and sockets, have no data blocks.
bool HasDataBlocks(const CExt2Inode& inode) {
    const uint16_t type = inode.Type();
    if (type == kModeRegular) return true;
    if (type == kModeSymlink) return inode.AllocatedSectors() != 0;
    return false;
}

std::string InodeName(uint32_t inode) {
    return "Inode_" + std::to_string(inode);
}

// The inodes of the pass in one group.
struct GroupInodes {
    uint64_t first;
    uint64_t last;  // inclusive
};

enum class GroupEnd {
    kDone,
    kStopped,  // cancelled
    kEnded,    // a read outside the device, or past the last group: the pass ends here
    kFailed,   // another exception, kept beside it
};

// Polls goOn every 4096 inodes (not at the group's first one, which its caller polls for).
template <typename GoOn>
GroupEnd ReadGroup(CExt2InodeWalker& walker, InodeReader& reader, GroupInodes inodes, const GoOn& goOn,
                   std::exception_ptr& error) {
    for (uint64_t n = inodes.first; n <= inodes.last; ++n) {
        if (n != inodes.first && (n & 0xFFF) == 0 && !goOn()) return GroupEnd::kStopped;
        if (n == kRootInode) continue;
        CExt2Inode inode;
        try {
            if (!walker.Read(static_cast<uint32_t>(n), inode)) return GroupEnd::kEnded;
            reader.AddInode(inode);
        } catch (const std::out_of_range&) {
            return GroupEnd::kEnded;
        } catch (const CExt2ReadSectorError&) {
            continue;
        } catch (...) {
            error = std::current_exception();
            return GroupEnd::kFailed;
        }
    }
    return GroupEnd::kDone;
}

// Where the pass starts and ends: the reserved inodes before the first ordinary one are left out
// (the root is read on its own).
struct PassRange {
    uint64_t first;
    uint64_t last;
    uint64_t firstGroup;
    uint64_t lastGroup;

    explicit PassRange(const CExt2FileSystem& fs)
        : first(std::max<uint32_t>(std::min<uint32_t>(fs.SuperBlock().FirstInode(), 11), 1)),
          last(fs.InodesCount()),
          firstGroup((first - 1) / fs.InodesPerGroup()),
          lastGroup(last >= first ? (last - 1) / fs.InodesPerGroup() : firstGroup) {}
    bool Empty() const { return last < first; }
    GroupInodes Of(const CExt2FileSystem& fs, uint64_t group) const {
        const uint64_t perGroup = fs.InodesPerGroup();
        return {std::max(first, group * perGroup + 1), std::min(last, (group + 1) * perGroup)};
    }
};

bool ReadSequential(const CExt2FileSystem& fs, const PassRange& range, InodeTables& tables,
                    std::vector<bool>* blockBits, IDIRBuildCallback& callback) {
    InodeReader reader(fs, tables, blockBits);
    CExt2InodeWalker walker(fs);
    const auto goOn = [&callback] { return callback.IsCancelled() != kCancelled; };
    for (uint64_t group = range.firstGroup; !range.Empty() && group <= range.lastGroup; ++group) {
        if (group != range.firstGroup) callback.Step(1);
        if (!goOn()) return false;
        std::exception_ptr error;
        const GroupEnd end = ReadGroup(walker, reader, range.Of(fs, group), goOn, error);
        if (end == GroupEnd::kStopped) return false;
        if (end == GroupEnd::kFailed) std::rethrow_exception(error);
        if (end == GroupEnd::kEnded) break;
    }
    callback.Finish();
    return true;
}

// Tables whose nodes went into no tree: the nodes still held are freed with them.
struct OwnedTables {
    InodeTables tables;
    ~OwnedTables() {
        for (auto& [inode, node] : tables.files)
            if (node) DeleteTree(node);
        for (FolderRecord& folder : tables.folders)
            if (folder.node) DeleteTree(folder.node);
    }
};

// Moves entries [from, to) of the helper's tables to the end of tables, the names with them.
struct TableMarks {
    size_t files = 0;
    size_t folders = 0;
    size_t names = 0;
};

void MoveEntries(InodeTables& from, const TableMarks& begin, const TableMarks& end, InodeTables& to) {
    for (size_t i = begin.files; i < end.files; ++i) {
        to.files.push_back(from.files[i]);
        from.files[i].second = nullptr;
    }
    for (size_t i = begin.folders; i < end.folders; ++i) {
        to.folders.push_back(from.folders[i]);
        from.folders[i].node = nullptr;
    }
    for (size_t i = begin.names; i < end.names; ++i) {
        NameRecord record = from.names[i];
        const size_t offset = to.nameText.size();
        to.nameText.append(from.nameText, record.NameOffset(), record.nameLength);
        record.SetNameOffset(offset);
        to.names.push_back(record);
    }
}

TableMarks MarksOf(const InodeTables& tables) {
    return {tables.files.size(), tables.folders.size(), tables.names.size()};
}

// The calling thread reads groups from the front into tables, a helper from the back into tables
// of its own, until they meet; the helper's groups are then appended in group order. The end of
// the pass (a read outside the device, an exception) counts where it lies in group order, so the
// groups after it are dropped as one thread would never have read them.
bool ReadParallel(const CExt2FileSystem& fs, const PassRange& range, InodeTables& tables,
                  IDIRBuildCallback& callback) {
    const uint64_t count = range.lastGroup - range.firstGroup + 1;
    struct Group {
        GroupEnd end = GroupEnd::kDone;
        std::exception_ptr error;
        TableMarks begin, end_;  // the helper's groups: their entries in its tables
    };
    std::vector<Group> groups(count);
    SerializedDevice serialized(*fs.Device());
    const CExt2FileSystem frontFs(fs, &serialized);
    const CExt2FileSystem backFs(fs, &serialized);
    OwnedTables back;
    back.tables.Reserve(fs.InodesCount() / 2);

    TwoEndedWork work(count);
    std::atomic<uint64_t> endsAt = count;  // the first group that ended the pass
    const auto endAt = [&endsAt](uint64_t group) {
        uint64_t seen = endsAt.load();
        while (group < seen && !endsAt.compare_exchange_weak(seen, group)) {
        }
    };
    std::atomic<bool> stop = false;
    std::atomic<uint64_t> done = 0;
    uint64_t reported = 0;
    uint64_t split = count;  // the first group the helper read

    std::exception_ptr helperFailure;
    std::thread helper;
    try {
        helper = std::thread([&] {
            try {
                GcThreadScope collectorThread;
                SmallBlockPool::ThreadCache blocks(TreePool());
                InodeReader reader(backFs, back.tables, nullptr);
                CExt2InodeWalker walker(backFs);
                const auto goOn = [&stop] { return !stop.load(std::memory_order_relaxed); };
                uint64_t g = 0;
                while (goOn() && work.Take(false, g)) {
                    if (g > endsAt.load()) continue;
                    Group& group = groups[g];
                    group.begin = MarksOf(back.tables);
                    group.end =
                        ReadGroup(walker, reader, range.Of(backFs, range.firstGroup + g), goOn, group.error);
                    group.end_ = MarksOf(back.tables);
                    split = g;
                    if (group.end == GroupEnd::kStopped) break;
                    if (group.end != GroupEnd::kDone) endAt(g);
                    done.fetch_add(1);
                }
            } catch (...) {
                helperFailure = std::current_exception();
                stop = true;
            }
        });
    } catch (const std::system_error&) {
        return ReadSequential(fs, range, tables, nullptr, callback);
    }

    bool cancelled = false;
    const auto report = [&] {
        const uint64_t now = done.load();
        if (now > reported) callback.Step(static_cast<int64_t>(now - reported));
        reported = now;
    };
    const auto goOn = [&] {
        report();
        if (callback.IsCancelled() == kCancelled) cancelled = true;
        return !cancelled && !stop.load(std::memory_order_relaxed);
    };
    try {
        InodeReader reader(frontFs, tables, nullptr);
        CExt2InodeWalker walker(frontFs);
        uint64_t g = 0;
        while (goOn() && work.Take(true, g)) {
            Group& group = groups[g];
            group.end = ReadGroup(walker, reader, range.Of(frontFs, range.firstGroup + g), goOn, group.error);
            if (group.end == GroupEnd::kStopped) break;
            done.fetch_add(1);
            if (group.end != GroupEnd::kDone) {
                // Nothing after this group counts: the helper may stop.
                endAt(g);
                stop = true;
                break;
            }
        }
    } catch (...) {
        stop = true;
        helper.join();
        throw;
    }
    if (cancelled) stop = true;
    helper.join();
    if (cancelled) return false;
    if (helperFailure) std::rethrow_exception(helperFailure);
    // Polled once more: the helper may have read every group while this thread waited for its turn.
    report();
    if (callback.IsCancelled() == kCancelled) return false;

    const uint64_t last = endsAt.load();
    for (uint64_t g = split; g < count && g <= last; ++g)
        MoveEntries(back.tables, groups[g].begin, groups[g].end_, tables);
    if (last < count && groups[last].end == GroupEnd::kFailed) std::rethrow_exception(groups[last].error);
    callback.Finish();
    return true;
}

}  // namespace

bool InodeUsable(const CExt2FileSystem& fs, const CExt2Inode& inode) {
    if (inode.Mode() == 0) return false;
    const uint64_t checked = std::min<uint64_t>(inode.Size(fs.HasLargeFiles()) / fs.BlockSize(), 13);
    for (uint64_t i = 0; i < checked; ++i)
        if (inode.Block(static_cast<int>(i)) >= fs.BlocksCount()) return false;
    return true;
}

void InodeTables::Reserve(uint64_t inodes) {
    constexpr uint64_t kMostReserved = uint64_t{1} << 22;
    const auto n = static_cast<size_t>(std::min(inodes, kMostReserved));
    try {
        files.reserve(n);
        names.reserve(n + n / 8);
        nameText.reserve(n * 16);
    } catch (const std::bad_alloc&) {
    }
}

uint32_t InodeReader::FillNames(const CExt2Inode& directory, uint32_t folder) {
    uint32_t parent = kRootInode;
    try {
        CExt2DirIterator walk(fs_, directory, true);
        CExt2DirEntry entry;
        while (walk.Next(entry)) {
            if (entry.name == "." || entry.name == "..") {
                if (!entry.deleted && entry.secondInDirectory && entry.name == "..") parent = entry.inode;
                continue;
            }
            if (entry.inode == directory.number || entry.inode == kRootInode) continue;
            const size_t offset = tables_.nameText.size();
            if (offset > NameRecord::kMaxNameOffset) throw std::bad_alloc();
            AppendEntryName(tables_.nameText, entry.name);
            const size_t length = tables_.nameText.size() - offset;
            if (length != 0)
                tables_.names.emplace_back(folder, entry.inode, offset, static_cast<uint16_t>(length),
                                           entry.deleted);
        }
    } catch (const std::out_of_range&) {
        throw;
    } catch (const CExt2ReadSectorError&) {
        // Names read before the damage stay.
    }
    return parent;
}

StoredRunList InodeReader::BuildExtents(const CExt2Inode& inode, bool& sparse) {
    sparse = false;
    if (!HasDataBlocks(inode)) return {};
    const uint64_t size = inode.Size(fs_.HasLargeFiles());
    CExt2BlockMapper mapper(fs_, inode);
    const uint64_t blocks =
        std::min<uint64_t>((size + fs_.BlockSize() - 1) / fs_.BlockSize(), mapper.AddressableBlocks());
    runs_.Clear();
    uint64_t real = 0;
    const uint64_t most = fs_.DeviceBlocks();
    for (uint64_t k = 0; k < blocks;) {
        uint64_t hole = 1;
        const uint32_t block = mapper.Map(k, &hole);
        if (block == 0) {
            hole = std::min(std::max<uint64_t>(hole, 1), blocks - k);
            runs_.Add(0, hole);
            k += hole;
            continue;
        }
        // No file holds more blocks than the device: pointers that say otherwise are damage.
        if (++real > most) break;
        runs_.Add(block, 1);
        if (blockBits_ && block < blockBits_->size()) (*blockBits_)[block] = true;
        ++k;
    }
    sparse = runs_.HasHoles();
    return StoredRunList::FromExtents(runs_.Runs());
}

void InodeReader::AddInode(const CExt2Inode& inode) {
    if (!InodeUsable(fs_, inode)) return;
    const bool folder = inode.IsDirectory();
    auto properties = std::make_unique<CExt2FileProperties>();
    properties->SetName(InodeName(inode.number));
    properties->SetFileSize(inode.Size(fs_.HasLargeFiles()));
    properties->SetTimes(Ext2TimeToFileTime(inode.ChangeTime()), Ext2TimeToFileTime(inode.ModificationTime()),
                         Ext2TimeToFileTime(inode.AccessTime()));
    properties->SetState(inode.DeletionTime() != 0 ? kStateDeleted : 0);
    properties->SetInodeNumber(inode.number);
    uint32_t parent = kRootInode;
    if (folder) {
        properties->SetAttributes(kAttrFolder);
        parent = FillNames(inode, inode.number);
    } else {
        bool sparse = false;
        properties->SetStoredRuns(BuildExtents(inode, sparse));
        if (sparse) properties->SetAttributes(kAttrSparse);
    }
    CFileNode* node = CreateFileNode();
    if (!node) throw std::bad_alloc();
    node->SetProperties(properties.release());
    if (folder)
        tables_.folders.push_back(FolderRecord{inode.number, node, parent});
    else
        tables_.files.emplace_back(inode.number, node);
}

bool ReadAllInodes(const CExt2FileSystem& fs, InodeTables& tables, std::vector<bool>* blockBits,
                   IDIRBuildCallback& callback, int threads) {
    const PassRange range(fs);
    if (threads <= 0) threads = std::thread::hardware_concurrency() >= 2 ? 2 : 1;
    // Marking the blocks of files is left to one thread: the bits share their words.
    if (threads >= 2 && !blockBits && !range.Empty() && range.lastGroup > range.firstGroup &&
        range.last - range.first >= kParallelInodes)
        return ReadParallel(fs, range, tables, callback);
    return ReadSequential(fs, range, tables, blockBits, callback);
}

}  // namespace keldrin::ext2
