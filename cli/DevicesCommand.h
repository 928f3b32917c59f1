// "keldrin-cli devices": the machine's disks and the volume list in the order the wizard shows it.
#pragma once

#include "cli/Commands.h"

namespace keldrin::cli {

Command AddDevicesCommand(CLI::App& app);

}  // namespace keldrin::cli
