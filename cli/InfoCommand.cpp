#include <cstdio>
#include <iostream>

#include "cli/Commands.h"
#include "cli/Format.h"
#include "cli/Source.h"

namespace keldrin::cli {

int RunInfo(const InfoOptions& options) {
    std::string error;
    OpenedSource source = OpenSource(options.source, error);
    if (!source.device) {
        std::cerr << "keldrin-cli: " << error << "\n";
        return kExitUnreadable;
    }
    const int64_t sectors = source.device->GetTotalSectors();
    std::cout << "source:  " << options.source << "\n"
              << "kind:    " << source.kind << "\n"
              << "sectors: " << sectors << "\n"
              << "size:    " << static_cast<uint64_t>(sectors) * kSectorSize << " bytes ("
              << FormatSize(static_cast<uint64_t>(sectors) * kSectorSize) << ")\n";
    return kExitOk;
}

}  // namespace keldrin::cli
