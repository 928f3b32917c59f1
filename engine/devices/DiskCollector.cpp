#include "engine/devices/DiskCollector.h"

#include <filesystem>

#include "engine/devices/DiskDevice.h"
#include "engine/devices/DiskDisplayName.h"
#include "platform/BlockTopology.h"
#include "platform/DiskList.h"

namespace keldrin {

void CCollectDiskDevice::CollectDiskDevice(DiskDeviceList& disks) {
    const size_t count = platform::DiskList().Count();
    for (size_t n = 0; n < count; ++n) {
        auto device = std::make_unique<CDiskDevice>(static_cast<int>(n));
        if (!device->IsOpen()) continue;
        StorageDisk disk;
        disk.number = device->GetDiskNumber();
        disk.devicePath = device->GetDevicePath();
        disk.kernelName = std::filesystem::path(disk.devicePath).filename().string();
        const platform::DiskFacts facts = platform::ReadDiskFacts(disk.kernelName);
        disk.deviceNumber = facts.deviceNumber;
        disk.busName = facts.bus;
        disk.usb = facts.bus == "usb";
        disk.displayName = MakeDiskDisplayName(facts.vendor, facts.model, BusDisplayText(facts.bus));
        // Loop devices and some virtual disks report neither vendor nor model.
        if (TrimDescriptorText(facts.vendor).empty() && TrimDescriptorText(facts.model).empty())
            disk.displayName = MakeDiskDisplayName({}, disk.kernelName, BusDisplayText(facts.bus));
        disk.device = std::move(device);
        disks.push_back(std::move(disk));
    }
}

StorageDisk MakeImageDisk(std::unique_ptr<IStorageDevice> device, const std::string& path) {
    StorageDisk disk;
    disk.device = std::move(device);
    disk.devicePath = path;
    disk.displayName = MakeDiskDisplayName({}, std::filesystem::path(path).filename().string(), {});
    return disk;
}

}  // namespace keldrin
