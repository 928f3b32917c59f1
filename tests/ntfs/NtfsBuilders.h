// Small builders of NTFS on-disk structures for the tests: records are made byte by byte here so
// that each test shows the one field it breaks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/devices/StorageDevice.h"

namespace keldrin::ntfs::test {

using Bytes = std::vector<uint8_t>;

void Put16(Bytes& b, size_t offset, uint16_t v);
void Put32(Bytes& b, size_t offset, uint32_t v);
void Put64(Bytes& b, size_t offset, uint64_t v);
Bytes Utf16(std::u16string_view text);

// A $FILE_NAME value.
struct FileNameSpec {
    uint64_t parent = 5;
    std::u16string_view name = u"file.txt";
    uint8_t nameSpace = 1;
    uint32_t flags = 0;
    int64_t allocatedSize = 0;
    int64_t dataSize = 0;
};
Bytes FileNameValue(const FileNameSpec& spec);
// A $STANDARD_INFORMATION value of 48 bytes.
Bytes StandardInformationValue(uint32_t fileAttributes, uint64_t creation = 1, uint64_t modification = 2,
                               uint64_t access = 3);

struct NonResidentSpec {
    Bytes pairs;
    int64_t firstVcn = 0;
    int64_t lastVcn = 0;
    int64_t allocatedSize = 0;
    int64_t dataSize = 0;
    int64_t initializedSize = 0;
    uint16_t flags = 0;
    std::u16string_view name = u"";
};

// Attributes as they stand inside a record.
Bytes ResidentAttribute(uint32_t type, const Bytes& value, std::u16string_view name = u"");
Bytes NonResidentAttribute(uint32_t type, const NonResidentSpec& spec);

// A FILE record of size bytes in its on-disk form (update sequence numbers at the stride ends).
class RecordBuilder {
  public:
    explicit RecordBuilder(size_t size = 1024);

    RecordBuilder& Flags(uint16_t flags);
    RecordBuilder& Base(uint64_t reference);
    RecordBuilder& Number(uint32_t number);
    RecordBuilder& Add(const Bytes& attribute);
    RecordBuilder& AddStandardInformation(uint32_t fileAttributes);
    RecordBuilder& AddFileName(const FileNameSpec& spec);
    // Leaves out the end marker (the walk then runs to the bytes in use or the record's end).
    RecordBuilder& NoEndMarker();
    // Overrides the bytes-in-use field that Build() would compute.
    RecordBuilder& BytesInUse(uint32_t bytes);

    // Offset of the first attribute, and of the next one to be added.
    size_t FirstAttributeOffset() const { return first_; }
    size_t NextOffset() const { return first_ + body_.size(); }

    Bytes Build(uint16_t usn = 0x0A0B) const;

  private:
    size_t size_;
    size_t first_;
    uint16_t flags_ = 0x0001;
    uint64_t base_ = 0;
    uint32_t number_ = 0;
    Bytes body_;
    bool endMarker_ = true;
    bool inUseSet_ = false;
    uint32_t inUse_ = 0;
};

// Writes the on-disk fix-up into a record whose update-sequence array is at usaOffset.
void ProtectStrides(Bytes& record, size_t usaOffset, size_t strides, uint16_t usn);

// Boot sector fields the tests vary.
struct BootSpec {
    uint16_t bytesPerSector = 512;
    uint8_t sectorsPerCluster = 8;
    int8_t clustersPerRecord = -10;
    uint64_t totalSectors = 0x100000;
    uint64_t mftCluster = 4;
    uint64_t mftMirrCluster = 2;
    uint64_t serial = 0x1122334455667788;
    std::string_view oem = "NTFS    ";
};
Bytes BootSector(const BootSpec& spec);

// Sectors in memory; reads past the end fail.
class MemoryDevice : public IStorageDevice {
  public:
    explicit MemoryDevice(int64_t sectors) : bytes_(static_cast<size_t>(sectors) * kSectorSize) {}

    void Write(int64_t sector, std::span<const uint8_t> data);
    int reads() const { return reads_; }

    bool ReadSectors(void* buffer, int64_t firstSector, int64_t sectorCount) override;
    int64_t GetTotalSectors() override { return static_cast<int64_t>(bytes_.size() / kSectorSize); }
    bool Open() override { return true; }
    bool Close() override { return true; }

  private:
    Bytes bytes_;
    int reads_ = 0;
};

// A $FILE_NAME value with the folder flag set.
inline constexpr uint32_t kFileNameFolder = 0x10000000;

// A record reference: 48-bit number, 16-bit sequence.
inline uint64_t Ref(int64_t number, uint16_t sequence = 1) {
    return uint64_t{sequence} << 48 | static_cast<uint64_t>(number);
}

// Attribute-list entries (type, record reference), 32 bytes each.
Bytes AttributeListValue(std::initializer_list<std::pair<uint32_t, uint64_t>> entries);

// A non-resident unnamed $DATA over clusters (start, length) numbered from firstVcn.
struct Cluster {
    int64_t lcn;  // -1: sparse
    int64_t length;
};
Bytes DataAttribute(const std::vector<Cluster>& runs, int64_t dataSize, int64_t firstVcn = 0,
                    uint16_t flags = 0);

// One file or folder record of a user.
struct FileSpec {
    std::u16string_view name = u"file.txt";
    uint64_t parent = 5;
    bool inUse = true;
    bool folder = false;
    uint32_t fileAttributes = 0x20;  // of $STANDARD_INFORMATION
    int64_t residentBytes = -1;      // a resident unnamed $DATA of this many bytes; -1 none
};
RecordBuilder UserRecord(uint32_t number, const FileSpec& spec, size_t recordSize = 1024);

// A metadata record: $STANDARD_INFORMATION with system and hidden, its name under the root.
RecordBuilder SystemRecord(uint32_t number, std::u16string_view name, size_t recordSize = 1024);

// A small NTFS volume in memory: the boot sector at firstSector, a contiguous $MFT of mftRecords
// records at mftCluster holding the metadata records 0 to 11 (with the label in $Volume), and a
// $MFTMirr of records 0 to 3 at mirrCluster. Tests add their records with Put.
struct FakeLayout {
    int64_t firstSector = 0;
    uint8_t sectorsPerCluster = 8;
    int8_t clustersPerRecord = -10;  // 1024-byte records
    int64_t mftCluster = 16;
    int64_t mirrCluster = 8;
    int64_t mftRecords = 128;
    int64_t deviceSectors = 4096;
    std::u16string_view label = u"Fake Volume";
};

class FakeVolume {
  public:
    explicit FakeVolume(const FakeLayout& layout = {});

    MemoryDevice& device() { return device_; }
    const FakeLayout& layout() const { return layout_; }
    size_t RecordSize() const { return recordSize_; }
    int64_t ClusterSector(int64_t cluster) const {
        return layout_.firstSector + cluster * layout_.sectorsPerCluster;
    }
    // Where record n lies in the contiguous $MFT.
    int64_t RecordSector(int64_t n) const;

    // Writes record n into $MFT, and into $MFTMirr as well for records 0 to 3.
    void Put(int64_t n, const Bytes& record);
    void Put(int64_t n, const RecordBuilder& record) { Put(n, record.Build()); }
    // Writes bytes over record n in $MFT only.
    void Overwrite(int64_t n, const Bytes& bytes);
    // The $MFT record: its $DATA over the given runs (by default the contiguous $MFT).
    RecordBuilder MftRecord(const std::vector<Cluster>& runs, int64_t dataSize) const;
    RecordBuilder MftRecord() const;

  private:
    FakeLayout layout_;
    size_t recordSize_;
    MemoryDevice device_;
};

}  // namespace keldrin::ntfs::test
