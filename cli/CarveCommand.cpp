#include <CLI/CLI.hpp>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "cli/BuildProgress.h"
#include "cli/RecoverChecked.h"
#include "cli/ScanCommands.h"
#include "cli/Source.h"
#include "cli/TreeListing.h"
#include "engine/model/FileTree.h"
#include "engine/raw/RAWSearchController.h"
#include "engine/raw/RawFileStore.h"
#include "engine/raw/RawFileType.h"
#include "engine/raw/RawTreeBuilder.h"
#include "engine/search/SectorScan.h"
#include "shared/ScanSettings.h"

namespace keldrin::cli {
namespace {

struct CarveOptions {
    std::string source;
    std::string out;
    std::string types;
    int64_t maxSize = 0;
    bool list = false;
    bool force = false;
};

// "jpg,png" as type indices; false with the unknown extension in error.
bool ParseTypes(const std::string& text, std::vector<int>& types, std::string& error) {
    std::stringstream in(text);
    std::string item;
    while (std::getline(in, item, ',')) {
        if (item.empty()) continue;
        const int type = RawFileType::FindByExtension(item);
        if (type <= 0) {
            error = "unknown file type " + item;
            return false;
        }
        types.push_back(type);
    }
    if (types.empty()) error = "--types names no file type";
    return !types.empty();
}

int Recover(const CarveOptions& options, IStorageDevice* device, CFileSystemNode* root) {
    root->ToggleCheck(root, false);
    return RecoverCheckedFiles(device, root, {options.out, options.source, options.force});
}

int RunCarve(const CarveOptions& options) {
    RawRecoverySettings& raw = GetScanSettings().raw;
    std::string error;
    if (!options.types.empty()) {
        std::vector<int> types;
        if (!ParseTypes(options.types, types, error)) {
            std::cerr << "keldrin-cli: " << error << "\n";
            return kExitUsage;
        }
        raw.chosenTypes = types;
    }
    if (options.maxSize < 0) {
        std::cerr << "keldrin-cli: --max-size must be positive\n";
        return kExitUsage;
    }
    if (options.maxSize > 0) raw.maxFileSize = options.maxSize;
    if (!options.list && options.out.empty()) {
        std::cerr << "keldrin-cli: --out is required unless --list is given\n";
        return kExitUsage;
    }
    raw.recoverRawFiles = true;
    raw.recoverRawFilesOnly = true;

    OpenedSource source = OpenSource(options.source, error);
    if (!source.device) {
        std::cerr << "keldrin-cli: " << error << "\n";
        return kExitUnreadable;
    }
    IStorageDevice* device = source.device.get();

    CRAWSearchController scanner;
    const AnalyserList analysers{&scanner};
    CRawFileStore store;
    ShareRawFileStore(analysers, &store);
    CandidateList results;
    {
        ScanProgress progress;
        if (!RunSectorScan(device, analysers, results, &progress)) {
            std::cerr << "keldrin-cli: the scan could not start\n";
            return kExitUnreadable;
        }
        if (progress.WasCancelled()) {
            std::cerr << "keldrin-cli: cancelled\n";
            return kExitPartly;
        }
    }

    TreeOwner<CFileSystemNode> root;
    bool cancelled = false;
    {
        BuildProgress progress;
        ListIterator candidates = store.GetIterator();
        root.reset(CRawTreeBuilder::BuildRawTree(device, candidates, nullptr, &progress, false));
        cancelled = progress.WasCancelled();
    }
    if (!root) {
        std::cerr << "keldrin-cli: out of memory while building the RAW file tree\n";
        return kExitUnreadable;
    }
    if (cancelled) {
        std::cerr << "keldrin-cli: cancelled\n";
        return kExitPartly;
    }
    if (options.list) {
        PrintTree(root.get(), ListingFormat::kTsv, std::cout);
        return kExitOk;
    }
    return Recover(options, device, root.get());
}

}  // namespace

Command AddCarveCommand(CLI::App& app) {
    auto options = std::make_shared<CarveOptions>();
    CLI::App* sub = app.add_subcommand("carve", "Find files by their signatures alone and copy them out");
    sub->add_option("SOURCE", options->source, "Disk image file or block device (opened read-only)")
        ->required();
    sub->add_option("--out", options->out, "Destination folder (a folder \"Raw Files\" is made in it)");
    sub->add_option("--types", options->types,
                    "File types to look for, by extension (jpg,png,...); all by default");
    sub->add_option("--max-size", options->maxSize,
                    "Largest size of a file whose end must be searched for, in bytes");
    sub->add_flag("--list", options->list, "List the files found instead of copying them");
    sub->add_flag("--force", options->force, "Write even when the destination lies on the source");
    return {sub, [options] { return RunCarve(*options); }};
}

}  // namespace keldrin::cli
