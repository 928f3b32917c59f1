// Kinds sized by walking their records: where each walk ends, and that damage or a device that
// ends too early gives no size rather than a wrong one.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "engine/raw/File3GPAnalyser.h"
#include "engine/raw/FileASFAnalyser.h"
#include "engine/raw/FileCPTAnalyser.h"
#include "engine/raw/FileDWGAnalyser.h"
#include "engine/raw/FileLZHAnalyser.h"
#include "engine/raw/FileMDBAnalyser.h"
#include "engine/raw/FileMIDAnalyser.h"
#include "engine/raw/FileMOVAnalyser.h"
#include "engine/raw/FileMP4Analyser.h"
#include "engine/raw/FilePSPAnalyser.h"
#include "engine/raw/FileRARAnalyser.h"
#include "engine/raw/FileTARAnalyser.h"
#include "tests/raw_analysers/AnalyserTestSupport.h"

namespace keldrin::test {
namespace {

using ContainerWalkTest = AnalyserTest;

Bytes Box(const char* type, uint32_t length) {
    Bytes b(length < 8 ? 8 : length, 0);
    PutBe32(b, 0, length);
    std::copy(type, type + 4, b.begin() + 4);
    return b;
}

Bytes FileType(const char* brand) {
    Bytes b = Box("ftyp", 0x18);
    std::copy(brand, brand + 4, b.begin() + 8);
    return b;
}

// b with the 32-bit length at `at` (big- or little-endian) claiming more than b holds.
Bytes Claim(Bytes b, size_t at, uint32_t length, bool big) {
    if (big) {
        PutBe32(b, at, length);
    } else {
        PutLe32(b, at, length);
    }
    return b;
}

Bytes Boxes(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts) Append(out, p);
    return out;
}

Bytes LargeBox(const char* type, uint64_t length) {
    Bytes b(length, 0);
    PutBe32(b, 0, 1);
    std::copy(type, type + 4, b.begin() + 4);
    PutBe32(b, 8, static_cast<uint32_t>(length >> 32));
    PutBe32(b, 12, static_cast<uint32_t>(length));
    return b;
}

constexpr uint8_t kAsfHeader[16] = {0x30, 0x26, 0xB2, 0x75, 0x8E, 0x66, 0xCF, 0x11,
                                    0xA6, 0xD9, 0x00, 0xAA, 0x00, 0x62, 0xCE, 0x6C};
constexpr uint8_t kAsfData[16] = {0x36, 0x26, 0xB2, 0x75, 0x8E, 0x66, 0xCF, 0x11,
                                  0xA6, 0xD9, 0x00, 0xAA, 0x00, 0x62, 0xCE, 0x6C};
constexpr uint8_t kAsfIndex[16] = {0x90, 0x08, 0x00, 0x33, 0xB1, 0xE5, 0xCF, 0x11,
                                   0x89, 0xF4, 0x00, 0xA0, 0xC9, 0x03, 0x49, 0xCB};

Bytes AsfObject(const uint8_t* guid, uint64_t length) {
    Bytes b(length < 24 ? 24 : length, 0);
    std::copy(guid, guid + 16, b.begin());
    PutLe64(b, 16, length);
    return b;
}

// A Photo-Paint file with a two-entry object table at 316 whose last record is at 1000.
Bytes PhotoPaint(uint32_t entries, uint32_t lastRecord, uint32_t extension, uint32_t e) {
    Bytes b(4096, 0);
    const std::string mark = "CPT9FILE";
    std::copy(mark.begin(), mark.end(), b.begin());
    PutLe32(b, 52, 316);
    PutLe32(b, 40, entries);
    PutLe32(b, 316 + 8, lastRecord);
    if (lastRecord + 64 < b.size()) {
        PutLe32(b, lastRecord + 32, extension);
        PutLe32(b, lastRecord + 60, extension);
        const uint32_t p = lastRecord + 60 + extension;
        PutLe32(b, p, e);
        PutLe32(b, p + 4, 1);
    }
    PutLe32(b, 2000 - 8, 3000);  // the last block: offset and length
    PutLe32(b, 2000 - 4, 500);
    return b;
}

constexpr uint8_t kDwgTail[16] = {0x68, 0x40, 0xF8, 0xF7, 0x92, 0x2A, 0xB5, 0xEF,
                                  0x18, 0xDD, 0x0B, 0xF1, 0xF1, 0xBB, 0xE9, 0xEB};
constexpr uint8_t kDwgImage[16] = {0x1F, 0x25, 0x6D, 0x07, 0xD4, 0x36, 0x28, 0x28,
                                   0x9D, 0x57, 0xCA, 0x3F, 0x9D, 0x44, 0x10, 0x2B};

Bytes Dwg2004(bool atHeader, size_t closingAt) {
    Bytes b(2048, 0);
    const std::string mark = "AC1018";
    std::copy(mark.begin(), mark.end(), b.begin());
    if (atHeader) std::copy(kDwgTail, kDwgTail + 16, b.begin() + 128);
    if (closingAt) std::copy(kDwgTail, kDwgTail + 16, b.begin() + closingAt);
    return b;
}

struct Locator {
    uint32_t offset, length;
};
Bytes Dwg2000(const char* release, uint32_t count, std::initializer_list<Locator> locators,
              bool sentinel = true) {
    Bytes b(1024, 0);
    std::copy(release, release + 6, b.begin());
    PutLe32(b, 13, 600);
    PutLe32(b, 21, count);
    size_t at = 25;
    for (const Locator& l : locators) {
        PutLe32(b, at + 1, l.offset);
        PutLe32(b, at + 5, l.length);
        at += 9;
    }
    if (sentinel) std::copy(kDwgImage, kDwgImage + 16, b.begin() + 600);
    return b;
}

Bytes LzhMember(const char* method, uint32_t packed) {
    Bytes b(22 + packed + 2, 0x20);
    b[0] = 22;
    std::copy(method, method + 5, b.begin() + 2);
    PutLe32(b, 7, packed);
    return b;
}

// Jet 3 pages of 2048 bytes, or with version 1 (Access 2000 on) of 4096.
Bytes Jet(std::initializer_list<uint8_t> pageTypes, uint8_t version = 0) {
    const size_t pageBytes = version == 0 ? 2048 : 4096;
    Bytes b(pageBytes, 0);
    const uint8_t magic[20] = {0,   1,   0,   0,   'S', 't', 'a', 'n', 'd', 'a',
                               'r', 'd', ' ', 'J', 'e', 't', ' ', 'D', 'B', 0};
    std::copy(magic, magic + 20, b.begin());
    b[20] = version;
    for (uint8_t t : pageTypes) {
        Bytes page(pageBytes, 0x11);
        page[0] = t;
        Append(b, page);
    }
    return b;
}

Bytes Midi(uint16_t format, uint16_t tracks, std::initializer_list<uint32_t> lengths,
           const char* id = "MTrk") {
    Bytes b = ToBytes(std::string("MThd\0\0\0\x06", 8));
    b.resize(14, 0);
    PutBe16(b, 8, format);
    PutBe16(b, 10, tracks);
    PutBe16(b, 12, 96);
    for (uint32_t length : lengths) {
        Bytes chunk(8 + length, 0);
        std::copy(id, id + 4, chunk.begin());
        PutBe32(chunk, 4, length);
        Append(b, chunk);
    }
    return b;
}

Bytes Psp(std::initializer_list<uint32_t> blocks) {
    Bytes b = ToBytes(std::string("Paint Shop Pro Image File\n\x1a\0\0\0\0\0", 32));
    Append(b, {5, 0, 0, 0});
    for (uint32_t length : blocks) {
        Bytes block(10 + length, 0x22);
        const uint8_t head[4] = {'~', 'B', 'K', 0};
        std::copy(head, head + 4, block.begin());
        PutLe32(block, 6, length);
        Append(b, block);
    }
    return b;
}

Bytes RarBlock(uint8_t type, uint16_t header, uint32_t data) {
    Bytes b(header + (type == 0x74 ? data : 0), 0);
    if (b.size() < 11) b.resize(11, 0);
    b[2] = type;
    PutLe16(b, 5, header);
    PutLe32(b, 7, data);
    return b;
}

Bytes Rar(std::initializer_list<Bytes> blocks, bool endBlock) {
    Bytes b = {'R', 'a', 'r', '!', 0x1A, 0x07, 0x00};
    for (const Bytes& block : blocks) Append(b, block);
    if (endBlock) Append(b, {0xC4, 0x3D, 0x7B, 0x00, 0x40, 0x07, 0x00});
    return b;
}

Bytes TarMember(const std::string& name, const char* size, size_t dataBytes) {
    Bytes b(512, 0);
    std::copy(name.begin(), name.end(), b.begin());
    std::copy(size, size + 11, b.begin() + 124);
    const std::string magic = "ustar";
    std::copy(magic.begin(), magic.end(), b.begin() + 257);
    b.resize(512 + (dataBytes + 511) / 512 * 512, 0x33);
    return b;
}

TEST_F(ContainerWalkTest, WalksEndWhereTheirRecordsDo) {
    Bytes manyFree = FileType("isom");
    for (int i = 0; i < 600; ++i) Append(manyFree, Box("free", 8));
    Bytes caselessBrand = Boxes({FileType("3g2a"), Box("mdat", 100)});
    std::copy_n("FTYP3G2A", 8, caselessBrand.begin() + 4);
    const Bytes asf = Boxes({AsfObject(kAsfHeader, 30), AsfObject(kAsfData, 50), AsfObject(kAsfIndex, 40)});
    const Bytes asfExact = Boxes({AsfObject(kAsfHeader, 30), AsfObject(kAsfData, 482)});
    const Bytes rarMain = RarBlock(0x73, 13, 0);
    const Bytes rarFile = RarBlock(0x74, 32, 100);

    const Expect cases[] = {
        // ISO media: movie boxes after the file-type box, others end the walk.
        {"3gp", &AnalyseWith<File3GPAnalyser>,
         Boxes({FileType("3gp4"), Box("free", 8), Box("mdat", 100), Box("uuid", 40)}), true, 1, 2,
         0x18 + 108},
        {"3gp, brand in capitals", &AnalyseWith<File3GPAnalyser>, caselessBrand, true, 1, 2, 0x18 + 100},
        {"3gp, other brand", &AnalyseWith<File3GPAnalyser>, Boxes({FileType("3gp5"), Box("mdat", 100)}),
         false, 0, 0, 0},
        {"mp4, 64-bit box size", &AnalyseWith<FileMP4Analyser>,
         Boxes({FileType("isom"), Box("moov", 40), LargeBox("mdat", 64)}), true, 1, 42, 0x18 + 104},
        {"mp4, at most 500 boxes", &AnalyseWith<FileMP4Analyser>, manyFree, true, 1, 42, 0x18 + 500 * 8},
        {"mp4, first box of size 0", &AnalyseWith<FileMP4Analyser>, Claim(FileType("mp42"), 0, 0, true), true,
         0, 0, 0},
        {"mp4, box shorter than its header", &AnalyseWith<FileMP4Analyser>,
         Boxes({FileType("isom"), Box("moov", 4)}), true, 1, 42, 0x18},
        {"mp4, data past the device", &AnalyseWith<FileMP4Analyser>,
         Claim(Boxes({FileType("isom"), Box("mdat", 200)}), 0x18, 5000, true), true, 0, 0, 0, 0},
        // QuickTime: atoms from the start.
        {"mov", &AnalyseWith<FileMOVAnalyser>,
         Boxes({Box("moov", 0x100), Box("wide", 8), Box("mdat", 200), Box("free", 16)}), true, 1, 40,
         0x100 + 224},
        {"mov, short atom ends it", &AnalyseWith<FileMOVAnalyser>,
         Boxes({Box("mdat", 0x100), Box("moov", 4)}), true, 1, 40, 0x100},
        {"mov, ftyp first", &AnalyseWith<FileMOVAnalyser>, Boxes({FileType("qt  "), Box("moov", 0x100)}),
         false, 0, 0, 0},
        {"mov, past the device", &AnalyseWith<FileMOVAnalyser>,
         Claim(Boxes({Box("mdat", 512), Box("moov", 0x100)}), 512, 5000, true), true, 0, 0, 0, 0},
        // ASF: header, data, and a simple index when present.
        {"asf with index", &AnalyseWith<FileASFAnalyser>, asf, true, 1, 6, 120},
        {"asf without index", &AnalyseWith<FileASFAnalyser>,
         Boxes({AsfObject(kAsfHeader, 30), AsfObject(kAsfData, 50)}), true, 1, 6, 80},
        {"asf, no data object", &AnalyseWith<FileASFAnalyser>,
         Boxes({AsfObject(kAsfHeader, 30), AsfObject(kAsfIndex, 50)}), true, 0, 0, 0},
        {"asf, header shorter than itself", &AnalyseWith<FileASFAnalyser>,
         Boxes({AsfObject(kAsfHeader, 10), AsfObject(kAsfData, 50)}), true, 0, 0, 0},
        {"asf, index place unreadable", &AnalyseWith<FileASFAnalyser>, asfExact, true, 0, 0, 0, 0},
        // Photo-Paint: through the last object record.
        {"cpt", &AnalyseWith<FileCPTAnalyser>, PhotoPaint(2, 1000, 0, 2000), true, 1, 15, 3500},
        {"cpt, record with extension", &AnalyseWith<FileCPTAnalyser>, PhotoPaint(2, 1000, 16, 2000), true, 1,
         15, 3500},
        {"cpt, record without pointers", &AnalyseWith<FileCPTAnalyser>, PhotoPaint(2, 1000, 0, 0), true, 1,
         15, 1000},
        {"cpt, empty table", &AnalyseWith<FileCPTAnalyser>, PhotoPaint(0, 1000, 0, 2000), true, 0, 0, 0},
        {"cpt, record past the device", &AnalyseWith<FileCPTAnalyser>, PhotoPaint(2, 0x7FFFFFF0, 0, 2000),
         true, 0, 0, 0},
        // AutoCAD.
        {"dwg 2004", &AnalyseWith<FileDWGAnalyser>, Dwg2004(true, 1000), true, 1, 22, 1108},
        {"dwg 2004, no sentinel in the header", &AnalyseWith<FileDWGAnalyser>, Dwg2004(false, 1000), true, 0,
         0, 0},
        {"dwg 2004, no closing sentinel", &AnalyseWith<FileDWGAnalyser>, Dwg2004(true, 0), true, 0, 0, 0},
        {"dwg 2000", &AnalyseWith<FileDWGAnalyser>,
         Dwg2000("AC1015", 3, {{100, 200}, {5000, 1000}, {300, 50}}), true, 1, 22, 6000},
        {"dwg 14", &AnalyseWith<FileDWGAnalyser>, Dwg2000("AC1014", 1, {{700, 90}}), true, 1, 22, 790},
        {"dwg 2000, no locators", &AnalyseWith<FileDWGAnalyser>, Dwg2000("AC1015", 0, {}), true, 0, 0, 0},
        {"dwg 2000, 101 locators", &AnalyseWith<FileDWGAnalyser>, Dwg2000("AC1015", 101, {{100, 200}}), true,
         0, 0, 0},
        {"dwg 2000, no image sentinel", &AnalyseWith<FileDWGAnalyser>,
         Dwg2000("AC1015", 1, {{100, 200}}, false), true, 0, 0, 0},
        {"dwg 9", &AnalyseWith<FileDWGAnalyser>, Dwg2000("AC1009", 1, {{100, 200}}), true, 0, 0, 0},
        {"dwg 2010", &AnalyseWith<FileDWGAnalyser>, Dwg2000("AC1024", 1, {{100, 200}}), false, 0, 0, 0},
        // LHA: members in a row, then the closing zero.
        {"lzh", &AnalyseWith<FileLZHAnalyser>,
         Boxes({LzhMember("-lh5-", 5), LzhMember("-lh0-", 7), Bytes{0}}), true, 1, 34, 29 + 31 + 1},
        {"lzh, other method ends it", &AnalyseWith<FileLZHAnalyser>,
         Boxes({LzhMember("-lh0-", 5), LzhMember("-lh6-", 7)}), true, 1, 34, 29},
        {"lzh, packed data past the device", &AnalyseWith<FileLZHAnalyser>,
         Claim(LzhMember("-lh5-", 5), 7, 5000, false), true, 0, 0, 0, 0},
        // Jet: pages while they begin with a page type.
        {"mdb", &AnalyseWith<FileMDBAnalyser>, Jet({1, 2, 4, 0x41}), true, 1, 37, 4 * 2048},
        {"mdb, access 2000", &AnalyseWith<FileMDBAnalyser>, Jet({1, 0x41}, 1), true, 1, 37, 2 * 4096},
        {"mdb, pages up to the device end", &AnalyseWith<FileMDBAnalyser>, Jet({1, 2, 4}), true, 0, 0, 0, 0},
        // MIDI.
        {"mid", &AnalyseWith<FileMIDAnalyser>, Midi(1, 2, {10, 20}), true, 1, 36, 14 + 18 + 28},
        {"mid, chunk id in small letters", &AnalyseWith<FileMIDAnalyser>, Midi(0, 1, {10}, "mtrk"), true, 1,
         36, 14 + 18},
        {"mid, format 3", &AnalyseWith<FileMIDAnalyser>, Midi(3, 1, {10}), false, 0, 0, 0},
        {"mid, no tracks", &AnalyseWith<FileMIDAnalyser>, Midi(0, 0, {10}), false, 0, 0, 0},
        {"mid, no track chunk", &AnalyseWith<FileMIDAnalyser>, Midi(0, 1, {10}, "XTrk"), true, 0, 0, 0},
        {"mid, track past the device", &AnalyseWith<FileMIDAnalyser>, Claim(Midi(0, 1, {10}), 18, 5000, true),
         true, 0, 0, 0, 0},
        // Paint Shop Pro.
        {"psp", &AnalyseWith<FilePSPAnalyser>, Psp({600, 100}), true, 1, 51, 36 + 610 + 110},
        {"psp, smaller than a sector", &AnalyseWith<FilePSPAnalyser>, Psp({10}), true, 0, 0, 0},
        {"psp, block past the device", &AnalyseWith<FilePSPAnalyser>, Claim(Psp({600}), 36 + 6, 5000, false),
         true, 0, 0, 0, 0},
        // RAR: blocks, then the end block when present.
        {"rar", &AnalyseWith<FileRARAnalyser>, Rar({rarMain, rarFile}, true), true, 1, 54, 7 + 13 + 132 + 7},
        {"rar without end block", &AnalyseWith<FileRARAnalyser>, Rar({rarMain, rarFile}, false), true, 1, 54,
         7 + 13 + 132},
        {"rar, broken block header", &AnalyseWith<FileRARAnalyser>,
         Rar({rarMain, RarBlock(0x74, 6, 100)}, false), true, 1, 54, 7 + 13},
        {"rar, short main header", &AnalyseWith<FileRARAnalyser>, Rar({RarBlock(0x73, 9, 0)}, false), true, 0,
         0, 0},
        {"rar, packed data past the device", &AnalyseWith<FileRARAnalyser>,
         Rar({rarMain, Claim(RarBlock(0x74, 32, 0), 7, 5000, false)}, false), true, 0, 0, 0, 0},
        // tar: empty members do not end the archive; the zero block does.
        {"tar", &AnalyseWith<FileTARAnalyser>,
         Boxes({TarMember("d/", "00000000000", 0), TarMember("d/a.txt", "00000001130", 600), Bytes(512, 0)}),
         true, 1, 59, 512 + 1536 + 512},
        {"tar, damaged size field", &AnalyseWith<FileTARAnalyser>,
         Boxes({TarMember("a", "00000001130", 600), TarMember("b", "0000000x130", 600)}), true, 1, 59, 1536},
        {"tar, member past the device", &AnalyseWith<FileTARAnalyser>, TarMember("a", "00000011130", 600),
         true, 0, 0, 0, 0},
    };
    for (const Expect& c : cases) Check(c);
}

// Records whose chains never end by themselves: each walk stops at the maximal size.
TEST_F(ContainerWalkTest, WalksStopAtTheMaximalSize) {
    GetScanSettings().raw.maxFileSize = 64 * 1024;
    Bytes boxes = FileType("isom");
    while (boxes.size() < 200 * 1024) Append(boxes, Box("free", 1000));
    Bytes jet = Jet({});
    Bytes page(2048, 0x11);
    page[0] = 1;
    while (jet.size() < 200 * 1024) Append(jet, page);
    Bytes tar;
    while (tar.size() < 200 * 1024) Append(tar, TarMember("d/", "00000000000", 0));
    Bytes midi = Midi(0, 1, {});
    while (midi.size() < 200 * 1024) Append(midi, {'M', 'T', 'r', 'k', 0, 0, 0, 0});

    EXPECT_EQ(AnalyseWith<FileMP4Analyser>(boxes, 0).size, 0x18 + (64 * 1024 - 0x18) / 1000 * 1000);
    EXPECT_EQ(AnalyseWith<FileMDBAnalyser>(jet, 0).size, 64 * 1024);
    EXPECT_EQ(AnalyseWith<FileTARAnalyser>(tar, 0).size, 64 * 1024);
    EXPECT_EQ(AnalyseWith<FileMIDAnalyser>(midi, 0).size, 14 + (64 * 1024 - 14) / 8 * 8);
}

}  // namespace
}  // namespace keldrin::test
