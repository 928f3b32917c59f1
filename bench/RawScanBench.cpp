// Times the RAW-only sector scan of an image file with a few trivial signature analysers and
// prints the scan rate, for bench/raw-scan-bench.sh.
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>

#include "engine/devices/ImageFileDevice.h"
#include "engine/raw/RAWSearchController.h"
#include "engine/raw/RawAnalyserList.h"
#include "engine/raw/RawFileStore.h"
#include "engine/search/SectorScan.h"
#include "shared/ScanSettings.h"

namespace {

using namespace keldrin;

// A fixed magic at the start of the sector; the size is left to the tree build.
class MagicAnalyser final : public IRawFileAnalyser {
  public:
    MagicAnalyser(int32_t type, const char* magic, size_t length)
        : IRawFileAnalyser(type), magic_(magic), length_(length) {}
    int CheckSignature(const uint8_t* sector, CRawFileInfo& c) override {
        if (std::memcmp(sector, magic_, length_) != 0) return 0;
        c.type = analyserId_;
        return 1;
    }
    bool GetLeadingBytes(std::vector<uint16_t>& values) const override {
        values.push_back(
            static_cast<uint16_t>(static_cast<uint8_t>(magic_[0]) | static_cast<uint8_t>(magic_[1]) << 8));
        return true;
    }

  private:
    const char* magic_;
    size_t length_;
};

void MakeTrivialSet(RawAnalysers& list) {
    list.push_back(std::make_unique<MagicAnalyser>(33, "\xFF\xD8\xFF", 3));
    list.push_back(std::make_unique<MagicAnalyser>(47, "\x89PNG", 4));
    list.push_back(std::make_unique<MagicAnalyser>(68, "PK\x03\x04", 4));
    list.push_back(std::make_unique<MagicAnalyser>(46, "%PDF", 4));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: raw_scan_bench IMAGE\n");
        return 1;
    }
    CImageFileDevice device(argv[1]);
    if (!device.Open() || device.GetTotalSectors() <= 0) {
        std::fprintf(stderr, "raw_scan_bench: cannot read %s\n", argv[1]);
        return 2;
    }
    SetRawAnalyserFactory({[](int type, RawAnalysers& list) {
                               if (type == 33) MakeTrivialSet(list);
                           },
                           MakeTrivialSet});
    GetScanSettings().raw.chosenTypes = {33};
    CRawFileStore store;
    CRAWSearchController scanner;
    const AnalyserList analysers{&scanner};
    ShareRawFileStore(analysers, &store);
    CandidateList results;
    const auto start = std::chrono::steady_clock::now();
    RunSectorScan(&device, analysers, results, nullptr);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double mb = static_cast<double>(device.GetTotalSectors()) * kSectorSize / 1e6;
    std::printf("raw scan: %.1f MB in %.3f s = %.1f MB/s, %zu candidates\n", mb, seconds, mb / seconds,
                store.GetCount());
    return 0;
}
