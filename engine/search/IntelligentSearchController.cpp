#include "engine/search/IntelligentSearchController.h"

#include <algorithm>

#include "engine/search/ScanBlockCache.h"
#include "platform/Worker.h"

namespace keldrin {

void CIntelligentSearchController::AddController(IFileSystemSearchController* analyser) {
    if (analyser) analysers_.push_back(analyser);
}

bool CIntelligentSearchController::Run(IIntelligentSearchCallback* callback) {
    if (!device_) return false;
    callback_ = callback;
    done_ = false;
    blocksFed_ = 0;
    counters_ = SearchCounters{};
    platform::RunWorker([this] { Work(); });
    return true;
}

void CIntelligentSearchController::Work() {
    // The device delivers block i + 1 while the analysers look at block i.
    CScanBlockCache cache(device_, kScanBlockSectors);
    for (IFileSystemSearchController* a : analysers_) a->SetDevice(&cache);
    for (IFileSystemSearchController* a : analysers_) a->SetBlockSize(kScanBlockSectors);
    for (IFileSystemSearchController* a : analysers_) a->BeginSearch();

    const int64_t total = cache.GetTotalSectors();
    const int64_t blocks = cache.GetBlockCount();
    if (callback_) callback_->SetRange(0, blocks);
    for (int64_t i = 0; i < blocks; ++i) {
        if (callback_ && callback_->IsCancelled()) break;
        counters_.ResetBlockCounters();
        cache.LoadBlock(i);
        const int64_t first = i * kScanBlockSectors;
        const int64_t count = std::min(kScanBlockSectors, total - first);
        for (IFileSystemSearchController* a : analysers_) {
            // An analyser that throws loses the rest of this block, not the scan.
            try {
                a->AnalyzeSectors(first, count, counters_);
            } catch (...) {
                break;
            }
        }
        ++blocksFed_;
        if (callback_) {
            callback_->SetCounters(counters_);
            callback_->SetPosition(i);
            callback_->BlockDone();
        }
    }
    for (IFileSystemSearchController* a : analysers_) a->EndSearch();
    done_ = true;
}

}  // namespace keldrin
