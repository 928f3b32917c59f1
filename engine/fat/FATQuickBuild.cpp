#include "engine/fat/FATQuickBuild.h"

#include <exception>
#include <memory>

#include "engine/fat/FATBootRecord.h"
#include "engine/fat/FATTable.h"
#include "engine/fat/FATTreeBuilder.h"
#include "engine/fat/FatPhaseTexts.h"
#include "engine/model/FileTree.h"
#include "platform/Clock.h"
#include "platform/Worker.h"
#include "shared/Log.h"

namespace keldrin::fat {
namespace {

bool ReadCheckedBootRecord(IStorageDevice& device, int64_t sector, int64_t partitionStart,
                           CFATBootRecord& out) {
    uint8_t bytes[kBootRecordSize] = {};
    if (!device.ReadSectors(bytes, sector, 1)) return false;
    if (!CheckFATPresence(&device, bytes, partitionStart)) return false;
    out = CFATBootRecord(bytes, sizeof bytes);
    return true;
}

FatLayout LayoutOf(const CFATBootRecord& boot, int64_t partitionStart) {
    FatLayout layout;
    layout.type = boot.GetType();
    layout.partitionStart = partitionStart;
    layout.sectorsPerCluster = boot.GetSectorsPerCluster();
    const int64_t fatEnd = partitionStart + boot.GetReservedSectors() +
                           int64_t{boot.GetNumberOfFATs()} * boot.GetSectorsPerFAT();
    if (layout.type == kFsFat32) {
        layout.dataStart = fatEnd;
        layout.rootCluster = boot.GetRootCluster();
        const int64_t rootIndex = layout.rootCluster >= 2 ? int64_t{layout.rootCluster} - 2 : 0;
        layout.rootStart = layout.dataStart + rootIndex * layout.sectorsPerCluster;
    } else {
        layout.rootStart = fatEnd;
        layout.rootSectors = uint32_t{boot.GetRootEntries()} * 32 / kSectorSize;
        layout.dataStart = layout.rootStart + layout.rootSectors;
    }
    layout.totalSectors = boot.GetTotalSectors();
    layout.rootKnown = true;
    return layout;
}

}  // namespace

CFileSystemNode* BuildQuickTree(IDIRBuildCallback* callback, const CFATSearchedPartitionInfo& info,
                                IStorageDevice* device, bool includeLive, int language) {
    if (!device || info.partitionStart < 0) return nullptr;
    CNullDIRBuildCallback quiet;
    IDIRBuildCallback& progress = callback ? *callback : quiet;
    const uint64_t started = platform::TickMs();
    const int64_t start = info.partitionStart;

    progress.BeginPhase(FatPhaseText(FatPhase::kReadingParameters, language), 100);
    CFATBootRecord boot;
    bool found = (info.flags & (kFromFAT12DBR | kFromFAT16DBR | kFromFAT32DBR)) &&
                 ReadCheckedBootRecord(*device, start, start, boot);
    progress.Step(30);
    if (!found && (info.flags & kFromFAT32BackupDBR))
        found = ReadCheckedBootRecord(*device, start + kBackupBootOffset, start, boot);
    progress.Step(30);
    if (!found) {
        ReleaseTrace("Failed to read DBR information!");
        progress.Finish();
        return nullptr;
    }
    std::unique_ptr<CDoubleFATTable> fat =
        CreateFATTable(device, start + boot.GetReservedSectors(), boot.GetType(), boot.GetSectorsPerFAT(),
                       (info.flags & kUseFAT1) != 0, (info.flags & kUseFAT2) != 0);
    if (progress.Finish() == kCancelled) {
        ReleaseTrace("User abort searching!");
        return nullptr;
    }

    CFATTreeBuilder builder(callback, device, LayoutOf(boot, start), fat.get(), language);
    progress.BeginPhase(FatPhaseText(FatPhase::kDirectories, language), 100);
    TreeOwner<CFileSystemNode> root(builder.WalkFromRoot(includeLive));
    fat.reset();
    if (root) {
        if (progress.Finish() == kCancelled) {
            root.reset();
        } else {
            RemoveEmptyDeletedFolders(root.get());
        }
    }
    ReleaseTrace("FAT Quick Build directory tree used %d millseconds!",
                 static_cast<int>(platform::TickMs() - started));
    return root.release();
}

CFileSystemNode* RunQuickBuild(IDIRBuildCallback* callback, const CFATSearchedPartitionInfo& info,
                               IStorageDevice* device, bool includeLive, int language) {
    CFileSystemNode* result = nullptr;
    try {
        platform::RunWorker([&] {
            // Running out of memory on a huge volume gives no tree, not a dead process.
            try {
                result = BuildQuickTree(callback, info, device, includeLive, language);
            } catch (const std::exception&) {
                result = nullptr;
            }
        });
    } catch (const std::exception&) {
        return nullptr;  // the worker thread could not be started
    }
    return result;
}

}  // namespace keldrin::fat
