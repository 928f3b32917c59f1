#include "cli/VolumeTree.h"

#include "engine/devices/Volume.h"
#include "engine/identify/IdentifyVolume.h"
#include "engine/ntfs/NTFSTreeBuilder.h"
#include "shared/ScanSettings.h"

namespace keldrin::cli {

VolumeTree BuildVolumeTree(IStorageDevice& device, int64_t firstSector, bool allEntries,
                           IDIRBuildCallback& callback) {
    (void)allEntries;  // NTFS always lists every record; the view is filtered afterwards
    VolumeTree result;
    std::unique_ptr<IVolume> volume = IdentifyVolume(&device, firstSector);
    result.fileSystemType = volume->GetFileSystemType();
    char label[100] = {};
    volume->GetVolumeLabel(label, sizeof label);
    result.label = label;
    const int language = GetScanSettings().language;
    switch (result.fileSystemType) {
        case kFsNtfs: {
            ntfs::CNTFSTreeBuilder builder(language);
            result.root.reset(builder.BuildTree(firstSector, &device, &callback));
            if (!result.root) result.error = "the NTFS volume yields no tree (damaged $MFT, or cancelled)";
            break;
        }
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
