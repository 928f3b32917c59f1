// The top-level box walk of ISO media files (MP4, 3GP): the boxes that carry the movie follow
// the file-type box until something else begins.
#pragma once

#include <cstdint>

#include "engine/devices/StorageDevice.h"
#include "engine/raw/RawByteReader.h"
#include "engine/raw/RawFileInfo.h"

namespace keldrin::rawwalk {

// The length of the box (atom) at pos; 0 when it cannot be read or is shorter than its own
// header. A 32-bit size of 1 says that a 64-bit size follows the type.
int64_t IsoBoxLength(CRawByteReader& reader, int64_t pos);

// Sets candidate.size to where the movie's boxes end; 0 when not even the first box is whole.
int FindIsoMediaSize(CRawFileInfo& candidate, IStorageDevice* device);

}  // namespace keldrin::rawwalk
