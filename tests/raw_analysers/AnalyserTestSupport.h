// Building small images for the signature analysers and asking one analyser about them.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
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
inline void PutBe16(Bytes& b, size_t at, uint32_t v) {
    b[at] = static_cast<uint8_t>(v >> 8);
    b[at + 1] = static_cast<uint8_t>(v);
}
inline void PutLe64(Bytes& b, size_t at, uint64_t v) {
    for (int i = 0; i < 8; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
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
    const uint8_t* sector = device.bytes.data() + 2 * 512;
    out.recognised = analyser.CheckSignature(sector, candidate) == 1;
    if (!out.recognised) return out;
    // The scan asks an analyser only about sectors with one of its leading values at its offset.
    std::vector<uint16_t> leading;
    if (analyser.GetLeadingBytes(leading)) {
        const int at = analyser.GetLeadingBytesOffset();
        const uint16_t key = static_cast<uint16_t>(sector[at] | (sector[at + 1] << 8));
        EXPECT_NE(std::find(leading.begin(), leading.end(), key), leading.end())
            << "a recognised sector's bytes at " << at << " are not among the analyser's leading values";
    }
    candidate.startSector = 2;
    out.answer = 1;
    if (candidate.size == 0) out.answer = analyser.FindFileSize(candidate, &device);
    out.type = candidate.type;
    out.size = candidate.size;
    return out;
}

template <class A>
Outcome AnalyseWith(const Bytes& data, int64_t padSectors = 4) {
    A analyser;
    return Analyse(analyser, data, padSectors);
}

// One fixture and what an analyser should make of it; recognised false means CheckSignature
// refuses it, answer 0 that FindFileSize cannot decide.
struct Expect {
    const char* name;
    Outcome (*run)(const Bytes&, int64_t);
    Bytes data;
    bool recognised;
    int answer;
    int32_t type;
    int64_t size;
    int64_t padSectors = 4;  // 0: the data end where the device does
};

inline void Check(const Expect& c) {
    SCOPED_TRACE(c.name);
    const Outcome out = c.run(c.data, c.padSectors);
    EXPECT_EQ(out.recognised, c.recognised);
    if (!out.recognised || !c.recognised) return;
    EXPECT_EQ(out.answer, c.answer);
    if (c.answer == 1) {
        EXPECT_EQ(out.type, c.type);
        EXPECT_EQ(out.size, c.size);
    }
}

}  // namespace keldrin::test
