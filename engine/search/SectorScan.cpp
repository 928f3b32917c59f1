#include "engine/search/SectorScan.h"

#include "engine/search/CandidateRanking.h"
#include "engine/search/IntelligentSearchController.h"

namespace keldrin {

bool RunSectorScan(IStorageDevice* device, const AnalyserList& analysers, CandidateList& results,
                   IIntelligentSearchCallback* callback) {
    if (!device) return false;
    CIntelligentSearchController driver;
    driver.SetSourceDevice(device);
    for (IFileSystemSearchController* a : analysers) driver.AddController(a);
    if (!driver.Run(callback)) return false;
    for (IFileSystemSearchController* a : analysers)
        if (a) a->GetResults(results);
    RankCandidates(results);
    OrderCandidates(results);
    SelectCandidates(results, device->GetTotalSectors());
    return true;
}

CFileSystemNode* BuildTreeForCandidate(const AnalyserList& analysers, CSearchedPartitionInfo* candidate,
                                       IStorageDevice* device, int index, IDIRBuildCallback* callback) {
    if (!candidate) return nullptr;
    for (IFileSystemSearchController* a : analysers)
        if (a && a->HandlesType(candidate->fileSystemType))
            return a->BuildTree(candidate, device, index, callback);
    return nullptr;
}

void ShareRawFileStore(const AnalyserList& analysers, CRawFileStore* store) {
    for (IFileSystemSearchController* a : analysers)
        if (a) a->SetRawFileStore(store);
}

}  // namespace keldrin
