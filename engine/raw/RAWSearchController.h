// The RAW scanner of the sector scan: offers every sector to the signature analysers and keeps the
// last 20 chunks in a ring, so that sizes needing the file's data are decided from memory.
#pragma once

#include <cstdint>
#include <deque>
#include <vector>

#include "engine/devices/BufferStorageDevice.h"
#include "engine/raw/RawCandidateFilter.h"
#include "engine/raw/RawFileStore.h"
#include "engine/raw/SignatureTable.h"
#include "engine/search/FileSystemSearchController.h"
#include "engine/search/ScanBlockView.h"

namespace keldrin {

inline constexpr int64_t kRawRingChunks = 20;

class CRAWSearchController final : public IFileSystemSearchController {
  public:
    void SetDevice(IStorageDevice* device) override { device_ = device; }
    void SetBlockSize(int64_t sectors) override { chunk_ = sectors; }
    // Rebuilds the analyser list from the chosen types of the scan settings.
    bool BeginSearch() override;
    bool EndSearch() override;
    bool AnalyzeSectors(int64_t firstSector, int64_t sectorCount, SearchCounters& counters) override;
    // The candidates live in the store.
    void GetResults(CandidateList&) override {}
    void SetRawFileStore(CRawFileStore* store) override { store_ = store; }
    int GetAnalyserKind() const override { return kAnalyserRaw; }

    size_t GetPendingCount() const { return pending_.size(); }

  private:
    // Offers the candidates among the chunk's sectors to the analysers: those listed in notes
    // when the cache's prepass made them, otherwise each sector the filter lets through.
    void ScanSectors(const uint8_t* chunk, int64_t firstSector, int64_t sectorCount,
                     const std::vector<uint32_t>* notes, SearchCounters& counters);
    void ScanSector(const uint8_t* sector, int64_t number, SearchCounters& counters);
    IScanBlockView* View() const;
    void DecideFromRing();

    IStorageDevice* device_ = nullptr;
    CRawFileStore* store_ = nullptr;
    int64_t chunk_ = 0;
    bool ready_ = false;
    CSignatureTable table_;
    CRawCandidateFilter filter_{table_};
    CBufferStorageDevice ring_;
    std::vector<uint8_t> buffer_;
    std::deque<CRawFileInfo*> pending_;  // found without a size, oldest first
};

}  // namespace keldrin
