// Copies found files out of the source device into a destination folder: one writer per job, on
// the job's worker thread.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/devices/StorageDevice.h"
#include "engine/model/DataRunList.h"
#include "engine/model/FileNode.h"
#include "engine/model/ProgressCallbacks.h"
#include "engine/output/OutputFile.h"

namespace keldrin::output {

// Outcome of every copy step.
inline constexpr int kOutcomeSuccess = 0;
inline constexpr int kOutcomeFailure = 1;
inline constexpr int kOutcomeCancelled = 2;

class CFileRecoverWriter {
  public:
    // Neither is owned; callback may be null.
    CFileRecoverWriter(IFileRecoverCallback* callback, IStorageDevice* device);

    // Writes node's file to path (created already, empty). The partly written file stays on
    // failure or cancel.
    int RecoverFile(CFileNode* node, const std::string& path);
    // The checked children of folderNode into folderPath (or, with none, straight into
    // destinationRoot), folders as new folders; kOutcomeCancelled stops at once, single failures
    // do not, except a full destination, which stops the walk with kOutcomeFailure.
    int RecoverFolder(const std::string& destinationRoot, CFileNode* folderNode,
                      const std::string* folderPath);

    // The destination ran out of space while writing this file; empty when it did not.
    const std::string& OutOfSpaceFile() const { return outOfSpaceFile_; }
    // Where the last file recovered went (an encrypted file's stream gets its own name).
    const std::string& LastWrittenPath() const { return lastWritten_; }

    int CopyRuns(IDataRunList& list, uint64_t toWrite, bool holes, COutputFile& out);
    int CopyCompressed(IDataRunList& list, uint64_t size, COutputFile& out);

  private:
    // The sectors of one extent piece; a failed read gives zeros.
    void ReadPiece(int64_t sector, int64_t count, uint8_t* data);
    // Sector of cluster offset inside the volume; -1 when it cannot be on any device.
    int64_t ClusterSector(uint64_t cluster) const;
    int Report(uint64_t bytes);
    bool Write(COutputFile& out, const void* data, size_t size);
    // Remembers the file a full destination stopped, once.
    void NoteWriteFailure(const COutputFile& out);
    int CopyPlain(uint64_t start, uint64_t clusters, bool zeros, uint64_t& remaining, COutputFile& out);

    IFileRecoverCallback* callback_;
    IStorageDevice* device_;
    VolumeLocation volume_;
    std::string currentPath_;
    std::string outOfSpaceFile_;
    std::string lastWritten_;
    std::vector<uint8_t> buffer_;
    std::vector<uint8_t> unit_;
    std::vector<uint8_t> decoded_;
};

}  // namespace keldrin::output
