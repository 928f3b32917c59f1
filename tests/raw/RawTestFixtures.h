// Small devices and signature analysers for the RAW tests.
#pragma once

#include <atomic>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "engine/devices/StorageDevice.h"
#include "engine/raw/RawAnalyserList.h"
#include "engine/raw/RawByteReader.h"
#include "engine/raw/RawFileAnalyser.h"

namespace keldrin::test {

// Sectors in memory; reads past the end fail. Counts the reads.
class MemoryDevice final : public IStorageDevice {
  public:
    explicit MemoryDevice(int64_t sectors) : bytes(static_cast<size_t>(sectors) * kSectorSize, 0) {}
    bool ReadSectors(void* buffer, int64_t first, int64_t count) override {
        ++reads;
        if (first < 0 || count < 0 || first + count > GetTotalSectors()) return false;
        std::memcpy(buffer, bytes.data() + first * kSectorSize, static_cast<size_t>(count) * kSectorSize);
        return true;
    }
    int64_t GetTotalSectors() override { return static_cast<int64_t>(bytes.size() / kSectorSize); }
    bool Open() override { return true; }
    bool Close() override { return true; }

    void Put(int64_t byteOffset, const void* data, size_t size) {
        std::memcpy(bytes.data() + byteOffset, data, size);
    }
    void Put(int64_t byteOffset, const std::string& text) { Put(byteOffset, text.data(), text.size()); }

    std::vector<uint8_t> bytes;
    std::atomic<int64_t> reads{0};
};

// "KLDA" then a 64-bit size: the header states the length. Type as given.
class HeaderSizeAnalyser final : public IRawFileAnalyser {
  public:
    HeaderSizeAnalyser(int32_t id, int32_t type) : IRawFileAnalyser(id), type_(type) {}
    int CheckSignature(const uint8_t* sector, CRawFileInfo& c) override {
        if (std::memcmp(sector, "KLDA", 4) != 0) return 0;
        c.type = type_;
        std::memcpy(&c.size, sector + 4, 8);
        return 1;
    }
    bool GetLeadingBytes(std::vector<uint16_t>& values) const override {
        values.push_back('K' | 'L' << 8);
        return true;
    }

  private:
    int32_t type_;
};

// "KLDB": the size is where "KEND" follows, found by walking the data (bounded by maxWalk bytes).
class TrailerAnalyser final : public IRawFileAnalyser {
  public:
    TrailerAnalyser(int32_t id, int32_t type, int64_t maxWalk = 64 << 20)
        : IRawFileAnalyser(id), type_(type), maxWalk_(maxWalk) {}
    int CheckSignature(const uint8_t* sector, CRawFileInfo& c) override {
        if (std::memcmp(sector, "KLDB", 4) != 0) return 0;
        c.type = type_;
        return 1;
    }
    int FindFileSize(CRawFileInfo& c, IStorageDevice* device) override {
        ++sizeCalls;
        CRawByteReader reader(device, c.startSector);
        for (int64_t p = 4; p < maxWalk_; ++p) {
            uint8_t four[4];
            if (!reader.ReadBytes(p, four, 4)) return 0;
            if (std::memcmp(four, "KEND", 4) == 0) {
                c.size = p + 4;
                return 1;
            }
        }
        c.size = maxWalk_;
        return 1;
    }
    bool GetLeadingBytes(std::vector<uint16_t>& values) const override {
        values.push_back('K' | 'L' << 8);
        return true;
    }
    int sizeCalls = 0;

  private:
    int32_t type_;
    int64_t maxWalk_;
};

// Claims any sector whose second byte is given, without naming leading bytes: asked about every
// sector. Sized by the header like HeaderSizeAnalyser when it can, else 1000 bytes.
class AnySectorAnalyser final : public IRawFileAnalyser {
  public:
    AnySectorAnalyser(int32_t id, int32_t type, char second)
        : IRawFileAnalyser(id), type_(type), second_(second) {}
    int CheckSignature(const uint8_t* sector, CRawFileInfo& c) override {
        ++asked;
        c.type = type_;  // written before the answer: must not leak into the next analyser
        if (sector[1] != static_cast<uint8_t>(second_)) return 0;
        c.size = 1000;
        return 1;
    }
    int64_t asked = 0;

  private:
    int32_t type_;
    char second_;
};

// "MK" at byte 16, named there: asked only about sectors with those bytes at 16. 1000 bytes.
class OffsetMarkAnalyser final : public IRawFileAnalyser {
  public:
    OffsetMarkAnalyser(int32_t id, int32_t type) : IRawFileAnalyser(id), type_(type) {}
    int CheckSignature(const uint8_t* sector, CRawFileInfo& c) override {
        ++asked;
        if (std::memcmp(sector + 16, "MK", 2) != 0) return 0;
        c.type = type_;
        c.size = 1000;
        return 1;
    }
    bool GetLeadingBytes(std::vector<uint16_t>& values) const override {
        values.push_back('M' | 'K' << 8);
        return true;
    }
    int GetLeadingBytesOffset() const override { return 16; }
    int64_t asked = 0;

  private:
    int32_t type_;
};

class ThrowingAnalyser final : public IRawFileAnalyser {
  public:
    ThrowingAnalyser() : IRawFileAnalyser(5) {}
    int CheckSignature(const uint8_t*, CRawFileInfo&) override { throw 1; }
};

}  // namespace keldrin::test
