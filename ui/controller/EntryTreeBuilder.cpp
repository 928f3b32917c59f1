#include "ui/controller/EntryTreeBuilder.h"

#include "engine/ntfs/NTFSTreeBuilder.h"
#include "shared/ScanSettings.h"
#ifdef KELDRIN_HAVE_FAT
#include "engine/fat/FatVolumeEntry.h"
#endif
#ifdef KELDRIN_HAVE_EXT2
#include "engine/ext2/Ext2VolumeEntry.h"
#endif

namespace keldrin::ui {

CFileSystemNode* BuildEntryTree(VolumeEntry& entry, IDIRBuildCallback& callback) {
    IStorageDevice* device = entry.device.get();
    if (!device) return nullptr;
    // Every entry's device is a window that starts at the volume's first sector.
    switch (entry.fileSystemType) {
        case kFsNtfs: {
            ntfs::CNTFSTreeBuilder builder(GetScanSettings().language);
            return builder.BuildTree(0, device, &callback);
        }
#ifdef KELDRIN_HAVE_FAT
        case kFsFat12:
        case kFsFat16:
        case kFsFat32:
            // Only the deleted entries are wanted here, and the live ones cost the most to read.
            return fat::BuildFatVolumeTree(device, 0, false, &callback);
#endif
#ifdef KELDRIN_HAVE_EXT2
        case kFsExt2:
        case kFsExt3:
            return ext2::BuildExt2VolumeTree(device, 0, &callback);
#endif
        default:
            return nullptr;
    }
}

}  // namespace keldrin::ui
