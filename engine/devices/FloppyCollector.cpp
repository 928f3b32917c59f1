#include <sys/stat.h>

#include <memory>

#include "engine/devices/ScopeTimer.h"
#include "engine/devices/VolumeCollector.h"
#include "engine/devices/VolumeDevice.h"
#include "engine/devices/VolumeProbe.h"
#include "platform/BlockTopology.h"
#include "platform/MountInfo.h"

namespace keldrin {

void CCollectFloppyDiskDevice::CollectFloppyDiskDevice(VolumeList& entries,
                                                       const VolumeIdentifier& identify) {
    ScopeTimer timer("CCollectFloppyDiskDevice::CollectFloppyDiskDevice");
    const std::vector<platform::MountEntry> mounts = platform::ReadMountInfo();
    for (int drive = 0; drive < 2; ++drive) {
        const std::string path = platform::FloppyDevicePath(drive);
        struct stat st {};
        if (::stat(path.c_str(), &st) != 0) break;
        uint64_t number = platform::ReadDeviceNumber("fd" + std::to_string(drive));
        if (number == 0 && S_ISBLK(st.st_mode)) number = st.st_rdev;
        const std::string mountPoint = platform::FindMountPoint(mounts, number);
        auto device = std::make_unique<CVolumeDevice>(path, mountPoint);
        // An empty drive opens on some systems but has no sectors; either way probing ends here.
        if (!device->IsOpen() || device->GetTotalSectors() <= 0) break;
        const ProbedVolume fs = ProbeVolume(identify, device.get(), 0);
        VolumeEntry entry;
        entry.kind = kVolumeKindBasic;
        entry.device = std::move(device);
        entry.fileSystemType = fs.fileSystemType;
        entry.label = fs.label;
        entry.mountPoint = mountPoint;
        entry.devicePath = path;
        entry.deviceNumber = number;
        entry.isFloppy = true;
        entries.push_back(std::move(entry));
    }
}

}  // namespace keldrin
