// The quick build of an Ext2/3 volume: every inode, live and deleted, named from the directory
// entries that still point to it ("Inode_" and its number for the others) and hung under its
// folder, or under the root when no folder claims it.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/devices/StorageDevice.h"
#include "engine/ext2/Ext2FileSystem.h"
#include "engine/model/FileSystemNode.h"
#include "engine/model/ProgressCallbacks.h"

namespace keldrin::ext2 {

inline constexpr int kLanguageGerman = 1;

inline const char* Ext2ReadingPhaseText(int language) {
    return language == kLanguageGerman ? "Lese Daten" : "Reading files";
}
inline const char* Ext2DirectoryPhaseText(int language) {
    return language == kLanguageGerman ? "Erstelle Verzeichnissbaum..." : "Building directory tree...";
}

// "Ext2", "Ext3" or "Ext?", then "(label)" with every character but 0-9, a-z and A-Z made '_'.
std::string Ext2RootName(int type, const std::string& label);

// Builds the tree on the calling thread. blockBits, when given, receives one flag per block of the
// volume, set for the blocks of the files' data. Null on cancel; the caller owns the tree.
// Never throws: damage ends the inode pass (logged in "Ext2Error.log") with what was read.
CFileSystemNode* BuildExt2Tree(const CExt2FileSystem& fs, IDIRBuildCallback* callback, int language,
                               std::vector<bool>* blockBits = nullptr);

// Opens the volume whose superblock lies at superBlockSector and builds its tree on a worker
// thread (platform/Worker.h). Null when the volume is not usable, the worker cannot start or the
// build was cancelled.
CFileSystemNode* RunExt2Build(IStorageDevice* device, IDIRBuildCallback* callback, int64_t superBlockSector,
                              bool keepBlockBits, int language);

}  // namespace keldrin::ext2
