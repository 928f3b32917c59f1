// Building small images for the signature analysers and asking one analyser about them.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "engine/raw/BuiltInAnalysers.h"
#include "engine/raw/RawFileAnalyser.h"
#include "shared/ScanSettings.h"
#include "tests/raw/RawTestFixtures.h"

namespace keldrin::test {

using Bytes = std::vector<uint8_t>;

inline Bytes ToBytes(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

inline void Append(Bytes& out, const Bytes& more) {
    out.insert(out.end(), more.begin(), more.end());
}
inline void AppendText(Bytes& out, const std::string& text) {
    out.insert(out.end(), text.begin(), text.end());
}
inline void PutLe16(Bytes& b, size_t at, uint32_t v) {
    b[at] = static_cast<uint8_t>(v);
    b[at + 1] = static_cast<uint8_t>(v >> 8);
}
inline void PutLe32(Bytes& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}
inline void PutBe32(Bytes& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (24 - 8 * i));
}

// Restores the settings and the built-in factory after each test.
class AnalyserTest : public ::testing::Test {
  protected:
    void SetUp() override {
        saved_ = GetScanSettings().raw;
        SetRawAnalyserFactory(BuiltInAnalyserFactory());
    }
    void TearDown() override {
        GetScanSettings().raw = saved_;
        SetRawAnalyserFactory(BuiltInAnalyserFactory());
    }

  private:
    RawRecoverySettings saved_;
};

struct Outcome {
    bool recognised = false;
    int answer = 0;  // of FindFileSize, when asked
    int32_t type = 0;
    int64_t size = 0;
};

// Puts data at sector 2 of a device with room for padSectors more, then asks analyser whether the
// sector begins a file and, when the header left the size open, for the size.
inline Outcome Analyse(IRawFileAnalyser& analyser, const Bytes& data, int64_t padSectors = 4) {
    const int64_t sectors = 2 + static_cast<int64_t>((data.size() + 511) / 512) + padSectors;
    MemoryDevice device(sectors);
    if (!data.empty()) device.Put(2 * 512, data.data(), data.size());
    Outcome out;
    CRawFileInfo candidate;
    out.recognised = analyser.CheckSignature(device.bytes.data() + 2 * 512, candidate) == 1;
    if (!out.recognised) return out;
    candidate.startSector = 2;
    out.answer = 1;
    if (candidate.size == 0) out.answer = analyser.FindFileSize(candidate, &device);
    out.type = candidate.type;
    out.size = candidate.size;
    return out;
}

}  // namespace keldrin::test
