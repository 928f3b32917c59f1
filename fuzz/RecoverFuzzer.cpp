// The recovery writer's readers of on-disk bytes: LZNT1 units, and the MFT records read again at
// copy time for resident values and the $EFS stream.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "engine/model/NTFSFileProperties.h"
#include "engine/output/Lznt1.h"
#include "engine/output/RecordReload.h"

namespace {

class BytesDevice final : public keldrin::IStorageDevice {
  public:
    BytesDevice(const uint8_t* data, size_t size)
        : bytes_(std::max<size_t>((size + 511) / 512 * 512, 16 * 512)) {
        std::memcpy(bytes_.data(), data, size);
    }
    bool ReadSectors(void* buffer, int64_t first, int64_t count) override {
        if (first < 0 || count < 0 || static_cast<uint64_t>(first + count) * 512 > bytes_.size())
            return false;
        std::memcpy(buffer, bytes_.data() + first * 512, static_cast<size_t>(count) * 512);
        return true;
    }
    int64_t GetTotalSectors() override { return static_cast<int64_t>(bytes_.size() / 512); }
    bool Open() override { return true; }
    bool Close() override { return true; }

  private:
    std::vector<uint8_t> bytes_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace keldrin;
    if (size < 1) return 0;
    const uint8_t mode = data[0];
    ++data;
    --size;
    if (mode & 1) {
        std::vector<uint8_t> out(1 + (mode >> 1) * 257 % 65536);
        if (output::DecompressLznt1Unit({data, size}, out) > out.size()) std::abort();
        return 0;
    }
    BytesDevice device(data, size);
    NTFSPropertiesRecord record;
    record.name = "f";
    record.size = 100;
    record.recordSector = 0;
    record.extensionRecords = {{static_cast<int64_t>(mode >> 1) % 20, 1}};
    auto properties = CNTFSFileProperties::InitFromRecord(record);
    output::ReloadedRecords set;
    if (!properties || !output::ReloadRecordSet(device, *properties, set)) return 0;
    std::vector<uint8_t> value(output::kMaxResidentBytes);
    if (output::ReadResidentData(set, value.data(), value.size()) > static_cast<int64_t>(value.size()))
        std::abort();
    std::vector<uint8_t> efs;
    const int64_t length = output::ReadEfsStream(set, device, {0, 8}, efs);
    if (length > static_cast<int64_t>(output::kMaxEfsStreamBytes) ||
        (length >= 0 && efs.size() != size_t(length)))
        std::abort();
    return 0;
}
