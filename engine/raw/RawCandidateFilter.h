// The part of the signature test that needs nothing but a sector's bytes: whether any analyser is
// to be asked about it at all. Run as the scan cache's prepass it lists a block's candidates on the
// reader thread, and the scan thread looks at those sectors alone.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "engine/raw/SignatureTable.h"
#include "engine/search/BlockPrepass.h"

namespace keldrin {

class CRawCandidateFilter final : public IBlockPrepass {
  public:
    // The table is not owned and must not change while the filter is in use.
    explicit CRawCandidateFilter(const CSignatureTable& table) : table_(table) {}

    // Sectors beginning with four zero bytes are nobody's; the others go to the table.
    bool IsCandidate(const uint8_t* sector) const {
        uint32_t head;
        std::memcpy(&head, sector, sizeof head);
        return head != 0 && table_.MayMatch(sector);
    }
    // The candidates among the sectorCount sectors at data, as ascending sector offsets.
    void PrepareBlock(const uint8_t* data, int64_t sectorCount, std::vector<uint32_t>& notes) const override;

  private:
    const CSignatureTable& table_;
};

}  // namespace keldrin
