// The program's data folder: the log, the scan-state files and the user's signature scripts.
#pragma once

#include <string>

namespace keldrin::platform {

// $KELDRIN_HOME, else $XDG_DATA_HOME/keldrin, else ~/.local/share/keldrin; created on first use.
// Empty when no folder can be determined or created.
std::string DataFolder();

// DataFolder() joined with name ("Ostrevan.log", "cmptmp.rdf", "CustomFileScript"); empty when
// there is no data folder.
std::string DataFile(const std::string& name);

}  // namespace keldrin::platform
