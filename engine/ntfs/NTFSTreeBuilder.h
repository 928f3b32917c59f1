// The quick build of an intact NTFS volume: every record of its $MFT, in use or deleted, as a
// tree under one file-system node.
#pragma once

#include <cstdint>

#include "engine/devices/StorageDevice.h"
#include "engine/model/FileSystemNode.h"
#include "engine/model/ProgressCallbacks.h"

namespace keldrin::ntfs {

class CNTFSTreeBuilder {
  public:
    // language: 0 English, 1 German, for the phase texts.
    explicit CNTFSTreeBuilder(int language);

    // Builds the tree of the volume at volumeFirstSector of device on a worker thread, pumping
    // messages on the calling thread until it ends. Null when the boot sector is not NTFS, no
    // $MFT record is usable, the volume holds only metadata files, or the callback cancelled;
    // otherwise the caller owns the tree and frees it with DeleteTree. A null callback never
    // cancels.
    CFileSystemNode* BuildTree(int64_t volumeFirstSector, IStorageDevice* device,
                               IDIRBuildCallback* callback);

  private:
    CFileSystemNode* Work();

    int language_;
    IStorageDevice* device_ = nullptr;
    IDIRBuildCallback* callback_ = nullptr;
    int64_t firstSector_ = 0;
    int64_t lastSector_ = 0;
    uint32_t sectorsPerCluster_ = 1;
    int lostFolders_ = 0;
};

}  // namespace keldrin::ntfs
