#include "cli/VolumeTree.h"

#include "engine/devices/Volume.h"
#include "engine/ext2/Ext2VolumeEntry.h"
#include "engine/fat/FatVolumeEntry.h"
#include "engine/identify/IdentifyVolume.h"
#include "engine/ntfs/NTFSTreeBuilder.h"
#include "shared/ScanSettings.h"

namespace keldrin::cli {

VolumeTree BuildVolumeTree(IStorageDevice& device, int64_t firstSector, bool allEntries,
                           IDIRBuildCallback& callback) {
    VolumeTree result;
    std::unique_ptr<IVolume> volume = IdentifyVolume(&device, firstSector);
    result.fileSystemType = volume->GetFileSystemType();
    char label[100] = {};
    volume->GetVolumeLabel(label, sizeof label);
    result.label = label;
    const int language = GetScanSettings().language;
    switch (result.fileSystemType) {
        case kFsNtfs: {
            // Every record is listed; the deleted-files view is filtered afterwards.
            ntfs::CNTFSTreeBuilder builder(language);
            result.root.reset(builder.BuildTree(firstSector, &device, &callback));
            if (!result.root) result.error = "the NTFS volume yields no tree (damaged $MFT, or cancelled)";
            break;
        }
        case kFsFat12:
        case kFsFat16:
        case kFsFat32:
            // The deleted-files view reads only deleted entries; the live ones cost the most.
            result.root.reset(fat::BuildFatVolumeTree(&device, firstSector, allEntries, &callback));
            if (!result.root) result.error = "the FAT volume yields no tree (damaged tables, or cancelled)";
            break;
        case kFsExt2:
        case kFsExt3:
            result.root.reset(ext2::BuildExt2VolumeTree(&device, firstSector, &callback));
            if (!result.root)
                result.error = "the Ext2/3 volume yields no tree (damaged superblock, or cancelled)";
            break;
        case kFsUnknown:
            result.error = "no file system recognised at sector " + std::to_string(firstSector);
            break;
        default:
            result.error = std::string("the ") + FileSystemTypeText(result.fileSystemType) +
                           " reader is not available yet";
            break;
    }
    return result;
}

}  // namespace keldrin::cli
