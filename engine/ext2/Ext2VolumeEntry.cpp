#include "engine/ext2/Ext2VolumeEntry.h"

#include <exception>

#include "engine/ext2/Ext2TreeBuilder.h"
#include "engine/ext2/Ext2Volume.h"
#include "shared/ScanSettings.h"

namespace keldrin::ext2 {

std::unique_ptr<IVolume> AnalyzeExt2Volume(IStorageDevice* device, int64_t firstSector) {
    return std::make_unique<CExt2Volume>(device, firstSector);
}

CFileSystemNode* BuildExt2VolumeTree(IStorageDevice* device, int64_t firstSector,
                                     IDIRBuildCallback* callback) {
    if (firstSector < 0 || firstSector > INT64_MAX - 2) return nullptr;
    try {
        return RunExt2Build(device, callback, firstSector + 2, false, GetScanSettings().language);
    } catch (const std::exception&) {
        return nullptr;
    }
}

}  // namespace keldrin::ext2
