#include <CLI/CLI.hpp>
#include <iostream>
#include <memory>
#include <string_view>

#include "cli/Commands.h"
#include "cli/FilterOptions.h"
#include "cli/RecoverChecked.h"
#include "cli/VolumeSelection.h"
#include "engine/model/FileProperties.h"

namespace keldrin::cli {
namespace {

struct RecoverOptions {
    VolumeArguments volume;
    std::string out;
    bool all = false;
    bool force = false;
    std::vector<std::string> paths;
    FilterOptions filters;
};

// The node at path ("Documents/Letters", as ls prints it) below root; null when there is none.
CFileNode* FindPath(CFileNode* root, std::string_view path) {
    CFileNode* node = root;
    while (node && !path.empty()) {
        const size_t slash = path.find('/');
        const std::string_view part = path.substr(0, slash);
        path = slash == std::string_view::npos ? std::string_view{} : path.substr(slash + 1);
        if (part.empty()) continue;
        CFileNode* found = nullptr;
        for (CFileNode* child = node->GetFirstChild(); child && !found; child = child->GetNextSibling()) {
            const IFileProperties* properties = child->GetProperties();
            if (properties && std::string_view(properties->GetName(), properties->GetNameLength()) == part)
                found = child;
        }
        node = found;
    }
    return node;
}

int RunRecover(const RecoverOptions& options) {
    SelectedView selected;
    const int status = BuildSelectedView(options.volume, options.all, options.filters, selected);
    if (status != kExitOk) return status;
    CFileSystemNode* root = selected.Root();
    if (options.paths.empty()) {
        root->ToggleCheck(root, false);
    } else {
        for (const std::string& path : options.paths) {
            CFileNode* node = FindPath(root, path);
            if (!node) {
                std::cerr << "keldrin-cli: --path " << path << " is not in the "
                          << (options.all ? "listing" : "deleted-files view (add --all for live files)")
                          << "\n";
                return kExitUsage;
            }
            if (node->GetProperties() && node->GetProperties()->GetCheckState() != kChecked)
                root->ToggleCheck(node, false);
        }
    }
    return RecoverCheckedFiles(selected.volume.source.device.get(), root,
                               {options.out, options.volume.source, options.force});
}

}  // namespace

Command AddRecoverCommand(CLI::App& app) {
    auto options = std::make_shared<RecoverOptions>();
    CLI::App* sub =
        app.add_subcommand("recover", "Copy files of a volume out (by default its deleted files)");
    AddVolumeArguments(sub, options->volume);
    sub->add_option("--out", options->out,
                    "Destination folder (a new folder named after the volume is made in it)")
        ->required();
    sub->add_flag("--all", options->all, "Recover every file, not only deleted and lost ones");
    sub->add_option("--path", options->paths, "Only what lies under this path of the listing (repeatable)");
    sub->add_flag("--force", options->force, "Write even when the destination lies on the source");
    AddFilterOptions(sub, options->filters);
    return {sub, [options] { return RunRecover(*options); }};
}

}  // namespace keldrin::cli
