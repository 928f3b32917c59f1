// The built-in signature analysers on arbitrary sectors: every analyser's CheckSignature on the
// first sector and, for those that match or not, FindFileSize over the data as an in-memory device.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "engine/raw/BuiltInAnalysers.h"
#include "shared/ScanSettings.h"

namespace {

class BytesDevice final : public keldrin::IStorageDevice {
  public:
    BytesDevice(const uint8_t* data, size_t size) : bytes_(std::max<size_t>((size + 511) / 512 * 512, 512)) {
        if (size) std::memcpy(bytes_.data(), data, size);
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
    const uint8_t* Sector0() const { return bytes_.data(); }

  private:
    std::vector<uint8_t> bytes_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace keldrin;
    static RawAnalysers analysers = [] {
        RawAnalysers list;
        AppendAllAnalysers(list);
        return list;
    }();
    if (size < 1) return 0;
    // A small maximal size keeps walks over zeros or repeated patterns short.
    GetScanSettings().raw.maxFileSize = 1 + (data[0] & 0x7F) * 4096;
    BytesDevice device(data + 1, size - 1);
    for (const auto& analyser : analysers) {
        CRawFileInfo candidate;
        const int matched = analyser->CheckSignature(device.Sector0(), candidate);
        candidate.startSector = 0;
        // Walks must also stand data their own check would refuse.
        analyser->FindFileSize(candidate, &device);
        (void)matched;
    }
    return 0;
}
