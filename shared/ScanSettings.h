// The process-wide scan options, read by the engine at the moment of use. They start from their
// defaults in every run; nothing is saved between runs.
#pragma once

#include <cstdint>
#include <vector>

namespace keldrin {

// Built-in RAW file types are numbered 1 to 68.
inline constexpr int kFirstBuiltInRawType = 1;
inline constexpr int kLastBuiltInRawType = 68;

struct RawRecoverySettings {
    bool recoverRawFiles = true;
    bool recoverRawFilesOnly = false;
    int64_t maxFileSize = 50000000;  // bytes
    std::vector<int> chosenTypes;    // type indices; all built-in types in order by default
};

// Unlocked: changed only on the interface thread while no engine operation runs.
struct ScanSettings {
    bool useBootRecords = true;
    bool usePartitionTables = false;
    bool extensiveVolumesSearch = false;
    bool ignoreBadSectors = false;
    int language = 0;  // 0 English, 1 German; read from the user's language choice on creation

    // FAT
    bool fatCheckDate = true;
    bool fatCheckTime = true;
    bool fatThirdOption = true;  // no visible control
    bool fatUseFirstCopy = true;
    bool fatUseSecondCopy = true;

    // NTFS
    bool ntfsVolumeSizeFromFiles = true;
    bool ntfsUseMftFile = true;
    bool ntfsShowMftOnlyFiles = false;

    RawRecoverySettings raw;
};

// The one settings object, created with the defaults on the first call.
ScanSettings& GetScanSettings();

// A settings object with the defaults (the language from the user's choice).
ScanSettings DefaultScanSettings();

}  // namespace keldrin
