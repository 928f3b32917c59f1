// In-memory copies of the file allocation tables with their consistency tests, and the reader
// that answers from the first usable copy.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "engine/devices/StorageDevice.h"

namespace keldrin::fat {

// End-of-chain marks as the readers hand them on: FAT12/16 marks are normalised to these,
// FAT32 entries come as stored.
inline constexpr uint32_t kEndOfChainAllOnes = 0xFFFFFFFF;
inline constexpr uint32_t kEndOfChain = 0x0FFFFFF8;

class IFATTable {
  public:
    virtual ~IFATTable() = default;
    // The entry of cluster n; 0 outside the table.
    virtual uint32_t GetEntry(uint32_t n) const = 0;
    // Entries past this one are all 0; UINT32_MAX when the table does not know.
    virtual uint32_t EntryLimit() const { return UINT32_MAX; }
};

// One FAT copy held in memory. The consistency tests cover every entry the copy holds.
class IRealFATTable : public IFATTable {
  public:
    IRealFATTable(IStorageDevice* device, int64_t firstSector, uint32_t sectors, uint32_t entriesPerSector);
    // True when the copy is in memory and passes the tests of its type.
    virtual bool Validate() const = 0;

    // Allocates the buffer when sectors lies in [minSectors, maxSectors] and reads the copy with
    // one read (its result is not looked at: Validate decides). False without a buffer.
    bool Load(uint32_t minSectors, uint32_t maxSectors);
    bool HasBuffer() const { return !buffer_.empty(); }
    uint32_t GetEntryCount() const { return entryCount_; }
    uint32_t GetSectors() const { return sectors_; }

    // For tests and fuzzing: takes the bytes of a copy instead of reading it.
    void SetBytes(std::vector<uint8_t> bytes);

  protected:
    // The predecessor-table walk shared by FAT16 and FAT32: fails on two clusters leading to one
    // cluster, on a loop and on a chain as long as the table.
    bool ChainTest(uint32_t endLimit, uint32_t (*stored)(const uint8_t*, uint32_t)) const;
    // Fails on an entry past the table (other than the reserved and end values), on 1, or on an
    // entry naming its own cluster.
    bool EntryTest(uint32_t endLimit, uint32_t (*stored)(const uint8_t*, uint32_t)) const;

    IStorageDevice* device_;
    int64_t firstSector_;
    uint32_t sectors_;
    uint32_t entryCount_;
    std::vector<uint8_t> buffer_;
};

class CFAT12Table final : public IRealFATTable {
  public:
    CFAT12Table(IStorageDevice* device, int64_t firstSector, uint32_t sectors)
        : IRealFATTable(device, firstSector, sectors, 0) {}
    static constexpr uint32_t kMinSectors = 1, kMaxSectors = 12;
    uint32_t GetEntry(uint32_t n) const override;
    uint32_t EntryLimit() const override { return static_cast<uint32_t>(buffer_.size() * 2 / 3); }
    bool Validate() const override;
};

class CFAT16Table final : public IRealFATTable {
  public:
    CFAT16Table(IStorageDevice* device, int64_t firstSector, uint32_t sectors)
        : IRealFATTable(device, firstSector, sectors, 256) {}
    static constexpr uint32_t kMinSectors = 12, kMaxSectors = 256;
    uint32_t GetEntry(uint32_t n) const override;
    uint32_t EntryLimit() const override { return HasBuffer() ? sectors_ * 256 : 0; }
    bool Validate() const override;
};

class CFAT32Table final : public IRealFATTable {
  public:
    CFAT32Table(IStorageDevice* device, int64_t firstSector, uint32_t sectors)
        : IRealFATTable(device, firstSector, sectors, 128) {}
    static constexpr uint32_t kMinSectors = 256, kMaxSectors = 128000;
    uint32_t GetEntry(uint32_t n) const override;
    uint32_t EntryLimit() const override { return HasBuffer() ? sectors_ * 128 : 0; }
    bool Validate() const override;
};

// Answers from the first copy when present, else from the second, else 0.
class CDoubleFATTable final : public IFATTable {
  public:
    CDoubleFATTable(std::unique_ptr<IRealFATTable> first, std::unique_ptr<IRealFATTable> second);
    uint32_t GetEntry(uint32_t n) const override;
    uint32_t EntryLimit() const override;
    const IRealFATTable* GetFirst() const { return first_.get(); }
    const IRealFATTable* GetSecond() const { return second_.get(); }

  private:
    std::unique_ptr<IRealFATTable> first_;
    std::unique_ptr<IRealFATTable> second_;
};

// The reader of one copy of the given type (kFsFat12/16/32), loaded and validated; null when the
// type is not FAT, the size lies outside its class's range or the copy fails its tests.
std::unique_ptr<IRealFATTable> LoadFATCopy(IStorageDevice* device, int64_t firstSector, int type,
                                           uint32_t sectorsPerFAT);

// The first copy when useFirst and it passes; else the second when useSecond. Never null: it may
// hold no copy at all, and then answers 0 for every cluster.
std::unique_ptr<CDoubleFATTable> CreateFATTable(IStorageDevice* device, int64_t fatStartSector, int type,
                                                uint32_t sectorsPerFAT, bool useFirst, bool useSecond);

}  // namespace keldrin::fat
