// One RAW signature analyser: recognises the first sector of a file of its kind and, when the
// header does not state it, decides the file's size from its data.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/devices/StorageDevice.h"
#include "engine/raw/RawFileInfo.h"

namespace keldrin {

inline constexpr int32_t kCustomAnalyserId = -1;

class IRawFileAnalyser {
  public:
    IRawFileAnalyser() = default;
    explicit IRawFileAnalyser(int32_t analyserId) : analyserId_(analyserId) {}
    virtual ~IRawFileAnalyser() = default;

    // Decides candidate.size by reading the file from device, whose sector numbers are those of
    // the scanned volume; 0 when the data do not allow a decision. The base decides nothing.
    virtual int FindFileSize(CRawFileInfo& candidate, IStorageDevice* device) {
        (void)candidate;
        (void)device;
        return 1;
    }
    // 1 when a file of this kind begins in sector (512 bytes), after setting candidate.type and,
    // when the header states it, candidate.size.
    virtual int CheckSignature(const uint8_t* sector, CRawFileInfo& candidate) = 0;

    // The values that the two bytes at GetLeadingBytesOffset() (byte 0 | byte 1 << 8 there) can
    // take when CheckSignature answers 1, so that the scan asks this analyser only about such
    // sectors. False (the default) when any bytes may match: the analyser is asked about every
    // sector that does not begin with four zero bytes.
    virtual bool GetLeadingBytes(std::vector<uint16_t>& values) const {
        (void)values;
        return false;
    }
    // Where in the sector the bytes of GetLeadingBytes stand, 0 to 510: kinds whose mark follows
    // a size or a header name it where it is. Outside that range the values are not used and the
    // analyser is asked about every sector.
    virtual int GetLeadingBytesOffset() const { return 0; }

    int32_t GetAnalyserId() const { return analyserId_; }

  protected:
    int32_t analyserId_ = kCustomAnalyserId;
};

}  // namespace keldrin
