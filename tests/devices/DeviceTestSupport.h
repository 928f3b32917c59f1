// Fixtures of the device tests: a sector pattern, an in-memory parent device, a raw reader that
// fails where it is told to and logs its accesses, temporary folders and a fake sysfs tree.
#pragma once

#include <cstdint>
#include <filesystem>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "engine/devices/RawReader.h"
#include "engine/devices/StorageDevice.h"

namespace keldrin::test {

// Byte i of sector s. Every sector differs, so misplaced or stale sectors show.
inline unsigned char PatternByte(int64_t sector, int i) {
    return static_cast<unsigned char>((sector * 131 + i * 7 + (sector >> 8)) & 0xFF);
}
void FillPattern(void* buffer, int64_t firstSector, int64_t sectorCount);
std::vector<unsigned char> Pattern(int64_t firstSector, int64_t sectorCount);
bool IsZero(const void* buffer, int64_t bytes);

struct SectorRead {
    int64_t first;
    int64_t count;
    bool operator==(const SectorRead&) const = default;
};

// A device of totalSectors pattern sectors that logs every read; reads running past its end fail.
class MemoryDevice final : public IStorageDevice {
  public:
    explicit MemoryDevice(int64_t totalSectors) : total_(totalSectors) {}
    bool ReadSectors(void* buffer, int64_t firstSector, int64_t sectorCount) override;
    int64_t GetTotalSectors() override { return total_; }
    bool Open() override { return true; }
    bool Close() override { return true; }

    std::vector<SectorRead> reads;
    bool failAll = false;

  private:
    int64_t total_;
};

struct ByteRead {
    int64_t offset;
    int64_t size;
    bool operator==(const ByteRead&) const = default;
};

// A raw source of sizeSectors pattern sectors with no storage behind it. A read that touches a
// failing sector answers -1; shortBy makes every read come back that many bytes short.
class FakeRawReader final : public IRawReader {
  public:
    explicit FakeRawReader(int64_t sizeSectors) : sizeSectors_(sizeSectors) {}
    bool Open(const std::string& path) override;
    void Close() override { open_ = false; }
    bool IsOpen() const override { return open_; }
    int64_t ReadAt(void* buffer, int64_t size, int64_t offset) override;
    int64_t SizeBytes() override { return open_ ? sizeSectors_ * kSectorSize : -1; }
    bool GetGeometry(DiskGeometry& geometry) override;

    void FailSector(int64_t sector);
    void SetShortBy(int64_t bytes);
    std::vector<ByteRead> Reads() const;
    void ClearReads();
    std::string openedPath;

  private:
    mutable std::mutex mutex_;
    int64_t sizeSectors_;
    bool open_ = false;
    std::set<int64_t> failing_;
    int64_t shortBy_ = 0;
    std::vector<ByteRead> reads_;
};

// A fresh folder, removed with its contents at the end of the test.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    // Writes bytes to name inside the folder and answers its path.
    std::string WriteFile(const std::string& name, const std::vector<unsigned char>& bytes) const;

  private:
    std::filesystem::path path_;
};

// Turns "ignore bad sectors" on or off for one test and restores it afterwards.
class ScopedIgnoreBadSectors {
  public:
    explicit ScopedIgnoreBadSectors(bool on);
    ~ScopedIgnoreBadSectors();

  private:
    bool saved_;
};

// What sysfs holds for one disk of the fake tree.
struct FakeDisk {
    std::string dev;  // "8:0"; no "dev" file when empty
    int64_t sectors = 0;
    std::string vendor;  // no device/vendor file when empty
    std::string model;   // no device/model file when empty
    // The folder below <sys>/devices that <sys>/block/<name> links to, as on a real system
    // ("pci0000:00/0000:00:17.0/ata1/host0/target0:0:0/0:0:0:0/block"); a plain folder when empty.
    std::string devicePath;
};

// A fake /sys and /dev under a temporary folder, made the process-wide disk-list roots for its
// lifetime; the mount table is the fake's own file too (empty until written).
class FakeSystem {
  public:
    FakeSystem();
    ~FakeSystem();
    std::string sysRoot() const { return (dir_.path() / "sys").string(); }
    std::string devRoot() const { return (dir_.path() / "dev").string(); }
    // A /sys/block entry; a loop entry gets a backing file when backingFile is non-empty.
    void AddBlockEntry(const std::string& name, const std::string& backingFile = {});
    void AddDisk(const std::string& name, const FakeDisk& disk);
    // A partition: a /sys/block/<disk>/<name> folder with a "partition" file, and the start, size
    // and dev files when dev is given.
    void AddPartition(const std::string& disk, const std::string& name, int64_t start = 0,
                      int64_t sectors = 0, const std::string& dev = {});
    // A device-mapper or md entry of /sys/block built on the named slaves.
    void AddStackedDevice(const std::string& name, const std::string& dev,
                          const std::vector<std::string>& slaves);
    // The device node, here a regular file holding bytes.
    std::string AddDeviceFile(const std::string& name, const std::vector<unsigned char>& bytes);
    // The mountinfo lines the platform layer reads.
    void WriteMountInfo(const std::string& text);

  private:
    TempDir dir_;
};

}  // namespace keldrin::test
