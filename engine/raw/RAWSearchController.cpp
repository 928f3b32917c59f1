#include "engine/raw/RAWSearchController.h"

#include <cstring>

#include "engine/raw/RawAnalyserList.h"
#include "engine/search/ScanBlockView.h"
#include "shared/ScanSettings.h"

namespace keldrin {
namespace {

// The ring numbers its sectors from its oldest one and counts only what it holds; analysers read
// it with the volume's sector numbers, and the byte reader asks for the end of the readable data.
class CRingView final : public IStorageDevice {
  public:
    explicit CRingView(CBufferStorageDevice& ring) : ring_(ring) {}
    bool ReadSectors(void* buffer, int64_t firstSector, int64_t sectorCount) override {
        return ring_.ReadSectors(buffer, firstSector, sectorCount);
    }
    int64_t GetTotalSectors() override { return ring_.GetFirstSector() + ring_.GetTotalSectors(); }
    bool Open() override { return true; }
    bool Close() override { return true; }

  private:
    CBufferStorageDevice& ring_;
};

}  // namespace

bool CRAWSearchController::BeginSearch() {
    ready_ = false;
    pending_.clear();
    // No prepass may read the table while it is rebuilt.
    IScanBlockView* view = View();
    if (view) view->SetBlockPrepass(nullptr);
    RebuildRawAnalyserList(GetScanSettings().raw.chosenTypes);
    table_.Build(GetRawAnalyserList());
    if (chunk_ <= 0 || !ring_.InitRing(0, chunk_, kRawRingChunks)) return false;
    try {
        buffer_.assign(static_cast<size_t>(chunk_ * kSectorSize), 0);
    } catch (const std::exception&) {
        ring_.InitRing(0, 0, 0);
        return false;
    }
    // The scan cache's reader thread finds the candidates of the blocks ahead.
    if (view) view->SetBlockPrepass(&filter_);
    ready_ = true;
    return true;
}

bool CRAWSearchController::EndSearch() {
    if (IScanBlockView* view = View()) view->SetBlockPrepass(nullptr);
    // Candidates of the last chunks keep size 0; the tree build decides them from the volume.
    pending_.clear();
    std::vector<uint8_t>().swap(buffer_);
    ring_.InitRing(0, 0, 0);  // frees the ring
    ready_ = false;
    return true;
}

bool CRAWSearchController::AnalyzeSectors(int64_t firstSector, int64_t sectorCount,
                                          SearchCounters& counters) {
    if (table_.IsEmpty()) return true;
    if (!ready_ || !device_ || !store_ || sectorCount <= 0 || sectorCount > chunk_) return false;
    // A whole chunk in the scan's cache is looked at where it lies; anything else (a device
    // without a view, the short last chunk, which the ring needs zero-filled) is copied first.
    // The ring keeps a chunk in place when it outlives the load (a mapped image) and copies it
    // otherwise.
    const IScanBlockView* view = View();
    const bool whole = view && sectorCount == chunk_;
    const uint8_t* lasting = whole ? view->GetLastingBlockData(firstSector, sectorCount) : nullptr;
    const uint8_t* chunk = lasting ? lasting : whole ? view->GetBlockData(firstSector, sectorCount) : nullptr;
    if (!chunk) {
        std::memset(buffer_.data(), 0, buffer_.size());
        if (!device_->ReadSectors(buffer_.data(), firstSector, sectorCount))
            std::memset(buffer_.data(), 0, buffer_.size());
        chunk = buffer_.data();
    }
    ScanSectors(chunk, firstSector, sectorCount,
                chunk != buffer_.data() ? view->GetBlockNotes(firstSector) : nullptr, counters);
    if (ring_.IsFull()) DecideFromRing();
    if (lasting) {
        ring_.AppendBlockInPlace(lasting);
    } else {
        ring_.AppendBlock(chunk);
    }
    return true;
}

IScanBlockView* CRAWSearchController::View() const {
    return dynamic_cast<IScanBlockView*>(device_);
}

void CRAWSearchController::ScanSectors(const uint8_t* chunk, int64_t firstSector, int64_t sectorCount,
                                       const std::vector<uint32_t>* notes, SearchCounters& counters) {
    if (notes) {
        for (uint32_t i : *notes) {
            if (i < sectorCount) ScanSector(chunk + int64_t{i} * kSectorSize, firstSector + i, counters);
        }
        return;
    }
    // Sectors come straight from memory, mostly not in the processor's caches: fetching some
    // ahead overlaps the waits instead of taking them one by one.
    constexpr int64_t kAhead = 16;
    const uint8_t* sector = chunk;
    for (int64_t i = 0; i < sectorCount; ++i, sector += kSectorSize) {
        if (i + kAhead < sectorCount) table_.Prefetch(sector + kAhead * kSectorSize);
        if (filter_.IsCandidate(sector)) ScanSector(sector, firstSector + i, counters);
    }
}

void CRAWSearchController::ScanSector(const uint8_t* sector, int64_t number, SearchCounters& counters) {
    CRawFileInfo fresh;
    IRawFileAnalyser* match = table_.FirstMatch(sector, [&](IRawFileAnalyser* a) {
        // What an analyser wrote before saying no must not reach the next one.
        fresh = CRawFileInfo{};
        try {
            return a->CheckSignature(sector, fresh) == 1;
        } catch (...) {
            return false;
        }
    });
    if (!match) return;
    fresh.startSector = number;
    fresh.analyser = match;
    fresh.analyserId = match->GetAnalyserId();
    CRawFileInfo* stored = store_->AddRawFile(fresh);
    ++counters.value[kCounterFilesIdentified];
    ++counters.value[kCounterTotalFilesFound];
    if (stored->size == 0) pending_.push_back(stored);
}

void CRAWSearchController::DecideFromRing() {
    CRingView view(ring_);
    const int64_t oldestEnd = ring_.GetFirstSector() + chunk_;
    while (!pending_.empty()) {
        CRawFileInfo* c = pending_.front();
        if (c->startSector >= oldestEnd) break;
        try {
            if (c->analyser) c->analyser->FindFileSize(*c, &view);
        } catch (...) {
            // the size stays undecided until the tree is built
        }
        pending_.pop_front();
    }
}

}  // namespace keldrin
