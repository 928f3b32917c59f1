// The recovered attributes and times put on a written file.
#pragma once

#include <string>

#include "engine/model/FileProperties.h"

namespace keldrin::output {

// Sets the modification and access times that the properties' type code marks (Linux keeps no
// settable creation time), then clears the write bits for a read-only file. Hidden and system
// have no Linux form. False, logged, when the times could not be set.
bool ApplyAttributesAndTimes(const std::string& path, const IFileProperties& properties);

}  // namespace keldrin::output
