#include "engine/ntfs/NTFSTreeBuilder.h"

#include <exception>
#include <string>

#include "engine/model/FileTree.h"
#include "engine/model/SmallBlockPool.h"
#include "engine/ntfs/BootSector.h"
#include "engine/ntfs/MftLocator.h"
#include "engine/ntfs/MftMap.h"
#include "engine/ntfs/MftReader.h"
#include "engine/ntfs/NtfsBuildRecord.h"
#include "engine/ntfs/NtfsFileSystemNode.h"
#include "engine/ntfs/NtfsGeometry.h"
#include "engine/ntfs/NtfsPhaseTexts.h"
#include "engine/ntfs/TreeAssembly.h"
#include "platform/Worker.h"

namespace keldrin::ntfs {
namespace {

bool ReadBootSector(IStorageDevice& device, int64_t sector, CNTFSDBR& out) {
    uint8_t bytes[kBootSectorSize] = {};
    if (!device.ReadSectors(bytes, sector, 1)) return false;
    out = CNTFSDBR(std::span<const uint8_t>(bytes));
    return out.IsValid();
}

}  // namespace

CNTFSTreeBuilder::CNTFSTreeBuilder(int language) : language_(language) {}

CFileSystemNode* CNTFSTreeBuilder::BuildTree(int64_t volumeFirstSector, IStorageDevice* device,
                                             IDIRBuildCallback* callback) {
    if (!device || volumeFirstSector < 0) return nullptr;
    device_ = device;
    callback_ = callback;
    firstSector_ = volumeFirstSector;
    lastSector_ = device->GetTotalSectors() - 1;
    sectorsPerCluster_ = 1;
    CNTFSDBR boot;
    if (!ReadBootSector(*device, firstSector_, boot)) return nullptr;
    sectorsPerCluster_ = GetSectorsPerCluster(boot);

    CFileSystemNode* result = nullptr;
    try {
        platform::RunWorker([this, &result] {
            // Running out of memory on a huge volume gives no tree, not a dead process; everything
            // built so far is owned and goes on the way out.
            try {
                result = Work();
            } catch (const std::exception&) {
                result = nullptr;
            }
        });
    } catch (const std::exception&) {
        // The worker thread could not be started.
        return nullptr;
    }
    return result;
}

CFileSystemNode* CNTFSTreeBuilder::Work() {
    // A block per record and per node: the build's own slab saves taking the pool's lock for each.
    SmallBlockPool::ThreadCache blocks(TreePool());
    CNullDIRBuildCallback quiet;
    IDIRBuildCallback& callback = callback_ ? *callback_ : quiet;
    lostFolders_ = 0;
    CNTFSDBR boot;
    NtfsGeometry geometry;
    if (!ReadBootSector(*device_, firstSector_, boot) ||
        !GeometryFromBootSector(boot, firstSector_, geometry))
        return nullptr;
    // A device that does not know its size is bounded by the volume the boot sector describes.
    int64_t deviceSectors = lastSector_ + 1;
    if (deviceSectors <= 0) {
        const int64_t volume = GetTotalSectors(boot);
        deviceSectors = volume > INT64_MAX - firstSector_ - 1 ? INT64_MAX : firstSector_ + volume + 1;
    }

    CMFTInfo info;
    if (!LocateMft(*device_, boot, geometry, deviceSectors, info)) return nullptr;
    const MftMap mft(geometry, info.runs);
    std::string label;
    ReadNtfsLabel(info.recordSector, device_, label, geometry.recordSize);

    BuildRecordList records;
    CMftReader reader(*device_, mft, deviceSectors, records);
    if (!reader.ReadMft(callback, NtfsReadingPhaseText(language_))) return nullptr;

    callback.BeginPhase(NtfsDirectoryPhaseText(language_), static_cast<int64_t>(records.Size()));
    // Sorted here, before any node exists, the list needs no index beside it while the tree grows.
    SortByParent(records);
    TreeOwner<CFileSystemNode> root(CreateNtfsFileSystemNode(firstSector_, sectorsPerCluster_, 0, label));
    if (!root) return nullptr;
    const bool finished = AssembleTree(records, root.get(), &callback, &mft) &&
                          AttachLostFiles(records, root.get(), lostFolders_, &callback);
    ClearBuilderRecords(root.get());
    if (!finished || !root->GetFirstChild() || callback.IsCancelled() == kCancelled) return nullptr;
    return root.release();
}

}  // namespace keldrin::ntfs
