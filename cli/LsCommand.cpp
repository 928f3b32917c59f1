#include <CLI/CLI.hpp>
#include <iostream>
#include <memory>
#include <optional>

#include "cli/BuildProgress.h"
#include "cli/Commands.h"
#include "cli/FilterOptions.h"
#include "cli/ListingView.h"
#include "cli/Source.h"
#include "cli/TreeListing.h"
#include "cli/VolumeTree.h"
#include "engine/devices/PartitionSelect.h"
#include "engine/identify/IdentifyVolume.h"

namespace keldrin::cli {
namespace {

struct LsOptions {
    std::string source;
    int64_t offset = 0;
    int partition = -1;
    bool all = false;
    std::string format = "tsv";
    FilterOptions filters;
};

bool AnyFilter(const FilterOptions& f) {
    return !f.name.empty() || !f.extensions.empty() || !f.sizeMinKb.empty() || !f.sizeMaxKb.empty() ||
           !f.modified.empty() || !f.created.empty() || !f.accessed.empty() || f.noEncrypted;
}

int RunLs(const LsOptions& options) {
    std::string error;
    std::optional<SearchCriteria> criteria;
    if (AnyFilter(options.filters)) {
        criteria.emplace();
        if (!BuildSearchCriteria(options.filters, *criteria, error)) {
            std::cerr << "keldrin-cli: " << error << "\n";
            return kExitUsage;
        }
    }
    OpenedSource source = OpenSource(options.source, error);
    if (!source.device) {
        std::cerr << "keldrin-cli: " << error << "\n";
        return kExitUnreadable;
    }
    int64_t offset = options.offset;
    if (options.partition >= 0) {
        int64_t count = 0;
        if (!FindBasicPartition(source.device.get(), options.partition, IdentifyVolume, offset, count)) {
            std::cerr << "keldrin-cli: " << options.source << " has no partition " << options.partition
                      << " (keldrin-cli info lists them)\n";
            return kExitUnreadable;
        }
    }
    if (offset < 0 || offset >= source.device->GetTotalSectors()) {
        std::cerr << "keldrin-cli: --offset " << offset << " lies outside " << options.source << " ("
                  << source.device->GetTotalSectors() << " sectors)\n";
        return kExitUsage;
    }
    BuildProgress progress;
    VolumeTree tree = BuildVolumeTree(*source.device, offset, options.all, progress);
    if (progress.WasCancelled()) {
        std::cerr << "keldrin-cli: cancelled\n";
        return kExitUnreadable;
    }
    if (!tree.root) {
        std::cerr << "keldrin-cli: " << options.source << ": " << tree.error << "\n";
        return kExitUnreadable;
    }
    const ListingFormat format = options.format == "json" ? ListingFormat::kJson : ListingFormat::kTsv;
    std::ios::sync_with_stdio(false);
    const ListingView view(tree.root.get(), options.all, criteria);
    if (!view.Root()) {
        std::cerr << "keldrin-cli: out of memory while filtering the tree\n";
        return kExitUnreadable;
    }
    PrintTree(view.Root(), format, std::cout);
    std::cout.flush();
    return std::cout ? kExitOk : kExitUnreadable;
}

}  // namespace

Command AddLsCommand(CLI::App& app) {
    auto options = std::make_shared<LsOptions>();
    CLI::App* sub =
        app.add_subcommand("ls", "List the recovered-file tree of a volume (by default its deleted files)");
    sub->add_option("SOURCE", options->source, "Disk image file or block device")->required();
    CLI::Option* offset =
        sub->add_option("--offset", options->offset, "First sector of the volume on the source (default 0)");
    sub->add_option("--partition", options->partition, "The volume is partition N of the source (see info)")
        ->excludes(offset);
    sub->add_flag("--all", options->all, "List every file and folder, not only deleted and lost ones");
    sub->add_option("--format", options->format, "tsv (default) or json lines")
        ->check(CLI::IsMember({"tsv", "json"}));
    AddFilterOptions(sub, options->filters);
    return {sub, [options] { return RunLs(*options); }};
}

}  // namespace keldrin::cli
