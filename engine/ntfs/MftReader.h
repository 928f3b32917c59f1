// The reading phase of the quick build: the whole $MFT through its own runs, 64 KiB at a time,
// each piece parsed in place into build records. A large $MFT is read and parsed by two threads
// at once; the records come out in $MFT order all the same.
#pragma once

#include <atomic>
#include <cstdint>
#include <span>
#include <vector>

#include "engine/devices/StorageDevice.h"
#include "engine/model/ProgressCallbacks.h"
#include "engine/ntfs/MftMap.h"
#include "engine/ntfs/NtfsBuildRecord.h"

namespace keldrin::ntfs {

inline constexpr int64_t kMftChunkSectors = 128;
// Below this many chunks a second thread costs more than it saves.
inline constexpr int64_t kParallelMftChunks = 32;

class CMftReader {
  public:
    // mft and records must outlive the reader. Nothing at or past deviceSectors is read. threads
    // is how many read and parse a large $MFT; 0 takes two where the machine has two cores.
    CMftReader(IStorageDevice& device, const MftMap& mft, int64_t deviceSectors, BuildRecordList& records,
               int threads = 0);

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
    // What one chunk reads: its pieces [firstPiece, firstPiece + pieces) of the plan, together
    // sectors long, starting with record firstRecord.
    struct Chunk {
        int64_t firstRecord;
        int64_t sectors;
        size_t firstPiece;
        size_t pieces;
    };
    struct Plan {
        std::vector<Piece> pieces;
        std::vector<Chunk> chunks;
    };
    std::vector<Piece> Pieces() const;
    Plan MakePlan() const;
    // Reads the chunk into buffer and sectors (each chunkSectors_ long) and parses it into list.
    void ReadChunk(const Plan& plan, const Chunk& chunk, std::vector<uint8_t>& buffer,
                   std::vector<int64_t>& sectors, BuildRecordList& list);
    // chunksTotal is the phase's announced length: chunks cut by gaps may come to more.
    bool ReadSequential(const Plan& plan, IDIRBuildCallback& callback, int64_t chunksTotal);
    bool ReadParallel(const Plan& plan, IDIRBuildCallback& callback, int64_t chunksTotal);
    void ParseChunkInto(std::span<uint8_t> buffer, std::span<const int64_t> sectors, int64_t firstRecord,
                        BuildRecordList& list);
    void ParseRecord(std::span<uint8_t> bytes, int64_t sector, int64_t number, BuildRecordList& into);

    IStorageDevice& device_;
    // What chunks and extension records are read through: device_, or a serialised view of it
    // while two threads read.
    IStorageDevice* reading_;
    const MftMap& mft_;
    int64_t deviceSectors_;
    BuildRecordList& records_;
    int64_t perRecord_;
    int64_t chunkSectors_;
    int threads_;
    // Places no record: for records whose attribute lists are not followed.
    const MftMap noMft_;
    // Sectors left for reading attribute lists and extension records. A sound volume needs
    // fewer than its $MFT holds; damaged lists that all name the same thousands of records
    // must not multiply the reading by the number of records.
    std::atomic<int64_t> listBudget_ = 0;
};

}  // namespace keldrin::ntfs
