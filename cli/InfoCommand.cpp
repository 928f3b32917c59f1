#include <CLI/CLI.hpp>
#include <cstdio>
#include <iostream>
#include <memory>
#include <vector>

#include "cli/Commands.h"
#include "cli/Format.h"
#include "cli/Source.h"
#include "engine/devices/FileSystemTypeName.h"
#include "engine/devices/PartitionTableAnalyze.h"
#include "engine/identify/IdentifyVolume.h"

namespace keldrin::cli {
namespace {

struct InfoOptions {
    std::string source;
};

// The partitions as "--partition N" names them; number 0 is a file system on the whole source.
void PrintPartitionTable(IStorageDevice* device) {
    std::vector<PartitionRecord> records;
    PartitionTableKind kind = PartitionTableKind::kNone;
    CPartitionTableAnalyze::ReadBasicPartitions(device, IdentifyVolume, records, &kind);
    std::cout << "table:   " << PartitionTableKindText(kind) << "\n";
    if (kind == PartitionTableKind::kDynamic)
        std::cout << "         (a dynamic disk: its volumes are not basic partitions)\n";
    if (records.empty()) {
        std::cout << "partitions: none\n";
        return;
    }
    char line[512];
    std::snprintf(line, sizeof line, "%-4s %-12s %-12s %-48s %-8s %s\n", "#", "start", "sectors", "type",
                  "fs", "label");
    std::cout << "\n" << line;
    for (const PartitionRecord& r : records) {
        std::string type = r.typeText.empty() ? "-" : r.typeText;
        if (!r.systemName.empty()) type += " (" + r.systemName + ")";
        std::snprintf(line, sizeof line, "%-4d %-12lld %-12lld %-48s %-8s %s\n", r.number,
                      static_cast<long long>(r.startSector), static_cast<long long>(r.sectorCount),
                      type.c_str(), FileSystemTypeName(r.fileSystemType), r.label.c_str());
        std::cout << line;
    }
}

int RunInfo(const InfoOptions& options) {
    std::string error;
    OpenedSource source = OpenSource(options.source, error);
    if (!source.device) {
        std::cerr << "keldrin-cli: " << error << "\n";
        return kExitUnreadable;
    }
    const int64_t sectors = source.device->GetTotalSectors();
    const uint64_t bytes = static_cast<uint64_t>(sectors) * kSectorSize;
    std::cout << "source:  " << options.source << "\n"
              << "kind:    " << source.kind << "\n"
              << "sectors: " << sectors << "\n"
              << "size:    " << bytes << " bytes (" << FormatSize(bytes) << ")\n";
    PrintPartitionTable(source.device.get());
    return kExitOk;
}

}  // namespace

Command AddInfoCommand(CLI::App& app) {
    auto options = std::make_shared<InfoOptions>();
    CLI::App* sub = app.add_subcommand(
        "info", "Show what a disk image file or block device holds, with its partition table");
    sub->add_option("SOURCE", options->source, "Disk image file or block device")->required();
    return {sub, [options] { return RunInfo(*options); }};
}

}  // namespace keldrin::cli
