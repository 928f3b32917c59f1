#include "engine/raw/RawTreeBuilder.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <unordered_set>
#include <vector>

#include "engine/model/FileTree.h"
#include "engine/raw/RAWFileProperties.h"
#include "engine/raw/RawAnalyserList.h"
#include "engine/raw/RawFileAnalyser.h"
#include "engine/raw/RawFileType.h"
#include "platform/Worker.h"
#include "shared/ScanSettings.h"

namespace keldrin {
namespace {

constexpr int kLanguageGerman = 1;

const char* PhaseText(int language) {
    return language == kLanguageGerman ? "Erstelle RAW Datenbaum." : "Building RAW file tree.";
}

CFileNode* MakeFolderNode(std::string_view name) {
    auto properties = CRAWFileProperties::MakeFolder(name);
    if (!properties) return nullptr;
    CFileNode* node = CreateFileNode();
    if (!node) return nullptr;
    node->SetProperties(properties.release());
    return node;
}

void Rename(CFileNode* node, std::string_view name) {
    if (node && node->GetProperties()) static_cast<CRAWFileProperties*>(node->GetProperties())->SetName(name);
}

std::string RangeName(int64_t first, int64_t last) {
    char text[48];
    std::snprintf(text, sizeof text, "%lld-%lld", static_cast<long long>(first),
                  static_cast<long long>(last));
    return text;
}

// The per-type folders and counters of one build.
class BranchBuilder {
  public:
    explicit BranchBuilder(CFileSystemNode* root)
        : root_(root), folder_(kRawTypeTableSize, nullptr), count_(kRawTypeTableSize, 0) {}

    bool AddFile(int type, int64_t startSector, uint64_t size) {
        int t = type & 0xFFFF;
        if (t >= kRawTypeTableSize || !RawFileType::IsRegistered(t)) t = kRawTypePlaceholder;
        if (!folder_[t] && !(folder_[t] = NewTypeFolder(t))) return false;
        const int64_t c = count_[t] + 1;
        char name[32];
        std::snprintf(name, sizeof name, "FILE%03lld.%s", static_cast<long long>(c),
                      RawFileType::Extension(t));
        auto properties = CRAWFileProperties::MakeFile(name, startSector, size);
        CFileNode* node = properties ? CreateFileNode() : nullptr;
        if (!node) return false;
        node->SetProperties(properties.release());
        CFileNode* into = folder_[t];
        if (c > kRawFilesPerFolder) {
            if (c % kRawFilesPerFolder == 1) {
                CFileNode* range = MakeFolderNode(RangeName(c, c + kRawFilesPerFolder - 1));
                if (!range) {
                    DeleteTree(node);
                    return false;
                }
                folder_[t]->AddChild(range);
            }
            into = folder_[t]->GetFirstChild();
        }
        into->AddChild(node);
        count_[t] = c;
        if (c == kRawFilesPerFolder) {
            // The full folder becomes the first range inside a new folder of the type.
            CFileNode* full = folder_[t];
            CFileNode* fresh = NewTypeFolder(t);
            if (fresh) {
                Rename(full, RangeName(1, kRawFilesPerFolder));
                fresh->AddChild(full);
                folder_[t] = fresh;
            }
        }
        return true;
    }

    // The newest range of each type with more than 300 files ends at its last file.
    void CloseRanges() {
        for (size_t t = 0; t < folder_.size(); ++t) {
            const int64_t c = count_[t];
            if (c <= kRawFilesPerFolder || !folder_[t]) continue;
            const int64_t first = (c - 1) / kRawFilesPerFolder * kRawFilesPerFolder + 1;
            Rename(folder_[t]->GetFirstChild(), RangeName(first, c));
        }
    }

  private:
    CFileNode* NewTypeFolder(int t) {
        const char* description = RawFileType::Description(t);
        CFileNode* folder = MakeFolderNode(*description ? description : RawFileType::Extension(t));
        if (folder) root_->AddChild(folder);
        return folder;
    }

    CFileSystemNode* root_;
    std::vector<CFileNode*> folder_;
    std::vector<int64_t> count_;
};

// The size of a candidate as the tree shows it; 0 leaves it out.
uint64_t DecideSize(CRawFileInfo& candidate, IStorageDevice* volume, int64_t maxSize) {
    if (candidate.size > 0) return static_cast<uint64_t>(candidate.size);
    if (candidate.size < 0 || candidate.analyserId == kCustomAnalyserId) return 0;
    IRawFileAnalyser* analyser = FindRawAnalyser(candidate.analyserId);
    if (!analyser) return 0;
    int64_t size = 0;
    try {
        if (analyser->FindFileSize(candidate, volume)) size = candidate.size;
    } catch (...) {
        size = 0;
    }
    // Left undecided in the store, so that a later build decides it again.
    candidate.size = 0;
    if (size <= 0) return 0;
    return static_cast<uint64_t>(maxSize > 0 ? std::min(size, maxSize) : size);
}

CFileSystemNode* Build(IStorageDevice* volume, IIterator<CRawFileInfo*>& candidates,
                       const IIsClusterUsed* usedMap, IDIRBuildCallback* callback) {
    const ScanSettings& settings = GetScanSettings();
    if (!settings.raw.recoverRawFiles) return nullptr;
    auto rootProperties = CRAWFileProperties::MakeFolder("Raw Files");
    TreeOwner<CFileSystemNode> root(rootProperties ? CreateFileSystemNode() : nullptr);
    if (!root) return nullptr;
    root->SetProperties(rootProperties.release());
    root->SetVolumeLocation(0, 1);
    root->SetFileSystemType(kFsRaw);

    if (callback) {
        int64_t total = 0;
        for (candidates.First(); !candidates.IsDone(); candidates.Next()) {
            const CRawFileInfo* c = candidates.CurrentItem();
            if (c && !(usedMap && usedMap->IsSectorUsed(c->startSector))) ++total;
        }
        callback->BeginPhase(PhaseText(settings.language), total);
    }
    const std::unordered_set<int> chosen(settings.raw.chosenTypes.begin(), settings.raw.chosenTypes.end());
    BranchBuilder branch(root.get());
    for (candidates.First(); !candidates.IsDone(); candidates.Next()) {
        CRawFileInfo* c = candidates.CurrentItem();
        if (callback) callback->IsCancelled();
        if (!c || !chosen.count(c->type)) continue;
        if (usedMap && usedMap->IsSectorUsed(c->startSector)) continue;
        const uint64_t size = DecideSize(*c, volume, settings.raw.maxFileSize);
        if (size == 0) continue;
        if (!branch.AddFile(c->type, c->startSector, size)) break;  // out of memory
        if (callback && callback->Step(1) == kCancelled) break;
    }
    branch.CloseRanges();
    if (callback) callback->Finish();
    return root.release();
}

}  // namespace

CFileSystemNode* CRawTreeBuilder::BuildRawTree(IStorageDevice* volume, IIterator<CRawFileInfo*>& candidates,
                                               const IIsClusterUsed* usedMap, IDIRBuildCallback* callback,
                                               bool threaded) {
    if (!threaded) return Build(volume, candidates, usedMap, callback);
    CFileSystemNode* root = nullptr;
    platform::RunWorker([&] { root = Build(volume, candidates, usedMap, callback); });
    return root;
}

}  // namespace keldrin
