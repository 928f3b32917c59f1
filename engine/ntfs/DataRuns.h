// The content of a file's unnamed $DATA: its runs when non-resident, its place when resident,
// and the cluster size a record's runs imply.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/ntfs/Attributes.h"
#include "engine/ntfs/FileRecord.h"
#include "engine/ntfs/NtfsRuns.h"

namespace keldrin::ntfs {

struct DataRuns {
    std::vector<NtfsRun> runs;  // ordered by VCN
    int64_t size = 0;           // data size of the piece whose first VCN is 0
};

// Walks the unnamed non-resident $DATA attributes in order (named streams are skipped) and stops
// at a resident one, at one without clusters, or at one (not compressed) whose runs do not cover
// last VCN - first VCN + 1 clusters. Each accepted piece's runs are shifted by its first VCN.
// False when no piece was accepted.
bool ReadDataRuns(const AttributeSource& source, DataRuns& out);

// Where the value of the first unnamed $DATA lies when it is resident.
struct ResidentData {
    int64_t recordSector = -1;  // -1 when the source does not know its records' sectors
    size_t offset = 0;          // of the value, from the start of its record
    size_t length = 0;
};

// False when the first unnamed $DATA is not resident, or there is none.
bool FindResidentData(const AttributeSource& source, ResidentData& out);

// The sectors per cluster implied by the record's unnamed $DATA: data size / clusters / 512,
// rounded up, then up to the next power of two from 1 to 128. 0 when nothing fits.
uint32_t ClusterSizeFromRecord(const FileRecord& record);

}  // namespace keldrin::ntfs
