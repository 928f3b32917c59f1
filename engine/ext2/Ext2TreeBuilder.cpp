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
#include "engine/ext2/Ext2InodePass.h"
#include "engine/model/FileTree.h"
#include "engine/model/HugePageAllocator.h"
#include "engine/model/SmallBlockPool.h"
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

CExt2FileProperties* PropertiesOf(CFileNode* node) {
    return static_cast<CExt2FileProperties*>(node->GetProperties());
}

class Ext2TreeBuild {
  public:
    Ext2TreeBuild(const CExt2FileSystem& fs, IDIRBuildCallback& callback, int language,
                  std::vector<bool>* blockBits)
        : fs_(fs), callback_(callback), language_(language), blockBits_(blockBits) {}

    ~Ext2TreeBuild() {
        // Whatever was not handed out is freed here, with its properties.
        if (!root_) return;
        for (auto& [inode, node] : tables_.files)
            if (node && !node->GetParent()) root_->AddChild(node);
        for (FolderRecord& f : tables_.folders)
            if (!f.node->GetParent()) root_->AddChild(f.node);
        DeleteTree(root_);
    }

    CFileSystemNode* Run();

  private:
    bool MakeRoot();
    void ReadInodes();
    void SortNamesByInode();
    bool ResolveNames();
    bool AttachDirectoryTree();
    FolderRecord* Folder(uint32_t inode);
    CFileNode* FolderNode(uint32_t inode);
    void Name(CFileNode* node, int64_t record) {
        if (record < 0) return;
        const NameRecord& r = tables_.names[static_cast<size_t>(record)];
        PropertiesOf(node)->SetName(std::string(tables_.nameText.data() + r.NameOffset(), r.nameLength));
    }

    const CExt2FileSystem& fs_;
    IDIRBuildCallback& callback_;
    int language_;
    std::vector<bool>* blockBits_;
    CFileSystemNode* root_ = nullptr;
    InodeTables tables_;
    bool cancelled_ = false;
};

FolderRecord* Ext2TreeBuild::Folder(uint32_t inode) {
    const auto it = std::lower_bound(tables_.folders.begin(), tables_.folders.end(), inode,
                                     [](const FolderRecord& f, uint32_t n) { return f.inode < n; });
    return it != tables_.folders.end() && it->inode == inode ? &*it : nullptr;
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
            InodeReader(fs_, tables_, blockBits_).FillNames(inode, kRootInode);
    } catch (const std::exception&) {
        // A root that cannot be read names nothing; its files still go under the volume.
    }
    return true;
}

void Ext2TreeBuild::ReadInodes() {
    tables_.Reserve(fs_.InodesCount());
    callback_.BeginPhase(Ext2ReadingPhaseText(language_), static_cast<int64_t>(fs_.GroupCount()));
    cancelled_ = !ReadAllInodes(fs_, tables_, blockBits_, callback_);
}

// Folders list their entries mostly in inode order, so the records come as a few sorted runs
// (the root's entries, then everything below): merging the runs keeps the order of equal inodes
// as a stable sort would, at a fraction of its work. Many runs get the stable sort.
void Ext2TreeBuild::SortNamesByInode() {
    constexpr size_t kMostRuns = 64;
    const auto byInode = [](const NameRecord& a, const NameRecord& b) { return a.inode < b.inode; };
    std::vector<size_t> bounds{0};
    for (size_t i = 1; i < tables_.names.size() && bounds.size() <= kMostRuns; ++i)
        if (tables_.names[i].inode < tables_.names[i - 1].inode) bounds.push_back(i);
    if (bounds.size() > kMostRuns) {
        std::stable_sort(tables_.names.begin(), tables_.names.end(), byInode);
        return;
    }
    bounds.push_back(tables_.names.size());
    const auto at = [this](size_t i) { return tables_.names.begin() + static_cast<std::ptrdiff_t>(i); };
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
    for (size_t i = 0; i < tables_.names.size();) {
        if ((++groups & 0xFFF) == 0 && callback_.IsCancelled() == kCancelled) return false;
        size_t end = i;
        while (end < tables_.names.size() && tables_.names[end].inode == tables_.names[i].inode) ++end;
        const uint32_t inode = tables_.names[i].inode;
        while (fileAt < tables_.files.size() && tables_.files[fileAt].first < inode) ++fileAt;
        CFileNode* file = fileAt < tables_.files.size() && tables_.files[fileAt].first == inode
                              ? tables_.files[fileAt].second
                              : nullptr;
        FolderRecord* folder = file ? nullptr : Folder(inode);
        if (!file && !folder) {
            i = end;
            continue;
        }
        const bool deleted = (PropertiesOf(file ? file : folder->node)->GetState() & kStateDeleted) != 0;
        int64_t live = -1, slack = -1, back = -1, root = -1;
        for (size_t k = i; k < end; ++k) {
            const NameRecord& r = tables_.names[k];
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
            const NameRecord& r = tables_.names[static_cast<size_t>(chosen)];
            FolderNode(r.folder)->AddChild(file);
            Name(file, chosen);
        } else if (folder) {
            folder->rootName = root;
            if (back >= 0) {
                folder->parent = folder->dotDot;
                folder->name = back;
            } else if (chosen >= 0) {
                folder->parent = tables_.names[static_cast<size_t>(chosen)].folder;
                folder->name = chosen;
            }
        }
        i = end;
    }
    // Folders named by nothing keep the parent their ".." gives.
    for (FolderRecord& f : tables_.folders)
        if (f.name < 0) f.parent = f.dotDot;
    return true;
}

bool Ext2TreeBuild::AttachDirectoryTree() {
    callback_.BeginPhase(Ext2DirectoryPhaseText(language_), static_cast<int64_t>(tables_.folders.size()));
    if (!ResolveNames()) return false;
    // In order of parent number; a folder never goes under itself or under one of its own
    // descendants, so a loop of ".." entries cannot make a cycle.
    std::vector<FolderRecord*> order;
    order.reserve(tables_.folders.size());
    for (FolderRecord& f : tables_.folders) order.push_back(&f);
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
    for (FolderRecord& f : tables_.folders) {
        if (f.node->GetParent()) continue;
        root_->AddChild(f.node);
        Name(f.node, f.rootName);
    }
    for (auto& [inode, node] : tables_.files) {
        if (!node->GetParent()) root_->AddChild(node);
        node = nullptr;
    }
    tables_.names.clear();
    tables_.nameText.clear();
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
        ReadInodes();
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
    // A block per inode and per node: the build's own slab saves taking the pool's lock for each.
    SmallBlockPool::ThreadCache blocks(TreePool());
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
