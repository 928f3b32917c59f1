#include "engine/devices/VolumeProbe.h"

#include <cstring>
#include <memory>

namespace keldrin {
namespace {

// Cuts after maxChars code points, never inside one.
std::string CutUtf8(const char* text, size_t maxChars) {
    size_t chars = 0, at = 0;
    const size_t size = std::strlen(text);
    while (at < size) {
        if ((static_cast<unsigned char>(text[at]) & 0xC0) != 0x80) {
            if (chars == maxChars) break;
            ++chars;
        }
        ++at;
    }
    return std::string(text, at);
}

}  // namespace

ProbedVolume ProbeVolume(const VolumeIdentifier& identify, IStorageDevice* device, int64_t firstSector) {
    ProbedVolume probed;
    if (!identify || !device) return probed;
    const std::unique_ptr<IVolume> volume = identify(device, firstSector);
    if (!volume) return probed;
    probed.fileSystemType = volume->GetFileSystemType();
    if (probed.fileSystemType < kFsFat12 || probed.fileSystemType > kFsUnknown ||
        probed.fileSystemType == kFsRaw)
        probed.fileSystemType = kFsUnknown;
    if (!probed.IsRecognised()) return probed;
    probed.totalSectors = volume->GetTotalSectors();
    if (probed.totalSectors < 0) probed.totalSectors = 0;
    char label[kMaxLabelChars * 4 + 1] = {};
    volume->GetVolumeLabel(label, sizeof label);
    label[sizeof label - 1] = '\0';
    probed.label = CutUtf8(label, kMaxLabelChars);
    return probed;
}

}  // namespace keldrin
