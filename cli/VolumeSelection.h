// The volume a listing or recovery command works on: the SOURCE opened read-only, the volume's first
// sector from --offset or --partition, and its tree built with a progress bar.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "cli/FilterOptions.h"
#include "cli/ListingView.h"
#include "cli/Source.h"
#include "cli/VolumeTree.h"

namespace CLI {
class App;
}

namespace keldrin::cli {

struct VolumeArguments {
    std::string source;
    int64_t offset = 0;
    int partition = -1;
};

struct SelectedVolume {
    OpenedSource source;
    int64_t firstSector = 0;
    VolumeTree tree;
};

// Adds SOURCE, --offset and --partition.
void AddVolumeArguments(CLI::App* sub, VolumeArguments& out);

// Opens the source and builds the tree of the chosen volume. On failure the message is printed
// and the exit status returned; kExitOk otherwise.
int BuildSelectedVolume(const VolumeArguments& arguments, bool allEntries, SelectedVolume& out);

// The built tree and the part of it a command works on: the deleted-files view or everything,
// narrowed by the filter options. Not to be moved once built: the view refers to the criteria.
struct SelectedView {
    SelectedVolume volume;
    std::optional<SearchCriteria> criteria;
    std::optional<ListingView> view;

    CFileSystemNode* Root() const { return view ? view->Root() : nullptr; }
};

// BuildSelectedVolume, then the view; the same exit statuses, kExitUsage for a wrong filter.
int BuildSelectedView(const VolumeArguments& arguments, bool all, const FilterOptions& filters,
                      SelectedView& out);

}  // namespace keldrin::cli
