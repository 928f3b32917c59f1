#include "cli/DevicesCommand.h"

#include <unistd.h>

#include <CLI/CLI.hpp>
#include <cstdio>
#include <iostream>
#include <memory>
#include <string>

#include "cli/Format.h"
#include "cli/TreeListing.h"
#include "engine/devices/DiskCollector.h"
#include "engine/devices/FileSystemTypeName.h"
#include "engine/devices/VolumeCollector.h"
#include "engine/identify/IdentifyVolume.h"
#include "platform/DiskList.h"

namespace keldrin::cli {
namespace {

struct DevicesOptions {
    bool json = false;
};

int64_t Sectors(IStorageDevice* device) {
    return device ? device->GetTotalSectors() : 0;
}

std::string Bytes(int64_t sectors) {
    return FormatSize(static_cast<uint64_t>(sectors < 0 ? 0 : sectors) * kSectorSize);
}

void PrintJson(const DiskDeviceList& disks, const VolumeList& volumes) {
    std::cout << "{\n  \"disks\": [";
    for (size_t i = 0; i < disks.size(); ++i) {
        const StorageDisk& d = disks[i];
        std::cout << (i ? "," : "") << "\n    {\"number\": " << d.number
                  << ", \"name\": " << JsonString(d.displayName)
                  << ", \"device\": " << JsonString(d.devicePath)
                  << ", \"sectors\": " << Sectors(d.device.get()) << ", \"bus\": " << JsonString(d.busName)
                  << ", \"usb\": " << (d.usb ? "true" : "false") << "}";
    }
    std::cout << (disks.empty() ? "" : "\n  ") << "],\n  \"volumes\": [";
    for (size_t i = 0; i < volumes.size(); ++i) {
        const VolumeEntry& v = volumes[i];
        const VolumeMember& m = v.members[0];
        std::cout << (i ? "," : "") << "\n    {\"type\": " << JsonString(FileSystemTypeName(v.fileSystemType))
                  << ", \"label\": " << JsonString(v.label)
                  << ", \"mountPoint\": " << (v.mountPoint.empty() ? "null" : JsonString(v.mountPoint))
                  << ", \"device\": " << (v.devicePath.empty() ? "null" : JsonString(v.devicePath))
                  << ", \"sectors\": " << Sectors(v.device.get()) << ", \"disk\": " << m.diskNumber
                  << ", \"partition\": " << v.partitionNumber << ", \"startSector\": " << m.startSector
                  << ", \"floppy\": " << (v.isFloppy ? "true" : "false")
                  << ", \"usb\": " << (v.isUsb ? "true" : "false")
                  << ", \"diskText\": " << JsonString(v.diskText) << "}";
    }
    std::cout << (volumes.empty() ? "" : "\n  ") << "]\n}\n";
}

void PrintText(const DiskDeviceList& disks, const VolumeList& volumes) {
    char line[512];
    std::cout << "Disks:\n";
    std::snprintf(line, sizeof line, "  %-4s %-12s %-7s %-14s %s\n", "#", "size", "bus", "device", "name");
    std::cout << line;
    for (const StorageDisk& d : disks) {
        std::snprintf(line, sizeof line, "  %-4d %-12s %-7s %-14s %s\n", d.number,
                      Bytes(Sectors(d.device.get())).c_str(), d.busName.empty() ? "-" : d.busName.c_str(),
                      d.devicePath.c_str(), d.displayName.c_str());
        std::cout << line;
    }
    std::cout << "\nVolumes:\n";
    std::snprintf(line, sizeof line, "  %-8s %-20s %-20s %-12s %-16s %s\n", "type", "label", "mount point",
                  "size", "device", "disk");
    std::cout << line;
    for (const VolumeEntry& v : volumes) {
        std::string device = v.devicePath;
        if (device.empty() && v.partitionNumber >= 0)
            device =
                "disk " + std::to_string(v.members[0].diskNumber) + " #" + std::to_string(v.partitionNumber);
        std::snprintf(line, sizeof line, "  %-8s %-20s %-20s %-12s %-16s %s\n",
                      FileSystemTypeName(v.fileSystemType), v.label.c_str(),
                      v.mountPoint.empty() ? "*" : v.mountPoint.c_str(),
                      Bytes(Sectors(v.device.get())).c_str(), device.c_str(),
                      v.isFloppy ? "floppy drive" : v.diskText.c_str());
        std::cout << line;
    }
}

int RunDevices(const DevicesOptions& options) {
    DiskDeviceList disks;
    CCollectDiskDevice::CollectDiskDevice(disks);
    VolumeList volumes;
    CCollectAllBasicPartitionandDynamicVolume::CollectAllBasicPartitionandDynamicVolume(disks, volumes,
                                                                                        IdentifyVolume);
    const size_t listed = platform::DiskList().Count();
    if (disks.size() < listed)
        std::cerr << "keldrin-cli: " << listed - disks.size() << " disk(s) could not be opened for reading"
                  << (::geteuid() != 0 ? " (reading disks needs root)" : "") << "\n";
    if (options.json)
        PrintJson(disks, volumes);
    else
        PrintText(disks, volumes);
    return kExitOk;
}

}  // namespace

Command AddDevicesCommand(CLI::App& app) {
    auto options = std::make_shared<DevicesOptions>();
    CLI::App* sub =
        app.add_subcommand("devices", "List the disks and the volumes on them, mounted ones first");
    sub->add_flag("--json", options->json, "Write the lists as JSON");
    return {sub, [options] { return RunDevices(*options); }};
}

}  // namespace keldrin::cli
