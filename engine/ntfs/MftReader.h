// The reading phase of the quick build: the whole $MFT through its own runs, 64 KiB at a time,
// each piece parsed in place into build records.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "engine/devices/StorageDevice.h"
#include "engine/model/ProgressCallbacks.h"
#include "engine/ntfs/MftMap.h"
#include "engine/ntfs/NtfsBuildRecord.h"

namespace keldrin::ntfs {

inline constexpr int64_t kMftChunkSectors = 128;

class CMftReader {
  public:
    // mft and records must outlive the reader. Nothing at or past deviceSectors is read.
    CMftReader(IStorageDevice& device, const MftMap& mft, int64_t deviceSectors, BuildRecordList& records);

    // Reads the runs in VCN order, the parts that lie on the device and at most the device's
    // size in all, and parses every chunk: BeginPhase (phaseText, chunks), then SetPosition after
    // each chunk. False as soon as the callback cancels.
    bool ReadMft(IDIRBuildCallback& callback, const char* phaseText);

    // Turns the records in buffer into build records: sectors[i] is where buffer sector i came
    // from, firstRecord the number of the record at its start. Skips invalid records, extension
    // records, the metadata files and records that give no properties.
    void ParseChunk(std::span<uint8_t> buffer, std::span<const int64_t> sectors, int64_t firstRecord);

    // Sectors per chunk: 128 cut down to whole records.
    int64_t ChunkSectors() const { return chunkSectors_; }

  private:
    // A stretch of $MFT that is contiguous on the device.
    struct Piece {
        int64_t mftSector;
        int64_t deviceSector;
        int64_t count;
    };
    std::vector<Piece> Pieces() const;
    void ParseRecord(std::span<uint8_t> bytes, int64_t sector, int64_t number);

    IStorageDevice& device_;
    const MftMap& mft_;
    int64_t deviceSectors_;
    BuildRecordList& records_;
    int64_t perRecord_;
    int64_t chunkSectors_;
    // Places no record: for records whose attribute lists are not followed.
    const MftMap noMft_;
    // Sectors left for reading attribute lists and extension records. A sound volume needs
    // fewer than its $MFT holds; damaged lists that all name the same thousands of records
    // must not multiply the reading by the number of records.
    int64_t listBudget_ = 0;
};

}  // namespace keldrin::ntfs
