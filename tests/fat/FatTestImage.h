// Small FAT volumes built in memory for the reader's tests, and a device that reads them.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "engine/devices/StorageDevice.h"

namespace keldrin::fat::test {

// Reads from a byte vector; a read past the end fails. Remembers which sectors were asked for.
class MemoryDevice final : public IStorageDevice {
  public:
    explicit MemoryDevice(std::vector<uint8_t>* bytes) : bytes_(bytes) {}
    bool ReadSectors(void* buffer, int64_t firstSector, int64_t sectorCount) override;
    int64_t GetTotalSectors() override { return static_cast<int64_t>(bytes_->size() / kSectorSize); }
    bool Open() override { return true; }
    bool Close() override { return true; }

    bool WasRead(int64_t sector) const { return readSectors_.count(sector) != 0; }

  private:
    std::vector<uint8_t>* bytes_;
    std::set<int64_t> readSectors_;  // first sector of every read
};

// One directory entry: an 11-byte 8.3 name as stored ("README  TXT").
struct EntrySpec {
    static constexpr uint16_t kDate = (40 << 9) | (1 << 5) | 2;  // 2020-01-02
    static constexpr uint16_t kTime = (12 << 11) | (30 << 5);    // 12:30

    EntrySpec(std::string name, uint8_t attr = 0x20, uint32_t firstCluster = 0, uint32_t bytes = 0,
              uint16_t date = kDate, uint16_t time = kTime, std::u16string longNameText = {})
        : shortName(std::move(name)),
          attributes(attr),
          cluster(firstCluster),
          size(bytes),
          writeDate(date),
          writeTime(time),
          longName(std::move(longNameText)) {}

    std::string shortName;
    uint8_t attributes;
    uint32_t cluster;
    uint32_t size;
    uint16_t writeDate;
    uint16_t writeTime;
    std::u16string longName;  // empty: no long-name pieces
};

// Writes the long-name pieces (if any) and the short entry at at; returns the entries written.
size_t WriteEntry(uint8_t* at, const EntrySpec& spec);
// The 32 bytes of a "." or ".." entry.
void WriteDotEntries(uint8_t* at, uint32_t self, uint32_t parent);

// A formatted FAT16 (1 sector per cluster, 16 sectors per FAT, 512 root entries) or FAT32 (256
// sectors per FAT, root at cluster 2) volume starting at partitionStart of its image.
class FatImage {
  public:
    static FatImage Fat16(int64_t partitionStart = 0, uint32_t dataClusters = 2000);
    static FatImage Fat32(int64_t partitionStart = 0, uint32_t dataClusters = 2000);

    int type = 0;
    int64_t partitionStart = 0;
    uint32_t sectorsPerCluster = 1;
    uint32_t reserved = 1;
    uint32_t sectorsPerFAT = 16;
    uint32_t rootEntries = 512;
    uint32_t totalSectors = 0;
    std::vector<uint8_t> bytes;

    int64_t FatStart(int copy = 0) const { return partitionStart + reserved + int64_t{copy} * sectorsPerFAT; }
    int64_t RootStart() const { return FatStart(2); }
    int64_t DataStart() const;
    uint8_t* Sector(int64_t sector) { return bytes.data() + sector * kSectorSize; }
    uint8_t* Boot() { return Sector(partitionStart); }
    uint8_t* Cluster(uint32_t cluster) {
        return Sector(DataStart() + int64_t{cluster - 2} * sectorsPerCluster);
    }
    // The root folder's entries: the fixed area (FAT16) or cluster 2 (FAT32).
    uint8_t* Root() { return type == 2 ? Cluster(2) : Sector(RootStart()); }
    // Sets the entry in both FAT copies (copy -1) or in one.
    void SetFat(uint32_t cluster, uint32_t value, int copy = -1);
    uint32_t GetFat(uint32_t cluster, int copy = 0) const;
    // A subfolder at cluster with its dot entries; answers where its next entry goes.
    uint8_t* MakeFolder(uint32_t cluster, uint32_t parent);
};

}  // namespace keldrin::fat::test
