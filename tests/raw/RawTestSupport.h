// Settings and analyser-list set-up shared by the RAW tests.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/model/FileNode.h"
#include "engine/model/FileProperties.h"
#include "engine/raw/RAWSearchController.h"
#include "engine/raw/RawAnalyserList.h"
#include "shared/ScanSettings.h"
#include "tests/raw/RawTestFixtures.h"

namespace keldrin::test {

// Restores the process-wide scan settings and analyser factory after each test.
class RawTest : public ::testing::Test {
  protected:
    void SetUp() override { saved_ = GetScanSettings().raw; }
    void TearDown() override {
        GetScanSettings().raw = saved_;
        SetRawAnalyserFactory({});
    }
    // The scan asks makeList() for its analysers whatever types are chosen.
    static void UseAnalysers(std::function<void(RawAnalysers&)> makeList) {
        SetRawAnalyserFactory({[makeList](int type, RawAnalysers& list) {
                                   if (type == 33) makeList(list);
                               },
                               makeList});
        GetScanSettings().raw.chosenTypes = {33, 47, 1000};
    }

  private:
    RawRecoverySettings saved_;
};

// Feeds device to the RAW scanner in chunks of 1000 sectors, as the driver does.
inline void ScanRaw(CRAWSearchController& scanner, IStorageDevice& device, CRawFileStore& store,
                    SearchCounters* countersOut = nullptr) {
    SearchCounters counters;
    scanner.SetDevice(&device);
    scanner.SetBlockSize(1000);
    scanner.SetRawFileStore(&store);
    scanner.BeginSearch();
    const int64_t total = device.GetTotalSectors();
    for (int64_t first = 0; first < total; first += 1000)
        scanner.AnalyzeSectors(first, std::min<int64_t>(1000, total - first), counters);
    scanner.EndSearch();
    if (countersOut) *countersOut = counters;
}

inline std::string NameOf(const CFileNode* node) {
    const IFileProperties* p = node ? node->GetProperties() : nullptr;
    return p ? std::string(p->GetName(), p->GetNameLength()) : std::string();
}

// Children names in listing order (the tree prepends, so this is newest first).
inline std::vector<std::string> ChildNames(const CFileNode* node) {
    std::vector<std::string> names;
    for (const CFileNode* c = node ? node->GetFirstChild() : nullptr; c; c = c->GetNextSibling())
        names.push_back(NameOf(c));
    return names;
}

inline const CFileNode* ChildNamed(const CFileNode* node, const std::string& name) {
    for (const CFileNode* c = node ? node->GetFirstChild() : nullptr; c; c = c->GetNextSibling())
        if (NameOf(c) == name) return c;
    return nullptr;
}

inline size_t ChildCount(const CFileNode* node) {
    return ChildNames(node).size();
}

}  // namespace keldrin::test
