#include "engine/raw/FileCRWAnalyser.h"

#include "engine/raw/RawWalk.h"

namespace keldrin {

using namespace rawwalk;

namespace {

constexpr uint8_t kMagic[16] = {0x49, 0x49, 0x1A, 0x00, 0x00, 0x00, 'H',  'E',
                                'A',  'P',  'C',  'C',  'D',  'R',  0x02, 0x00};
constexpr int64_t kSearchBytes = 20971520;  // the closing record lies within this; else a guess
constexpr char kRecordName[] = "High definition CCD image";
constexpr size_t kRecordBytes = 128 + 15;  // up to the end of "Canon PowerShot"

bool IsClosingRecord(const uint8_t* r) {
    return SameBytes(r + 32, "CRW:High definition CCD image", 29, false) &&
           SameBytes(r + 122, "Canon", 5, false) && SameBytes(r + 128, "Canon PowerShot", 15, false);
}

}  // namespace

int FileCRWAnalyser::CheckSignature(const uint8_t* s, CRawFileInfo& candidate) {
    for (size_t i = 0; i < sizeof(kMagic); ++i)
        if (s[i] != kMagic[i]) return 0;
    candidate.type = 16;
    candidate.size = 0;
    return 1;
}

int FileCRWAnalyser::FindFileSize(CRawFileInfo& candidate, IStorageDevice* device) {
    CRawByteReader reader(device, candidate.startSector);
    const auto* name = reinterpret_cast<const uint8_t*>(kRecordName);
    const size_t nameLength = sizeof(kRecordName) - 1;
    int64_t size = kSearchBytes;
    for (int64_t from = 16; from < kSearchBytes;) {
        int64_t at = 0;
        if (!FindBytes(reader, name, nameLength, from, kSearchBytes - 1, at)) {
            // Not within the search: the guess, unless the data ended before the search did.
            if (!reader.GetByte(kSearchBytes - 1)) return 0;
            break;
        }
        uint8_t record[kRecordBytes];
        if (!reader.ReadBytes(at, record, sizeof(record))) return 0;
        if (IsClosingRecord(record)) {
            // The sector holding the record was read, so the rounded size never passes the
            // device's end.
            size = (at + 511) / 512 * 512;
            break;
        }
        from = at + 1;
    }
    candidate.size = size;
    return 1;
}

bool FileCRWAnalyser::GetLeadingBytes(std::vector<uint16_t>& values) const {
    values.push_back(0x49 | (0x49 << 8));
    return true;
}

}  // namespace keldrin
