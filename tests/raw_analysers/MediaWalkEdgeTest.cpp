// Kinds sized from their image or audio data: MP3 frames, Photoshop image data, TIFF strips.
#include <gtest/gtest.h>

#include <string>

#include "engine/raw/FileMP3Analyser.h"
#include "engine/raw/FilePSDAnalyser.h"
#include "engine/raw/FileTIFAnalyser.h"
#include "tests/raw_analysers/AnalyserTestSupport.h"

namespace keldrin::test {
namespace {

using MediaWalkTest = AnalyserTest;

// An ID3v2.3 tag of 10 + 257 bytes.
Bytes Id3(uint8_t major = 3, uint8_t sizeByte = 0x01) {
    Bytes b = {'I', 'D', '3', major, 0, 0, 0, 0, 0x02, sizeByte};
    b.resize(10 + 257, 0x20);
    return b;
}

// A frame of `length` bytes beginning with the 32-bit header.
Bytes Frame(uint32_t header, size_t length) {
    Bytes b(length, 0x55);
    PutBe32(b, 0, header);
    return b;
}

constexpr uint32_t kMpeg1 = 0xFFFB9000;        // layer III, 128 kbit/s, 44.1 kHz: 417 bytes
constexpr uint32_t kMpeg1Padded = 0xFFFB9200;  // the same with padding: 418

Bytes Mp3(std::initializer_list<Bytes> parts) {
    Bytes b = Id3();
    for (const Bytes& p : parts) Append(b, p);
    return b;
}

Bytes Tag() {
    Bytes t = ToBytes("TAG");
    t.resize(128, 0x41);
    return t;
}

struct PsdHeader {
    uint16_t version = 1;
    uint16_t channels = 3;
    uint32_t height = 4;
    uint32_t width = 5;
    uint16_t depth = 8;
    uint16_t compression = 0;
    uint8_t reserved = 0;
};

// Header, empty colour-mode data, 10 bytes of resources, no layers, then the compression word.
Bytes Psd(const PsdHeader& h) {
    Bytes b(26, 0);
    std::copy_n("8BPS", 4, b.begin());
    PutBe16(b, 4, h.version);
    b[8] = h.reserved;
    PutBe16(b, 12, h.channels);
    PutBe32(b, 14, h.height);
    PutBe32(b, 18, h.width);
    PutBe16(b, 22, h.depth);
    PutBe16(b, 24, 3);
    Append(b, {0, 0, 0, 0, 0, 0, 0, 10});
    b.resize(b.size() + 10, 0x66);
    Append(b, {0, 0, 0, 0, static_cast<uint8_t>(h.compression >> 8), static_cast<uint8_t>(h.compression)});
    return b;
}

Bytes Rle(uint32_t rows, uint16_t rowLength) {
    Bytes b = Psd({.compression = 1});
    for (uint32_t r = 0; r < rows; ++r)
        Append(b, {static_cast<uint8_t>(rowLength >> 8), static_cast<uint8_t>(rowLength)});
    b.resize(b.size() + rows * rowLength, 0x77);
    return b;
}

struct Entry {
    uint16_t tag, type;
    uint32_t count, value;
};

// A TIFF in either byte order with one directory at ifd; extra places bytes at given offsets.
Bytes Tiff(bool big, uint32_t ifd, std::initializer_list<Entry> entries, size_t size = 512) {
    Bytes b(size, 0);
    auto put16 = [&](size_t at, uint32_t v) { big ? PutBe16(b, at, v) : PutLe16(b, at, v); };
    auto put32 = [&](size_t at, uint32_t v) { big ? PutBe32(b, at, v) : PutLe32(b, at, v); };
    std::copy_n(big ? "MM\0*" : "II*\0", 4, b.begin());
    put32(4, ifd);
    put16(ifd, static_cast<uint32_t>(entries.size()));
    size_t at = ifd + 2;
    for (const Entry& e : entries) {
        put16(at, e.tag);
        put16(at + 2, e.type);
        put32(at + 4, e.count);
        if (e.type == 3 && e.count <= 2) {
            put16(at + 8, e.value & 0xFFFF);
            put16(at + 10, e.value >> 16);
        } else {
            put32(at + 8, e.value);
        }
        at += 12;
    }
    return b;
}

// Two strips at 200 and 300 (offsets in an array at 100) of 100 and 150 bytes (inline).
Bytes TwoStrips(bool big) {
    Bytes b = Tiff(big, 8, {{256, 3, 1, 10}, {273, 4, 2, 100}, {279, 3, 2, 100 | (150u << 16)}});
    if (big) {
        PutBe32(b, 100, 200);
        PutBe32(b, 104, 300);
    } else {
        PutLe32(b, 100, 200);
        PutLe32(b, 104, 300);
    }
    return b;
}

TEST_F(MediaWalkTest, Mp3FramesAfterTheTag) {
    const int64_t tag = 267;
    const Bytes one = Frame(kMpeg1, 417);
    const Bytes padded = Frame(kMpeg1Padded, 418);
    Bytes zeros(100, 0);
    Bytes mpeg2 =
        Mp3({Frame(0xFFF37054, 182), Frame(0xFFF37074, 182), Frame(0xFFF3A060, 313), Frame(0xFFF3A260, 314)});
    Bytes cutFrame = Id3();
    Append(cutFrame, {0xFF, 0xFB, 0x90, 0x00});
    const Expect cases[] = {
        {"frames and the closing tag", &AnalyseWith<FileMP3Analyser>, Mp3({one, padded, one, Tag()}), true, 1,
         41, tag + 417 + 418 + 417 + 128},
        {"mpeg-2 frame lengths", &AnalyseWith<FileMP3Analyser>, mpeg2, true, 1, 41,
         tag + 182 + 182 + 313 + 314},
        {"zeros after the tag", &AnalyseWith<FileMP3Analyser>, Mp3({zeros, one}), true, 1, 41,
         tag + 100 + 417},
        {"a stray byte between frames", &AnalyseWith<FileMP3Analyser>, Mp3({one, Bytes{0x00}, one}), true, 1,
         41, tag + 417 + 1 + 417},
        {"two stray bytes end the audio", &AnalyseWith<FileMP3Analyser>, Mp3({one, Bytes{0x00, 0x00}, one}),
         true, 1, 41, tag + 417},
        {"closing tag two bytes on", &AnalyseWith<FileMP3Analyser>, Mp3({one, Bytes{0x00, 0x00}, Tag()}),
         true, 1, 41, tag + 417 + 2 + 128},
        {"reserved layer", &AnalyseWith<FileMP3Analyser>, Mp3({Frame(0xFFF99000, 417)}), true, 0, 0, 0},
        {"free bitrate", &AnalyseWith<FileMP3Analyser>, Mp3({Frame(0xFFFB0000, 417)}), true, 0, 0, 0},
        {"reserved sample rate", &AnalyseWith<FileMP3Analyser>, Mp3({Frame(0xFFFB9C00, 417)}), true, 0, 0, 0},
        {"tag version 2.4", &AnalyseWith<FileMP3Analyser>, Id3(4), false, 0, 0, 0},
        {"tag size not sync-safe", &AnalyseWith<FileMP3Analyser>, Id3(3, 0x81), false, 0, 0, 0},
        {"frame past the device", &AnalyseWith<FileMP3Analyser>, cutFrame, true, 0, 0, 0, 0},
    };
    for (const Expect& c : cases) Check(c);
}

TEST_F(MediaWalkTest, PsdImageDataAfterItsSections) {
    const int64_t data = 26 + 4 + 4 + 10 + 4 + 2;  // where the image data begin
    const Expect cases[] = {
        {"raw", &AnalyseWith<FilePSDAnalyser>, Psd({}), true, 1, 50, data + 5 * 4 * 3},
        {"raw, 16 bits", &AnalyseWith<FilePSDAnalyser>, Psd({.depth = 16}), true, 1, 50,
         data + 5 * 4 * 3 * 2},
        {"run lengths", &AnalyseWith<FilePSDAnalyser>, Rle(12, 3), true, 1, 50, data + 12 * 2 + 12 * 3},
        {"zip compressed", &AnalyseWith<FilePSDAnalyser>, Psd({.compression = 2}), true, 0, 0, 0},
        {"large document format", &AnalyseWith<FilePSDAnalyser>, Psd({.version = 2}), true, 0, 0, 0},
        {"reserved bytes set", &AnalyseWith<FilePSDAnalyser>, Psd({.reserved = 1}), true, 0, 0, 0},
        // Dimensions whose product passes 64 bits must not wrap into a small size.
        {"huge raw image", &AnalyseWith<FilePSDAnalyser>,
         Psd({.channels = 0xFFFF, .height = 0xFFFFFFFF, .width = 0xFFFFFFFF, .depth = 0xFFFF}), true, 0, 0,
         0},
        {"row table past the device", &AnalyseWith<FilePSDAnalyser>,
         Psd({.channels = 3, .height = 100000, .compression = 1}), true, 0, 0, 0},
    };
    for (const Expect& c : cases) Check(c);
}

TEST_F(MediaWalkTest, TiffSizeCoversStripsDirectoryAndValues) {
    // The directory after the image data, as many writers put it.
    Bytes dirLast = Tiff(false, 1008, {{273, 4, 1, 8}, {279, 4, 1, 1000}}, 1100);
    // A description string stored after everything else.
    Bytes valueLast = Tiff(false, 8, {{273, 4, 1, 100}, {279, 4, 1, 50}, {270, 2, 40, 2000}}, 2048);
    // More strips than one block of reading: offsets (LONG) at 1000, counts (SHORT) at 7000.
    Bytes manyStrips = Tiff(true, 8, {{273, 4, 1500, 1000}, {279, 3, 1500, 7000}}, 10000);
    for (uint32_t i = 0; i < 1500; ++i) {
        PutBe32(manyStrips, 1000 + 4 * i, 20000 + i);
        PutBe16(manyStrips, 7000 + 2 * i, 1);
    }
    const Expect cases[] = {
        {"little-endian", &AnalyseWith<FileTIFAnalyser>, TwoStrips(false), true, 1, 60, 450},
        {"1500 strips", &AnalyseWith<FileTIFAnalyser>, manyStrips, true, 1, 60, 20000 + 1500},
        {"big-endian", &AnalyseWith<FileTIFAnalyser>, TwoStrips(true), true, 1, 60, 450},
        {"directory last", &AnalyseWith<FileTIFAnalyser>, dirLast, true, 1, 60, 1008 + 2 + 24 + 4},
        {"value last", &AnalyseWith<FileTIFAnalyser>, valueLast, true, 1, 60, 2040},
        // 32-bit sums would wrap to a few bytes here.
        {"strip past 4 GiB", &AnalyseWith<FileTIFAnalyser>,
         Tiff(false, 8, {{273, 4, 1, 0xFFFFFF00}, {279, 4, 1, 0x200}}), true, 1, 60, 0x100000100},
        {"tiles, no strips", &AnalyseWith<FileTIFAnalyser>,
         Tiff(false, 8, {{324, 4, 1, 100}, {325, 4, 1, 50}}), true, 0, 0, 0},
        {"directory inside the header", &AnalyseWith<FileTIFAnalyser>, Tiff(false, 4, {}), true, 0, 0, 0},
        {"directory past the device", &AnalyseWith<FileTIFAnalyser>,
         [] {
             Bytes b = TwoStrips(false);
             PutLe32(b, 4, 0x100000);
             return b;
         }(),
         true, 0, 0, 0},
        {"other mark", &AnalyseWith<FileTIFAnalyser>, ToBytes("II+\0"), false, 0, 0, 0},
    };
    for (const Expect& c : cases) Check(c);
}

}  // namespace
}  // namespace keldrin::test
