// Hangs the RAW candidates of a scan into a "Raw Files" branch: one folder per type, files named
// "FILE%03d.%s", and folders of 300 files each for the types with more.
#pragma once

#include <cstdint>

#include "engine/devices/StorageDevice.h"
#include "engine/model/FileSystemNode.h"
#include "engine/model/ProgressCallbacks.h"
#include "engine/raw/RawFileStore.h"

namespace keldrin {

// Whether a sector lies in a cluster a file system uses (sectors outside the cluster area count
// as used), so that the RAW branch leaves out what appears under its own name.
class IIsClusterUsed {
  public:
    virtual ~IIsClusterUsed() = default;
    virtual bool IsSectorUsed(int64_t sector) const = 0;
};

inline constexpr int kRawFilesPerFolder = 300;

class CRawTreeBuilder {
  public:
    // The "Raw Files" node (a file-system node of type RAW whose files' extents are sectors of
    // volume), or null when RAW recovery is off or memory runs out. Sizes not decided at scan time
    // are decided from volume and cut to the maximal file size. usedMap and callback may be null;
    // threaded runs the build on a worker while this thread pumps messages.
    static CFileSystemNode* BuildRawTree(IStorageDevice* volume, IIterator<CRawFileInfo*>& candidates,
                                         const IIsClusterUsed* usedMap, IDIRBuildCallback* callback,
                                         bool threaded);
};

}  // namespace keldrin
