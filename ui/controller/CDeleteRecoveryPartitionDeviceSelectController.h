// The device page of the Deleted File Recovery mode: the list of volumes whose file system is
// recognised, the opened disk images, and the quick tree build of the chosen one.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "engine/devices/StorageDisk.h"
#include "engine/devices/VolumeEntry.h"
#include "ui/controller/CFileSelectController.h"
#include "ui/controller/CWizardPageControllerBase.h"
#include "ui/controller/DeviceRows.h"

namespace keldrin::ui {

class CDeleteRecoveryPartitionDeviceSelectController final : public CWizardPageControllerBase {
  public:
    using TreeBuilder = std::function<CFileSystemNode*(VolumeEntry&, IDIRBuildCallback&)>;
    // The machine's disks; injectable so tests see only what they put there.
    using DiskSource = std::function<void(DiskDeviceList&)>;

    CDeleteRecoveryPartitionDeviceSelectController(IWizardHost& host, CFileSelectController& fileSelect);

    void SetTreeBuilder(TreeBuilder builder) { builder_ = std::move(builder); }
    void SetDiskSource(DiskSource source) { diskSource_ = std::move(source); }

    void Enter() override;
    bool GoNext() override;
    int GetRecoveryMode() const override { return kModeDeletedFile; }
    DeviceSource GetDeviceSource() const override { return {1, selected_}; }
    void Release() override;

    // Collects the disks and volumes again under the waiting notice and rebuilds the rows.
    void RefreshDevices();
    // Opens a raw disk image read-only and lists its partitions (or the volume written on the whole
    // image) after the machine's volumes. False when the file cannot be read or holds no volume
    // whose file system is recognised.
    bool OpenImage(const std::string& path);
    // Takes the selected image, with every volume listed from it, off the list.
    bool DeleteImage();
    // The row the user selected, -1 for none; true when it is a row of the list.
    bool SelectEntry(int row);
    bool IsImageEntry() const { return selected_ && selected_->isImage; }
    // Whether writing to destinationFolder could overwrite the selected volume.
    bool IsSameDrive(const std::string& destinationFolder) const override;

    const std::vector<DeviceRow>& Rows() const { return rows_; }

  private:
    void RebuildRows();

    CFileSelectController& fileSelect_;
    TreeBuilder builder_;
    DiskSource diskSource_;
    // Disks before the volumes on them, so each list of volumes goes first.
    DiskDeviceList disks_;
    VolumeList volumes_;
    // The opened images stay listed until the program ends.
    DiskDeviceList imageDisks_;
    VolumeList imageVolumes_;
    std::vector<DeviceRow> rows_;
    std::vector<VolumeEntry*> rowEntries_;
    VolumeEntry* selected_ = nullptr;
    bool showTip_ = true;
};

}  // namespace keldrin::ui
