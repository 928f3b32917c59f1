#include "engine/ext2/Ext2Volume.h"

#include <algorithm>
#include <cstring>
#include <exception>

#include "engine/ext2/Ext2DirIterator.h"
#include "engine/ext2/Ext2FileSystem.h"

namespace keldrin::ext2 {

CExt2Volume::CExt2Volume(IStorageDevice* device, int64_t firstSector) {
    try {
        if (firstSector < 0 || firstSector > INT64_MAX - 2) return;
        const CExt2FileSystem fs(device, firstSector + 2);
        const std::string label = DecodeEntryName(fs.SuperBlock().VolumeName());
        std::memcpy(label_, label.data(), std::min(label.size(), sizeof label_ - 1));
        totalSectors_ = static_cast<int64_t>(uint64_t{fs.BlocksCount()} * fs.BlockSize() / 512);
        type_ = fs.Type();
    } catch (const std::exception&) {
        type_ = kFsUnknown;
        label_[0] = '\0';
        totalSectors_ = 0;
    }
}

void CExt2Volume::GetVolumeLabel(char* buffer, size_t size) {
    if (!buffer || size == 0) return;
    const size_t n = std::min(std::strlen(label_), size - 1);
    std::memcpy(buffer, label_, n);
    buffer[n] = '\0';
}

}  // namespace keldrin::ext2
