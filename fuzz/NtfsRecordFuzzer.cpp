// Arbitrary bytes through every NTFS record test: none may crash, read outside its buffer, or
// leave a buffer other than it found it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>
#include <vector>

#include "engine/devices/StorageDevice.h"
#include "engine/ntfs/Attributes.h"
#include "engine/ntfs/BootSector.h"
#include "engine/ntfs/DataRuns.h"
#include "engine/ntfs/FileRecord.h"
#include "engine/ntfs/FileRecordSet.h"
#include "engine/ntfs/Fixup.h"
#include "engine/ntfs/IndexRecord.h"
#include "engine/ntfs/LogPages.h"
#include "engine/ntfs/MftMap.h"
#include "engine/ntfs/NtfsRuns.h"
#include "engine/ntfs/SystemFiles.h"
#include "engine/ntfs/VolumeName.h"

namespace {

using namespace keldrin;
using namespace keldrin::ntfs;

// The input as a device of 512-byte sectors (the last one zero-padded).
class InputDevice : public IStorageDevice {
  public:
    explicit InputDevice(std::span<const uint8_t> data)
        : bytes_((data.size() + kSectorSize - 1) / kSectorSize * kSectorSize) {
        if (!data.empty()) std::memcpy(bytes_.data(), data.data(), data.size());
    }
    bool ReadSectors(void* buffer, int64_t first, int64_t count) override {
        const int64_t total = GetTotalSectors();
        if (first < 0 || count < 0 || first > total || count > total - first) return false;
        std::memcpy(buffer, bytes_.data() + first * kSectorSize, static_cast<size_t>(count) * kSectorSize);
        return true;
    }
    int64_t GetTotalSectors() override { return static_cast<int64_t>(bytes_.size() / kSectorSize); }
    bool Open() override { return true; }
    bool Close() override { return true; }

  private:
    std::vector<uint8_t> bytes_;
};

void Require(bool condition) {
    if (!condition) std::abort();
}

volatile uint64_t sink;

void Attributes(const AttributeSource& source) {
    for (uint32_t type : {0x10u, 0x20u, 0x30u, 0x60u, 0x80u, 0x90u, 0xA0u}) {
        for (int index = 0; index < 4; ++index) {
            int64_t sector = 0;
            const auto a = source.FindAttribute(type, index, &sector);
            if (!a) break;
            sink = a->Name().size() + a->Value().size() + a->MappingPairs().size() + a->Length();
            sink = static_cast<uint64_t>(a->AllocatedSize() ^ a->DataSize() ^ a->InitializedSize() ^
                                         a->FirstVcn());
            FileName fn;
            if (ReadFileName(*a, fn)) sink = fn.name.size();
            StandardInformation si;
            if (ReadStandardInformation(*a, si)) sink = si.fileAttributes;
            std::vector<NtfsRun> runs;
            if (DecodeMappingPairs(a->MappingPairs(), runs, a->FirstVcn())) sink = runs.size();
            sink = static_cast<uint64_t>(IndexRootParent(*a));
            std::span<const uint8_t> entries;
            if (a->Value().size() > 16 && IndexNodeEntries(a->Value().subspan(16), entries)) {
                IndexEntryWalker walker(entries);
                IndexEntry e;
                while (walker.Next(e)) sink = e.key.size();
            }
        }
    }
    DataRuns data;
    if (ReadDataRuns(source, data)) sink = data.runs.size();
    ResidentData resident;
    if (FindResidentData(source, resident)) sink = resident.offset;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> input(data, size);
    const std::vector<uint8_t> original(input.begin(), input.end());
    std::vector<uint8_t> buffer = original;

    Require(IsValidFileRecord(buffer) == IsValidFileRecord(buffer));
    Require(buffer == original);
    {
        const FileRecord record(buffer, false);
        Attributes(record);
        sink = ClusterSizeFromRecord(record) + ReadVolumeName(record).size();
        sink = static_cast<uint64_t>(GetSystemFileCode(record)) + IsSystemFile(record, "$MFT");
        sink = static_cast<uint64_t>(record.GetRecordNumber()) + record.CountAttributes(0x30);
    }
    Require(buffer == original);

    const bool indx = IsValidIndexRecord(buffer);
    Require(IndexRecordParent(buffer) < 0 || indx);
    Require(buffer == original);
    sink = IsValidRestartPage(input) + IsLogRecordPage(input);

    if (ApplyFixup(buffer)) {
        Require(RevertFixup(buffer));
        Require(buffer == original);
    }

    std::vector<NtfsRun> runs;
    const bool valid = IsValidMappingPairs(input);
    Require(DecodeMappingPairs(input, runs) == valid);
    Require(SumRunLengths(input) == (valid ? TotalClusters(runs) : 0));
    if (!runs.empty())
        sink = static_cast<uint64_t>(VcnToLcn(runs, runs.back().vcn) + LcnToVcn(runs, runs[0].lcn));

    const CNTFSDBR boot(input);
    sink = boot.IsValid() + GetFileRecordSize(boot) + static_cast<uint64_t>(GetTotalSectors(boot)) +
           static_cast<uint64_t>(GetMftCluster(boot)) + GetOemId(boot).size();

    // The input as a tiny volume whose $MFT is the whole device: record 0 is the base record and
    // the others are what its attribute list may name.
    InputDevice device(input);
    const MftMap mft({0, 1, 1024}, {{0, 0, device.GetTotalSectors()}});
    const FileRecordSet set(input, 0, &device, mft);
    Attributes(set);
    sink = set.Extensions().size();
    return 0;
}
