// The FAT boot sector (the "DBR"): its classification as FAT12, FAT16 or FAT32 and the fields the
// readers use, and the tests that check a boot record against the FAT copies it describes.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/devices/StorageDevice.h"
#include "engine/devices/Volume.h"

namespace keldrin::fat {

inline constexpr size_t kBootRecordSize = 512;
// The FAT32 backup boot sector lies this many sectors after the boot sector.
inline constexpr int64_t kBackupBootOffset = 6;

class CFATBootRecord {
  public:
    // Not FAT (type kFsUnknown) until bytes are given.
    CFATBootRecord() = default;
    // Copies the first 512 bytes (zeros for the missing rest when size is short) and classifies.
    CFATBootRecord(const void* bytes, size_t size);

    // kFsFat12, kFsFat16, kFsFat32 or kFsUnknown.
    int GetType() const { return type_; }
    bool IsValid() const { return type_ != kFsUnknown; }

    // Every accessor answers 0 for a record that is not FAT (the root entries excepted).
    uint32_t GetTotalSectors() const;
    uint32_t GetSectorsPerFAT() const;
    uint32_t GetRootCluster() const;
    uint16_t GetReservedSectors() const;
    uint8_t GetNumberOfFATs() const;
    uint8_t GetSectorsPerCluster() const;
    uint16_t GetRootEntries() const;

    const uint8_t* GetBytes() const { return bytes_; }

    // The classification alone: FAT12, FAT16, FAT32 tested in that order.
    static int Classify(const uint8_t* bytes);

  private:
    uint8_t bytes_[kBootRecordSize] = {};
    int type_ = kFsUnknown;
};

// The first byte is nonzero and the sector ends with 0x55 0xAA.
bool HasBootSignature(const uint8_t* sector);
// The first 32 bits of the sector look like the start of a FAT32, FAT16 or FAT12 table.
bool IsFATStart(const uint8_t* sector);
// 2 <= n <= 0x0FFFFFEF.
bool IsValidClusterNumber(int64_t n);
// The boot record classifies as FAT, its FATs fit in the volume, and the first or the second FAT
// copy (located from partitionStart, also for a backup boot record) starts like a FAT.
bool CheckFATPresence(IStorageDevice* device, const uint8_t* bootRecordBytes, int64_t partitionStart);

}  // namespace keldrin::fat
