#include "engine/ext2/Ext2TreeBuilder.h"

#include <cxxabi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <new>
#include <string>
#include <typeinfo>

#include "engine/devices/Volume.h"
#include "engine/ext2/Ext2BlockMapper.h"
#include "engine/ext2/Ext2DataRunList.h"
#include "engine/ext2/Ext2DirIterator.h"
#include "engine/ext2/Ext2Errors.h"
#include "engine/ext2/Ext2FileProperties.h"
#include "engine/ext2/Ext2Gc.h"
#include "engine/model/FileTree.h"
#include "engine/model/HugePageAllocator.h"
#include "platform/DataFolder.h"
#include "platform/Worker.h"
#include "shared/Log.h"
#include "shared/TypeFilter.h"

namespace keldrin::ext2 {
namespace {

void AppendErrorLog(const std::exception& error) {
    const std::string path = platform::DataFile("Ext2Error.log");
    if (path.empty()) return;
    FILE* file = std::fopen(path.c_str(), "a");
    if (!file) return;
    int status = 0;
    char* demangled = abi::__cxa_demangle(typeid(error).name(), nullptr, nullptr, &status);
    std::fprintf(file, "%s\n%s\n", status == 0 && demangled ? demangled : typeid(error).name(), error.what());
    std::free(demangled);
    std::fclose(file);
}

// The inode test: something is there, and its first pointers lie inside the volume.
bool InodeUsable(const CExt2FileSystem& fs, const CExt2Inode& inode) {
    if (inode.Mode() == 0) return false;
    const uint64_t checked = std::min<uint64_t>(inode.Size(fs.HasLargeFiles()) / fs.BlockSize(), 13);
    for (uint64_t i = 0; i < checked; ++i)
        if (inode.Block(static_cast<int>(i)) >= fs.BlocksCount()) return false;
    return true;
}

// Symbolic links kept inside the inode, and devices, pipes and sockets, have no data blocks.
bool HasDataBlocks(const CExt2Inode& inode) {
    const uint16_t type = inode.Type();
    if (type == kModeRegular) return true;
    if (type == kModeSymlink) return inode.AllocatedSectors() != 0;
    return false;
}

// One directory entry that names an inode. The name itself lies in the build's name buffer: one
// string per entry cost an allocation each and made sorting the records move them all.
struct NameRecord {
    uint32_t folder;  // the inode of the folder holding the entry (kRootInode for the root)
    uint32_t inode;
    size_t nameOffset;
    uint32_t nameLength;
    bool fromSlack;  // a deleted entry found behind another record
};

struct FolderRecord {
    uint32_t inode;
    CFileNode* node;
    uint32_t dotDot;  // the parent its ".." names (the root when damaged)
    uint32_t parent = kRootInode;
    int64_t name = -1;      // index of the naming record in its parent, -1 for none
    int64_t rootName = -1;  // index of a record of the root naming it
};

CExt2FileProperties* PropertiesOf(CFileNode* node) {
    return static_cast<CExt2FileProperties*>(node->GetProperties());
}

std::string InodeName(uint32_t inode) {
    return "Inode_" + std::to_string(inode);
}

// Trees hold every inode of a volume: the working tables are flat vectors in inode order (the
// pass reads inodes in that order), searched by halving, not maps of one allocation per entry.
class Ext2TreeBuild {
  public:
    Ext2TreeBuild(const CExt2FileSystem& fs, IDIRBuildCallback& callback, int language,
                  std::vector<bool>* blockBits)
        : fs_(fs), callback_(callback), language_(language), blockBits_(blockBits) {}

    ~Ext2TreeBuild() {
        // Whatever was not handed out is freed here, with its properties.
        if (!root_) return;
        for (auto& [inode, node] : files_)
            if (node && !node->GetParent()) root_->AddChild(node);
        for (FolderRecord& f : folders_)
            if (!f.node->GetParent()) root_->AddChild(f.node);
        DeleteTree(root_);
    }

    CFileSystemNode* Run();

  private:
    bool MakeRoot();
    void ReserveTables();
    void ReadAllInodes();
    void AddInode(const CExt2Inode& inode);
    uint32_t FillNames(const CExt2Inode& directory, uint32_t folder);
    StoredRunList BuildExtents(const CExt2Inode& inode, bool& sparse);
    void SortNamesByInode();
    bool ResolveNames();
    bool AttachDirectoryTree();
    FolderRecord* Folder(uint32_t inode);
    CFileNode* FolderNode(uint32_t inode);
    void Name(CFileNode* node, int64_t record) {
        if (record < 0) return;
        const NameRecord& r = names_[static_cast<size_t>(record)];
        PropertiesOf(node)->SetName(std::string(nameText_.data() + r.nameOffset, r.nameLength));
    }

    const CExt2FileSystem& fs_;
    IDIRBuildCallback& callback_;
    int language_;
    std::vector<bool>* blockBits_;
    CFileSystemNode* root_ = nullptr;
    // The two tables of about one entry per inode.
    std::vector<std::pair<uint32_t, CFileNode*>, HugePageAllocator<std::pair<uint32_t, CFileNode*>>>
        files_;                          // by inode; null once placed
    std::vector<FolderRecord> folders_;  // by inode
    std::vector<NameRecord, HugePageAllocator<NameRecord>> names_;
    NameBuffer nameText_;  // the names of names_, one after the other
    Ext2RunBuilder runs_;
    bool cancelled_ = false;
};

FolderRecord* Ext2TreeBuild::Folder(uint32_t inode) {
    const auto it = std::lower_bound(folders_.begin(), folders_.end(), inode,
                                     [](const FolderRecord& f, uint32_t n) { return f.inode < n; });
    return it != folders_.end() && it->inode == inode ? &*it : nullptr;
}

CFileNode* Ext2TreeBuild::FolderNode(uint32_t inode) {
    if (inode == kRootInode) return root_;
    FolderRecord* f = Folder(inode);
    return f ? f->node : nullptr;
}

bool Ext2TreeBuild::MakeRoot() {
    root_ = CreateFileSystemNode();
    if (!root_) return false;
    auto properties = std::make_unique<CExt2FileProperties>();
    properties->SetName(Ext2RootName(fs_.Type(), fs_.SuperBlock().VolumeName()));
    properties->SetAttributes(kAttrFolder);
    properties->SetInodeNumber(kRootInode);
    root_->SetProperties(properties.release());
    root_->SetFileSystemType(fs_.Type());
    root_->SetVolumeLocation(fs_.PartitionStart(), fs_.SectorsPerBlock());
    try {
        CExt2Inode inode;
        if (fs_.ReadInode(kRootInode, inode) && InodeUsable(fs_, inode) && inode.IsDirectory())
            FillNames(inode, kRootInode);
    } catch (const std::exception&) {
        // A root that cannot be read names nothing; its files still go under the volume.
    }
    return true;
}

// Records the names the folder gives; answers the parent its ".." names.
uint32_t Ext2TreeBuild::FillNames(const CExt2Inode& directory, uint32_t folder) {
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
            const size_t offset = nameText_.size();
            AppendEntryName(nameText_, entry.name);
            const size_t length = nameText_.size() - offset;
            if (length != 0)
                names_.push_back(
                    NameRecord{folder, entry.inode, offset, static_cast<uint32_t>(length), entry.deleted});
        }
    } catch (const std::out_of_range&) {
        throw;
    } catch (const CExt2ReadSectorError&) {
        // Names read before the damage stay.
    }
    return parent;
}

StoredRunList Ext2TreeBuild::BuildExtents(const CExt2Inode& inode, bool& sparse) {
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

void Ext2TreeBuild::AddInode(const CExt2Inode& inode) {
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
        folders_.push_back(FolderRecord{inode.number, node, parent});
    else
        files_.emplace_back(inode.number, node);
}

// The tables grow to about one entry per inode that was ever used; sizing them for every inode
// of the volume saves copying them over and over, and costs address space only, as pages are
// touched when filled. Capped for huge volumes, and a refused reservation is no failure.
void Ext2TreeBuild::ReserveTables() {
    constexpr uint64_t kMostReserved = uint64_t{1} << 22;
    const auto inodes = static_cast<size_t>(std::min<uint64_t>(fs_.InodesCount(), kMostReserved));
    try {
        files_.reserve(inodes);
        names_.reserve(inodes + inodes / 8);
        nameText_.reserve(inodes * 16);
    } catch (const std::bad_alloc&) {
    }
}

void Ext2TreeBuild::ReadAllInodes() {
    ReserveTables();
    callback_.BeginPhase(Ext2ReadingPhaseText(language_), static_cast<int64_t>(fs_.GroupCount()));
    CExt2InodeWalker walker(fs_);
    const uint32_t first = std::max<uint32_t>(std::min<uint32_t>(fs_.SuperBlock().FirstInode(), 11), 1);
    const uint32_t last = fs_.InodesCount();
    uint64_t previousGroup = UINT64_MAX;
    for (uint64_t n = first; n <= last; ++n) {
        const uint32_t number = static_cast<uint32_t>(n);
        const uint64_t group = (n - 1) / fs_.InodesPerGroup();
        if (group != previousGroup) {
            if (previousGroup != UINT64_MAX) callback_.Step(1);
            previousGroup = group;
            if (callback_.IsCancelled() == kCancelled) {
                cancelled_ = true;
                return;
            }
        } else if ((n & 0xFFF) == 0 && callback_.IsCancelled() == kCancelled) {
            cancelled_ = true;
            return;
        }
        if (number == kRootInode) continue;
        CExt2Inode inode;
        try {
            if (!walker.Read(number, inode)) break;
            AddInode(inode);
        } catch (const std::out_of_range&) {
            break;
        } catch (const CExt2ReadSectorError&) {
            continue;
        }
    }
    callback_.Finish();
}

// Folders list their entries mostly in inode order, so the records come as a few sorted runs
// (the root's entries, then everything below): merging the runs keeps the order of equal inodes
// as a stable sort would, at a fraction of its work. Many runs get the stable sort.
void Ext2TreeBuild::SortNamesByInode() {
    constexpr size_t kMostRuns = 64;
    const auto byInode = [](const NameRecord& a, const NameRecord& b) { return a.inode < b.inode; };
    std::vector<size_t> bounds{0};
    for (size_t i = 1; i < names_.size() && bounds.size() <= kMostRuns; ++i)
        if (names_[i].inode < names_[i - 1].inode) bounds.push_back(i);
    if (bounds.size() > kMostRuns) {
        std::stable_sort(names_.begin(), names_.end(), byInode);
        return;
    }
    bounds.push_back(names_.size());
    const auto at = [this](size_t i) { return names_.begin() + static_cast<std::ptrdiff_t>(i); };
    while (bounds.size() > 2) {
        std::vector<size_t> merged{0};
        for (size_t k = 0; k + 2 < bounds.size(); k += 2) {
            std::inplace_merge(at(bounds[k]), at(bounds[k + 1]), at(bounds[k + 2]), byInode);
            merged.push_back(bounds[k + 2]);
        }
        if (merged.back() != bounds.back()) merged.push_back(bounds.back());
        bounds = std::move(merged);
    }
}

// Picks, for every inode, the entry that names it: a live entry over a deleted one, the last live
// one or the first deleted one (folders in inode order); a deleted entry never names a live inode (the inode
// belongs to another file since). Files go under their folder at once; folders get their parent: the one
// their ".." names while it names them back, else the folder whose entry names them, else the ".." as it
// stands.
bool Ext2TreeBuild::ResolveNames() {
    SortNamesByInode();
    size_t groups = 0;
    // Both tables are in inode order: one cursor walks the files alongside the names.
    size_t fileAt = 0;
    for (size_t i = 0; i < names_.size();) {
        if ((++groups & 0xFFF) == 0 && callback_.IsCancelled() == kCancelled) return false;
        size_t end = i;
        while (end < names_.size() && names_[end].inode == names_[i].inode) ++end;
        const uint32_t inode = names_[i].inode;
        while (fileAt < files_.size() && files_[fileAt].first < inode) ++fileAt;
        CFileNode* file =
            fileAt < files_.size() && files_[fileAt].first == inode ? files_[fileAt].second : nullptr;
        FolderRecord* folder = file ? nullptr : Folder(inode);
        if (!file && !folder) {
            i = end;
            continue;
        }
        const bool deleted = (PropertiesOf(file ? file : folder->node)->GetState() & kStateDeleted) != 0;
        int64_t live = -1, slack = -1, back = -1, root = -1;
        for (size_t k = i; k < end; ++k) {
            const NameRecord& r = names_[k];
            if (r.fromSlack && !deleted) continue;
            if (r.folder != kRootInode && !Folder(r.folder)) continue;
            if (!r.fromSlack)
                live = static_cast<int64_t>(k);
            else if (slack < 0)
                slack = static_cast<int64_t>(k);
            if (folder && r.folder == folder->dotDot) back = static_cast<int64_t>(k);
            if (r.folder == kRootInode) root = static_cast<int64_t>(k);
        }
        const int64_t chosen = live >= 0 ? live : slack;
        if (file && chosen >= 0) {
            const NameRecord& r = names_[static_cast<size_t>(chosen)];
            FolderNode(r.folder)->AddChild(file);
            Name(file, chosen);
        } else if (folder) {
            folder->rootName = root;
            if (back >= 0) {
                folder->parent = folder->dotDot;
                folder->name = back;
            } else if (chosen >= 0) {
                folder->parent = names_[static_cast<size_t>(chosen)].folder;
                folder->name = chosen;
            }
        }
        i = end;
    }
    // Folders named by nothing keep the parent their ".." gives.
    for (FolderRecord& f : folders_)
        if (f.name < 0) f.parent = f.dotDot;
    return true;
}

bool Ext2TreeBuild::AttachDirectoryTree() {
    callback_.BeginPhase(Ext2DirectoryPhaseText(language_), static_cast<int64_t>(folders_.size()));
    if (!ResolveNames()) return false;
    // In order of parent number; a folder never goes under itself or under one of its own
    // descendants, so a loop of ".." entries cannot make a cycle.
    std::vector<FolderRecord*> order;
    order.reserve(folders_.size());
    for (FolderRecord& f : folders_) order.push_back(&f);
    std::stable_sort(order.begin(), order.end(),
                     [](const FolderRecord* a, const FolderRecord* b) { return a->parent < b->parent; });
    for (FolderRecord* c : order) {
        if (callback_.Step(1) == kCancelled || callback_.IsCancelled() == kCancelled) return false;
        CFileNode* parent = FolderNode(c->parent);
        if (!parent) continue;
        bool ancestor = false;
        for (CFileNode* up = parent; up && !ancestor; up = up->GetParent()) ancestor = up == c->node;
        if (ancestor) continue;
        parent->AddChild(c->node);
        Name(c->node, c->name);
    }
    for (FolderRecord& f : folders_) {
        if (f.node->GetParent()) continue;
        root_->AddChild(f.node);
        Name(f.node, f.rootName);
    }
    for (auto& [inode, node] : files_) {
        if (!node->GetParent()) root_->AddChild(node);
        node = nullptr;
    }
    names_.clear();
    nameText_.clear();
    return true;
}

void RemoveFilteredFiles(CFileNode* folder) {
    // Iterative, so a deep tree cannot exhaust the stack.
    std::vector<CFileNode*> pending{folder};
    while (!pending.empty()) {
        CFileNode* current = pending.back();
        pending.pop_back();
        for (CFileNode* child = current->GetFirstChild(); child;) {
            CFileNode* next = child->GetNextSibling();
            IFileProperties* properties = child->GetProperties();
            if (IsFolder(properties))
                pending.push_back(child);
            else if (properties && !PassesTypeFilter(properties->GetName(), false))
                DeleteTree(child);
            child = next;
        }
    }
}

CFileSystemNode* Ext2TreeBuild::Run() {
    try {
        if (!MakeRoot()) return nullptr;
    } catch (const std::exception&) {
        return nullptr;
    }
    try {
        ReadAllInodes();
    } catch (const std::exception& error) {
        AppendErrorLog(error);
        ReleaseTrace("Ext2 build stopped reading inodes: %s", error.what());
    }
    if (cancelled_) return nullptr;
    try {
        if (!AttachDirectoryTree()) return nullptr;
        if (!GetTypeFilter().IsOff()) RemoveFilteredFiles(root_);
    } catch (const std::exception& error) {
        AppendErrorLog(error);
        return nullptr;
    }
    CFileSystemNode* root = root_;
    root_ = nullptr;
    return root;
}

}  // namespace

std::string Ext2RootName(int type, const std::string& label) {
    std::string name = type == kFsExt3 ? "Ext3" : type == kFsExt2 ? "Ext2" : "Ext?";
    if (label.empty()) return name;
    name += '(';
    for (char c : label) {
        const bool plain = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        name += plain ? c : '_';
    }
    name += ')';
    return name;
}

CFileSystemNode* BuildExt2Tree(const CExt2FileSystem& fs, IDIRBuildCallback* callback, int language,
                               std::vector<bool>* blockBits) {
    CNullDIRBuildCallback quiet;
    GcThreadScope collectorThread;
    const auto started = std::chrono::steady_clock::now();
    CFileSystemNode* root = nullptr;
    try {
        if (blockBits) blockBits->assign(fs.BlocksCount(), false);
        Ext2TreeBuild build(fs, callback ? *callback : quiet, language, blockBits);
        root = build.Run();
    } catch (const std::exception&) {
        root = nullptr;
    }
    const auto elapsed =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started);
    ReleaseTrace("Ext2 Quick Build directory tree used %d millseconds!", static_cast<int>(elapsed.count()));
    return root;
}

CFileSystemNode* RunExt2Build(IStorageDevice* device, IDIRBuildCallback* callback, int64_t superBlockSector,
                              bool keepBlockBits, int language) {
    if (!device) return nullptr;
    EnsureCollector();
    CFileSystemNode* result = nullptr;
    try {
        platform::RunWorker([&] {
            GcThreadScope collectorThread;
            try {
                const CExt2FileSystem fs(device, superBlockSector);
                std::vector<bool> bits;
                result = BuildExt2Tree(fs, callback, language, keepBlockBits ? &bits : nullptr);
            } catch (const std::exception&) {
                result = nullptr;
            }
        });
    } catch (const std::exception&) {
        return nullptr;
    }
    return result;
}

}  // namespace keldrin::ext2
