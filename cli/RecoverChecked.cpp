#include "cli/RecoverChecked.h"

#include <filesystem>
#include <iostream>

#include "cli/Commands.h"
#include "cli/DestinationCheck.h"
#include "cli/Format.h"
#include "cli/RecoverProgress.h"
#include "engine/output/RecoverJobs.h"

namespace keldrin::cli {

int RecoverCheckedFiles(IStorageDevice* device, CFileSystemNode* root, const Destination& destination) {
    root->RecomputeStatistics();
    const SelectionStatistics selected = root->GetStatistics();

    std::error_code fsError;
    std::filesystem::create_directories(destination.folder, fsError);
    if (!std::filesystem::is_directory(destination.folder, fsError)) {
        std::cerr << "keldrin-cli: cannot make the destination folder " << destination.folder << "\n";
        return kExitUnreadable;
    }
    if (!destination.force && DestinationOnSource(destination.sourcePath, destination.folder)) {
        std::cerr << "keldrin-cli: " << destination.folder << " lies on the source " << destination.sourcePath
                  << ": writing there could overwrite the files being recovered (--force writes anyway)\n";
        return kExitUnreadable;
    }
    const int64_t free = FreeBytes(destination.folder);
    if (free >= 0 && static_cast<uint64_t>(free) < selected.checkedSize) {
        std::cerr << "keldrin-cli: the free space is not enough: " << FormatSize(selected.checkedSize)
                  << " to recover, " << FormatSize(static_cast<uint64_t>(free)) << " free in "
                  << destination.folder << "\n";
        return kExitUnreadable;
    }
    if (selected.checkedFiles == 0) {
        std::cout << "Recovered 0 of 0 files (0 bytes) to " << destination.folder << "\n";
        return kExitOk;
    }

    RecoverProgress progress;
    progress.Begin(selected.checkedFiles, selected.checkedSize);
    output::RecoverTreeResult result;
    if (!output::RecoverTree(&progress, device, root, destination.folder, &result)) {
        std::cerr << "keldrin-cli: the recovery could not start\n";
        return kExitUnreadable;
    }
    if (!result.outOfSpaceFile.empty())
        std::cerr << "keldrin-cli: the destination is full: stopped while writing " << result.outOfSpaceFile
                  << "\n";
    if (progress.WasCancelled()) std::cerr << "keldrin-cli: cancelled\n";
    std::cout << "Recovered " << progress.FilesDone() << " of " << selected.checkedFiles << " files ("
              << progress.BytesDone() << " bytes) to " << result.folder << "\n";
    return progress.FilesDone() == selected.checkedFiles ? kExitOk : kExitPartly;
}

}  // namespace keldrin::cli
