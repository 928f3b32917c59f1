#include "engine/fat/FatVolumeAnalyze.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "engine/fat/FATBootRecord.h"
#include "engine/fat/FATVolumeLabel.h"
#include "engine/model/Utf8Cut.h"

namespace keldrin::fat {

CFatVolumeAnalyze::CFatVolumeAnalyze(IStorageDevice* device, int64_t firstSector) {
    if (!device || firstSector < 0) return;
    uint8_t sectors[4 * kSectorSize] = {};
    if (!device->ReadSectors(sectors, firstSector, 4)) return;
    const CFATBootRecord boot(sectors, kBootRecordSize);
    if (!boot.IsValid()) return;
    type_ = boot.GetType();
    totalSectors_ = boot.GetTotalSectors();
    std::string label;
    if (ReadVolumeLabel(device, firstSector, boot, label)) {
        const size_t length = Utf8PrefixLength(label, kLabelBufferSize - 1);
        std::memcpy(label_, label.data(), length);
    }
}

void CFatVolumeAnalyze::GetVolumeLabel(char* buffer, size_t size) {
    if (!buffer || size == 0) return;
    const std::string_view label(label_, strnlen(label_, kLabelBufferSize));
    const size_t length = Utf8PrefixLength(label, std::min(size, kLabelBufferSize) - 1);
    std::memcpy(buffer, label.data(), length);
    buffer[length] = '\0';
}

}  // namespace keldrin::fat
