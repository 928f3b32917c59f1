// The scan step of the Complete and Partition Recovery flows, and what comes after it: the tree of
// a chosen candidate, built by the analyser of its file-system type.
#pragma once

#include <vector>

#include "engine/devices/StorageDevice.h"
#include "engine/model/FileSystemNode.h"
#include "engine/model/ProgressCallbacks.h"
#include "engine/search/FileSystemSearchController.h"
#include "engine/search/IntelligentSearchCallback.h"

namespace keldrin {

using AnalyserList = std::vector<IFileSystemSearchController*>;

// Scans device with the analysers in order, then leaves every analyser's candidates in results,
// ranked, ordered and the best non-overlapping ones marked. callback (may be null) sees the
// progress and is asked for a cancel once per block. False when the scan could not run.
bool RunSectorScan(IStorageDevice* device, const AnalyserList& analysers, CandidateList& results,
                   IIntelligentSearchCallback* callback);

// The tree of candidate by the first analyser that handles its type; null when none does.
CFileSystemNode* BuildTreeForCandidate(const AnalyserList& analysers, CSearchedPartitionInfo* candidate,
                                       IStorageDevice* device, int index, IDIRBuildCallback* callback);

// Gives every analyser the scan's RAW file store before the scan.
void ShareRawFileStore(const AnalyserList& analysers, CRawFileStore* store);

}  // namespace keldrin
