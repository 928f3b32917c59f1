#include "ui/controller/CDeleteRecoveryPartitionDeviceSelectController.h"

#include <filesystem>

#include "engine/devices/DiskCollector.h"
#include "engine/devices/FileSystemTypeName.h"
#include "engine/devices/ImageFileDevice.h"
#include "engine/devices/SameSource.h"
#include "engine/devices/VolumeCollector.h"
#include "engine/identify/IdentifyVolume.h"
#include "engine/model/FileFilter.h"
#include "engine/model/FileProperties.h"
#include "ui/controller/DeviceRows.h"
#include "ui/controller/EntryTreeBuilder.h"
#include "ui/controller/Format.h"
#include "ui/controller/Messages.h"
#include "ui/controller/PageIndex.h"

namespace keldrin::ui {

CDeleteRecoveryPartitionDeviceSelectController::CDeleteRecoveryPartitionDeviceSelectController(
    IWizardHost& host, CFileSelectController& fileSelect)
    : CWizardPageControllerBase(host, kPageDeleteDevice),
      fileSelect_(fileSelect),
      builder_(BuildEntryTree),
      diskSource_(CCollectDiskDevice::CollectDiskDevice) {}

void CDeleteRecoveryPartitionDeviceSelectController::Enter() {
    RefreshDevices();
    host_.ShowPage(kPageDeleteDevice);
}

void CDeleteRecoveryPartitionDeviceSelectController::Release() {
    selected_ = nullptr;
    rows_.clear();
    rowEntries_.clear();
    volumes_.clear();
    disks_.clear();
}

void CDeleteRecoveryPartitionDeviceSelectController::RefreshDevices() {
    host_.BeginWaiting();
    Release();
    diskSource_(disks_);
    if (!disks_.empty())
        CCollectAllBasicPartitionandDynamicVolume::CollectAllBasicPartitionandDynamicVolume(disks_, volumes_,
                                                                                            IdentifyVolume);
    host_.EndWaiting();
    RebuildRows();
}

void CDeleteRecoveryPartitionDeviceSelectController::RebuildRows() {
    selected_ = nullptr;
    rows_.clear();
    rowEntries_.clear();
    // Every volume whose file system is recognised, mounted or not: reading needs no mount here.
    for (VolumeEntry& entry : volumes_) {
        if (!IsListed(entry)) continue;
        rows_.push_back(VolumeRow(entry));
        rowEntries_.push_back(&entry);
    }
    for (VolumeEntry& entry : imageVolumes_) {
        if (!entry.device) continue;
        const VolumeMember& member = entry.members[0];
        std::string name = "?";
        size_t onDisk = 0;
        for (const StorageDisk& disk : imageDisks_) {
            if (disk.device.get() != member.disk) continue;
            name = std::filesystem::path(disk.devicePath).filename().string();
            for (const VolumeEntry& other : imageVolumes_) onDisk += other.members[0].disk == member.disk;
        }
        rows_.push_back(ImageRow(entry, name, onDisk > 1 && entry.partitionNumber >= 0));
        rowEntries_.push_back(&entry);
    }
}

bool CDeleteRecoveryPartitionDeviceSelectController::OpenImage(const std::string& path) {
    auto device = std::make_unique<CImageFileDevice>(path);
    if (!device->Open() || device->GetTotalSectors() <= 0) return false;
    DiskDeviceList one;
    one.push_back(MakeImageDisk(std::move(device), path));
    VolumeList found;
    CCollectBasicPartition::CollectBasicPartition(one, found, IdentifyVolume);
    size_t usable = 0;
    for (VolumeEntry& entry : found) {
        entry.isImage = true;
        // An image is never mounted here, whatever the machine's mount table says about its twin.
        entry.mountPoint.clear();
        entry.devicePath.clear();
        entry.deviceNumber = 0;
        if (IsListed(entry)) ++usable;
    }
    if (usable == 0) return false;
    imageDisks_.push_back(std::move(one.front()));
    for (VolumeEntry& entry : found)
        if (IsListed(entry)) imageVolumes_.push_back(std::move(entry));
    RebuildRows();
    return true;
}

bool CDeleteRecoveryPartitionDeviceSelectController::DeleteImage() {
    if (!IsImageEntry()) return false;
    // The whole image goes: every volume listed from it, then the image itself.
    const IStorageDevice* image = selected_->members[0].disk;
    std::erase_if(imageVolumes_, [image](const VolumeEntry& e) { return e.members[0].disk == image; });
    std::erase_if(imageDisks_, [image](const StorageDisk& d) { return d.device.get() == image; });
    RebuildRows();
    return true;
}

bool CDeleteRecoveryPartitionDeviceSelectController::SelectEntry(int row) {
    selected_ = row >= 0 && static_cast<size_t>(row) < rowEntries_.size() ? rowEntries_[row] : nullptr;
    return selected_ != nullptr;
}

bool CDeleteRecoveryPartitionDeviceSelectController::IsSameDrive(const std::string& destinationFolder) const {
    return selected_ && IsSameSource(*selected_, destinationFolder);
}

bool CDeleteRecoveryPartitionDeviceSelectController::GoNext() {
    if (!selected_) {
        host_.ShowMessage(msg::kSelectPartition);
        return false;
    }
    TreeOwner<CFileSystemNode> built;
    VolumeEntry& entry = *selected_;
    const bool finished =
        host_.RunBuild([&](IDIRBuildCallback& callback) { built.reset(builder_(entry, callback)); });
    // A confirmed abort drops whatever the builder returned; the page stays, silently.
    if (!finished) return false;

    // The view of this mode: what was deleted, lost or cross-linked.
    CFileStateFilter filter(kStateDeleted | kStateLost | kStateCrossLink);
    FilteredCopyOwner copy;
    if (built) {
        CFilteredTreeBuilder filtered(&filter);
        copy.reset(filtered.Build(built.get()));
    }
    std::unique_ptr<RecoveredTree> tree = RecoveredTree::Make(std::move(built), std::move(copy));
    if (!tree) {
        host_.ShowMessage(msg::kNoFilesFound);
        return true;
    }
    if (showTip_ && host_.ShowTip(msg::kCompleteRecoveryTip)) showTip_ = false;
    fileSelect_.SetTree(std::move(tree));
    EnterNext(fileSelect_);
    return true;
}

}  // namespace keldrin::ui
