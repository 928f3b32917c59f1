// The volume a listing or recovery command works on: the SOURCE opened read-only, the volume's first
// sector from --offset or --partition, and its tree built with a progress bar.
#pragma once

#include <cstdint>
#include <string>

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

}  // namespace keldrin::cli
