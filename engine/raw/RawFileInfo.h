// One RAW candidate of a scan: where a file of a known type begins, and its size once decided.
#pragma once

#include <cstdint>

namespace keldrin {

class IRawFileAnalyser;

inline constexpr int32_t kNoAnalyserId = 0xFFFF;

struct CRawFileInfo {
    int64_t startSector = 0;
    int64_t size = 0;  // bytes; 0 = not decided yet
    int32_t type = 0;  // RawFileType index; the low 16 bits name the file
    int32_t analyserId = kNoAnalyserId;
    IRawFileAnalyser* analyser = nullptr;  // not owned; valid while the analyser list lives
};

}  // namespace keldrin
