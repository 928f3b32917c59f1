#include <CLI/CLI.hpp>

#include <iostream>
#include <memory>

#include "cli/Commands.h"
#include "cli/Format.h"
#include "cli/Source.h"

namespace keldrin::cli {
namespace {

struct InfoOptions {
    std::string source;
};

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
    return kExitOk;
}

}  // namespace

Command AddInfoCommand(CLI::App& app) {
    auto options = std::make_shared<InfoOptions>();
    CLI::App* sub = app.add_subcommand("info", "Show what a disk image file or block device holds");
    sub->add_option("SOURCE", options->source, "Disk image file or block device")->required();
    return {sub, [options] { return RunInfo(*options); }};
}

}  // namespace keldrin::cli
