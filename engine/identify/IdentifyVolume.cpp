#include "engine/identify/IdentifyVolume.h"

#include <functional>
#include <vector>

#include "engine/ext2/Ext2VolumeEntry.h"
#include "engine/fat/FatVolumeEntry.h"
#include "engine/identify/UnknownVolume.h"
#include "engine/ntfs/NtfsVolumeAnalyze.h"

namespace keldrin {
namespace {

using Analyser = std::function<std::unique_ptr<IVolume>(IStorageDevice*, int64_t)>;

// The order matters: a volume that carries both an NTFS and a FAT boot record is NTFS.
const std::vector<Analyser>& Analysers() {
    static const std::vector<Analyser> analysers = {
        [](IStorageDevice* d, int64_t first) { return std::make_unique<ntfs::CNtfsVolumeAnalyze>(d, first); },
        [](IStorageDevice* d, int64_t first) { return fat::AnalyzeFatVolume(d, first); },
        [](IStorageDevice* d, int64_t first) { return ext2::AnalyzeExt2Volume(d, first); },
    };
    return analysers;
}

}  // namespace

std::unique_ptr<IVolume> IdentifyVolume(IStorageDevice* device, int64_t firstSector) {
    if (device) {
        for (const Analyser& analyse : Analysers()) {
            std::unique_ptr<IVolume> volume = analyse(device, firstSector);
            if (volume && volume->GetFileSystemType() != kFsUnknown) return volume;
        }
    }
    return std::make_unique<UnknownVolume>();
}

}  // namespace keldrin
