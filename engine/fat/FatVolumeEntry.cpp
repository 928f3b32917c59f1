#include "engine/fat/FatVolumeEntry.h"

#include "engine/fat/FATBootRecord.h"
#include "engine/fat/FATQuickBuild.h"
#include "engine/fat/FATSearchedPartitionInfo.h"
#include "engine/fat/FatVolumeAnalyze.h"
#include "shared/ScanSettings.h"

namespace keldrin::fat {

std::unique_ptr<IVolume> AnalyzeFatVolume(IStorageDevice* device, int64_t firstSector) {
    return std::make_unique<CFatVolumeAnalyze>(device, firstSector);
}

CFileSystemNode* BuildFatVolumeTree(IStorageDevice* device, int64_t firstSector, bool includeLive,
                                    IDIRBuildCallback* callback) {
    if (!device || firstSector < 0) return nullptr;
    uint8_t sector[kBootRecordSize] = {};
    if (!device->ReadSectors(sector, firstSector, 1)) return nullptr;
    const CFATBootRecord boot(sector, sizeof sector);
    // As the wizard fills the record for a volume it found by its boot record.
    CFATSearchedPartitionInfo info;
    info.fileSystemType = boot.GetType();
    info.partitionStart = firstSector;
    info.sectorsPerCluster = boot.GetSectorsPerCluster();
    info.reservedSectors = boot.GetReservedSectors();
    info.sectorsPerFAT = boot.GetSectorsPerFAT();
    info.partitionSectors = boot.GetTotalSectors();
    switch (boot.GetType()) {
        case kFsFat12:
            info.flags |= kFromFAT12DBR;
            break;
        case kFsFat16:
            info.flags |= kFromFAT16DBR;
            break;
        default:
            // Not FAT at the boot sector: a FAT32 volume may still be known by its backup.
            info.flags |= kFromFAT32DBR | kFromFAT32BackupDBR;
            break;
    }
    const ScanSettings& settings = GetScanSettings();
    if (settings.fatUseFirstCopy) info.flags |= kFoundFAT1 | kUseFAT1;
    if (settings.fatUseSecondCopy) info.flags |= kFoundFAT2 | kUseFAT2;
    return RunQuickBuild(callback, info, device, includeLive, settings.language);
}

}  // namespace keldrin::fat
