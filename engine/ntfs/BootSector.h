// The NTFS boot sector: the validity rules and the volume geometry it gives.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace keldrin::ntfs {

inline constexpr size_t kBootSectorSize = 512;

// A 512-byte copy of sector 0 of a volume; fields are read through the checked reader.
class CNTFSDBR {
  public:
    CNTFSDBR() = default;
    // Copies the first 512 bytes; a shorter sector leaves the rest zero (and so invalid).
    explicit CNTFSDBR(std::span<const uint8_t> sector);

    std::span<const uint8_t> Bytes() const { return bytes_; }
    bool IsValid() const;

  private:
    std::array<uint8_t, kBootSectorSize> bytes_{};
};

// OEM "NTFS    " (any case), 512 bytes per sector, a power-of-two cluster of 1 to 128 sectors,
// the FAT-only fields zero and the 0x55 0xAA signature.
bool IsValidNtfsBootSector(std::span<const uint8_t> sector);

// Bytes per file record from the signed clusters-per-record byte; 0 when that byte gives a size
// beyond 32 bits.
uint32_t GetFileRecordSize(const CNTFSDBR& boot);
// Cluster numbers of $MFT and $MFTMirr; -1 when the field does not fit a signed 64-bit number.
int64_t GetMftCluster(const CNTFSDBR& boot);
int64_t GetMftMirrCluster(const CNTFSDBR& boot);
uint32_t GetSectorsPerCluster(const CNTFSDBR& boot);
// The whole 64-bit sector count of the volume; 0 when it does not fit a signed number.
int64_t GetTotalSectors(const CNTFSDBR& boot);
uint64_t GetVolumeSerial(const CNTFSDBR& boot);
std::string GetOemId(const CNTFSDBR& boot);

}  // namespace keldrin::ntfs
