// Arbitrary boot records, FAT sectors and directory clusters through the FAT parsers and the quick
// build over an in-memory device: none may crash, hang, leak or read outside its buffers.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <vector>

#include "engine/devices/StorageDevice.h"
#include "engine/fat/FATBootRecord.h"
#include "engine/fat/FATDirEntry.h"
#include "engine/fat/FATQuickBuild.h"
#include "engine/fat/FATTable.h"
#include "engine/fat/FatVolumeAnalyze.h"
#include "engine/model/FileTree.h"

namespace {

using namespace keldrin;
using namespace keldrin::fat;

constexpr int64_t kVolumeSectors = 16384;
constexpr uint32_t kMaxFatSectors = 1024;  // keeps each run fast; larger tables only repeat the walk

// Sector 0 is the boot record; every later sector repeats the rest of the input, so that FATs,
// the root folder and every cluster see fuzzed bytes wherever the boot record puts them.
class WrappedDevice final : public IStorageDevice {
  public:
    WrappedDevice(const uint8_t* boot, std::span<const uint8_t> rest) : rest_(rest.begin(), rest.end()) {
        std::memcpy(boot_, boot, kSectorSize);
    }
    bool ReadSectors(void* buffer, int64_t first, int64_t count) override {
        if (first < 0 || count < 0 || first > kVolumeSectors || count > kVolumeSectors - first) return false;
        auto* out = static_cast<uint8_t*>(buffer);
        for (int64_t s = first; s < first + count; ++s, out += kSectorSize) {
            if (s == 0) {
                std::memcpy(out, boot_, kSectorSize);
            } else if (rest_.empty()) {
                std::memset(out, 0, kSectorSize);
            } else {
                for (size_t i = 0; i < kSectorSize; ++i)
                    out[i] = rest_[((s - 1) * kSectorSize + i) % rest_.size()];
            }
        }
        return true;
    }
    int64_t GetTotalSectors() override { return kVolumeSectors; }
    bool Open() override { return true; }
    bool Close() override { return true; }

  private:
    uint8_t boot_[kSectorSize];
    std::vector<uint8_t> rest_;
};

void ParseAlone(const uint8_t* data, size_t size) {
    std::string name;
    AssembleEntryName(data, size / kDirEntrySize, name);
    for (size_t at = 0; at + kDirEntrySize <= size; at += kDirEntrySize) {
        const CFATDirEntry entry(data + at);
        entry.IsValid(true);
        entry.FormatShortName(at & 32);
    }
    const uint32_t sectors = static_cast<uint32_t>(size / kSectorSize);
    if (sectors == 0) return;
    std::vector<uint8_t> bytes(data, data + size);
    CFAT12Table fat12(nullptr, 0, sectors);
    fat12.SetBytes(bytes);
    CFAT16Table fat16(nullptr, 0, sectors);
    fat16.SetBytes(bytes);
    CFAT32Table fat32(nullptr, 0, sectors);
    fat32.SetBytes(bytes);
    fat12.Validate();
    fat16.Validate();
    fat32.Validate();
    for (uint32_t n = 0; n < sectors * 256 + 4; n += 7)
        fat12.GetEntry(n) ^ fat16.GetEntry(n) ^ fat32.GetEntry(n);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const uint8_t mode = data[0];
    ++data;
    --size;
    ParseAlone(data, std::min<size_t>(size, 8 * kSectorSize));

    uint8_t boot[kSectorSize] = {};
    std::memcpy(boot, data, std::min<size_t>(size, kSectorSize));
    if (mode & 1) {
        // Help the fuzzer past the classification: a type text, two FATs and the signature.
        const int type = (mode >> 1) % 3;
        std::memcpy(boot + (type == 2 ? 0x52 : 0x36),
                    type == 0   ? "FAT12   "
                    : type == 1 ? "FAT16   "
                                : "FAT32   ",
                    8);
        boot[0x10] = 2;
        boot[0x1FE] = 0x55;
        boot[0x1FF] = 0xAA;
    }
    // Cap the FAT32 table size the boot record may ask for.
    uint32_t fat32Sectors =
        boot[0x24] | (boot[0x25] << 8) | (boot[0x26] << 16) | (uint32_t{boot[0x27]} << 24);
    if (fat32Sectors > kMaxFatSectors) {
        fat32Sectors %= kMaxFatSectors;
        for (int i = 0; i < 4; ++i) boot[0x24 + i] = static_cast<uint8_t>(fat32Sectors >> (8 * i));
    }
    const std::span<const uint8_t> rest =
        size > kSectorSize ? std::span<const uint8_t>(data + kSectorSize, size - kSectorSize)
                           : std::span<const uint8_t>();
    WrappedDevice device(boot, rest);

    CFatVolumeAnalyze volume(&device, 0);
    char label[100];
    volume.GetVolumeLabel(label, sizeof label);

    CFATSearchedPartitionInfo info;
    info.flags = kFromFAT12DBR | kFromFAT16DBR | kFromFAT32DBR | kFromFAT32BackupDBR;
    if (mode & 0x10) info.flags |= kFoundFAT1 | kUseFAT1;
    if (mode & 0x20) info.flags |= kFoundFAT2 | kUseFAT2;
    TreeOwner<CFileSystemNode> root(BuildQuickTree(nullptr, info, &device, (mode & 0x40) != 0, 0));
    if (root) {
        for (CFileNode* n = root->GetFirstChild(); n; n = n->GetNextSibling()) {
            auto runs = n->GetProperties() ? n->GetProperties()->GetDataRunList() : nullptr;
            if (runs) runs->GetRunCount();
        }
    }
    return 0;
}
