#include "cli/VolumeSelection.h"

#include <CLI/CLI.hpp>
#include <iostream>

#include "cli/BuildProgress.h"
#include "cli/Commands.h"
#include "engine/devices/PartitionSelect.h"
#include "engine/identify/IdentifyVolume.h"

namespace keldrin::cli {

void AddVolumeArguments(CLI::App* sub, VolumeArguments& out) {
    sub->add_option("SOURCE", out.source, "Disk image file or block device")->required();
    CLI::Option* offset =
        sub->add_option("--offset", out.offset, "First sector of the volume on the source (default 0)");
    sub->add_option("--partition", out.partition, "The volume is partition N of the source (see info)")
        ->excludes(offset);
}

int BuildSelectedVolume(const VolumeArguments& arguments, bool allEntries, SelectedVolume& out) {
    std::string error;
    out.source = OpenSource(arguments.source, error);
    if (!out.source.device) {
        std::cerr << "keldrin-cli: " << error << "\n";
        return kExitUnreadable;
    }
    IStorageDevice& device = *out.source.device;
    out.firstSector = arguments.offset;
    if (arguments.partition >= 0) {
        int64_t count = 0;
        if (!FindBasicPartition(&device, arguments.partition, IdentifyVolume, out.firstSector, count)) {
            std::cerr << "keldrin-cli: " << arguments.source << " has no partition " << arguments.partition
                      << " (keldrin-cli info lists them)\n";
            return kExitUnreadable;
        }
    }
    if (out.firstSector < 0 || out.firstSector >= device.GetTotalSectors()) {
        std::cerr << "keldrin-cli: --offset " << out.firstSector << " lies outside " << arguments.source
                  << " (" << device.GetTotalSectors() << " sectors)\n";
        return kExitUsage;
    }
    BuildProgress progress;
    out.tree = BuildVolumeTree(device, out.firstSector, allEntries, progress);
    if (progress.WasCancelled()) {
        std::cerr << "keldrin-cli: cancelled\n";
        return kExitUnreadable;
    }
    if (!out.tree.root) {
        std::cerr << "keldrin-cli: " << arguments.source << ": " << out.tree.error << "\n";
        return kExitUnreadable;
    }
    return kExitOk;
}

int BuildSelectedView(const VolumeArguments& arguments, bool all, const FilterOptions& filters,
                      SelectedView& out) {
    std::string error;
    if (!OptionalCriteria(filters, out.criteria, error)) {
        std::cerr << "keldrin-cli: " << error << "\n";
        return kExitUsage;
    }
    const int status = BuildSelectedVolume(arguments, all, out.volume);
    if (status != kExitOk) return status;
    out.view.emplace(out.volume.tree.root.get(), all, out.criteria);
    if (!out.Root()) {
        std::cerr << "keldrin-cli: out of memory while filtering the tree\n";
        return kExitUnreadable;
    }
    return kExitOk;
}

}  // namespace keldrin::cli
