// Kinds whose first sector states the size: what they accept, the size taken, and the damaged
// headers they refuse.
#include <gtest/gtest.h>

#include <string>

#include "engine/raw/File3DSAnalyser.h"
#include "engine/raw/FileAUAnalyser.h"
#include "engine/raw/FileCABAnalyser.h"
#include "engine/raw/FileCHMAnalyser.h"
#include "engine/raw/FileDBXAnalyser.h"
#include "engine/raw/FileEMFAnalyser.h"
#include "engine/raw/FileEPSAnalyser.h"
#include "engine/raw/FileHLPAnalyser.h"
#include "engine/raw/FileICOAnalyser.h"
#include "engine/raw/FileLowDocAnalyser.h"
#include "engine/raw/FileMNYAnalyser.h"
#include "engine/raw/FileONEAnalyser.h"
#include "engine/raw/FilePSTAnalyser.h"
#include "engine/raw/FileSWFAnalyser.h"
#include "engine/raw/FileTTFAnalyser.h"
#include "engine/raw/FileWMFAnalyser.h"
#include "engine/raw/FileWPDAnalyser.h"
#include "tests/raw_analysers/AnalyserTestSupport.h"

namespace keldrin::test {
namespace {

using StatedSizeTest = AnalyserTest;

Bytes Sector(std::initializer_list<uint8_t> start) {
    Bytes b(512, 0);
    std::copy(start.begin(), start.end(), b.begin());
    return b;
}

Bytes LowDoc(uint8_t a, uint8_t b, uint8_t c, uint32_t textEnd, uint32_t tail) {
    Bytes s = Sector({a, b, c, 0x00});
    PutLe32(s, 292, textEnd);
    PutLe16(s, 296, tail);
    return s;
}

Bytes WordPerfect(uint32_t product, uint32_t version, uint32_t size) {
    Bytes s = Sector({0xFF, 'W', 'P', 'C'});
    PutLe32(s, 8, product);
    PutLe32(s, 14, version);
    PutLe32(s, 20, size);
    return s;
}

Bytes Mesh(uint32_t size, uint32_t editor) {
    Bytes s = Sector({0x4D, 0x4D});
    PutLe32(s, 2, size);
    PutLe16(s, 16, 0x3D3D);
    PutLe32(s, 18, editor);
    return s;
}

Bytes Audio(uint32_t offset, uint32_t length) {
    Bytes s = Sector({'.', 's', 'n', 'd'});
    PutBe32(s, 4, offset);
    PutBe32(s, 8, length);
    return s;
}

Bytes Cabinet(uint32_t size, uint32_t reserved, uint32_t version) {
    Bytes s = Sector({'M', 'S', 'C', 'F'});
    PutLe32(s, 4, reserved);
    PutLe32(s, 8, size);
    PutLe16(s, 24, version);
    return s;
}

Bytes Help(uint64_t size, uint32_t word100) {
    Bytes s = Sector({'I', 'T', 'S', 'F', 3});
    PutLe32(s, 8, 96);
    const uint8_t id[16] = {0x10, 0xFD, 0x01, 0x7C, 0xAA, 0x7B, 0xD0, 0x11,
                            0x9E, 0x0C, 0x00, 0xA0, 0xC9, 0x22, 0xE6, 0xEC};
    std::copy(id, id + 16, s.begin() + 24);
    std::copy(id, id + 16, s.begin() + 40);
    s[40] = 0x11;
    PutLe32(s, 96, 0x1FE);
    PutLe32(s, 100, word100);
    PutLe64(s, 104, size);
    return s;
}

Bytes MailStore(uint8_t variant, uint32_t size) {
    Bytes s = Sector(
        {0xCF, 0xAD, 0x12, 0xFE, variant, 0xFD, 0x74, 0x6F, 0x66, 0xE3, 0xD1, 0x11, 0x9A, 0x4E, 0x00, 0xC0});
    PutLe32(s, 124, size);
    return s;
}

Bytes Metafile(uint32_t size, uint32_t word58) {
    Bytes s = Sector({1, 0, 0, 0});
    const std::string mark = " EMF";
    std::copy(mark.begin(), mark.end(), s.begin() + 40);
    PutLe32(s, 48, size);
    PutLe16(s, 58, word58);
    return s;
}

struct Section {
    uint32_t offset, length;
};
Bytes Eps(Section ps, Section wmf, Section tiff, uint8_t b30, uint8_t b31, bool checksum = false) {
    Bytes s = Sector({0xC5, 0xD0, 0xD3, 0xC6});
    PutLe32(s, 4, ps.offset);
    PutLe32(s, 8, ps.length);
    PutLe32(s, 12, wmf.offset);
    PutLe32(s, 16, wmf.length);
    PutLe32(s, 20, tiff.offset);
    PutLe32(s, 24, tiff.length);
    PutLe16(s, 28, checksum ? 0x1234 : 0xFFFF);
    s[30] = b30;
    s[31] = b31;
    return s;
}

Bytes WinHelp(uint32_t directory, uint32_t size) {
    Bytes s = Sector({0x3F, 0x5F, 0x03, 0x00});
    PutLe32(s, 4, directory);
    PutLe32(s, 12, size);
    return s;
}

struct IconImage {
    uint8_t width, height;
    uint16_t bits;
    uint32_t bytes;
};
Bytes Icon(uint16_t kind, std::initializer_list<IconImage> images, uint16_t count = 0) {
    Bytes s = Sector({0, 0});
    PutLe16(s, 2, kind);
    PutLe16(s, 4, count ? count : static_cast<uint16_t>(images.size()));
    size_t at = 6;
    uint32_t offset = static_cast<uint32_t>(6 + 16 * images.size());
    for (const IconImage& i : images) {
        s[at] = i.width;
        s[at + 1] = i.height;
        PutLe16(s, at + 4, 1);
        PutLe16(s, at + 6, i.bits);
        PutLe32(s, at + 8, i.bytes);
        PutLe32(s, at + 12, offset);
        offset += i.bytes;
        at += 16;
    }
    return s;
}

Bytes Outlook(uint16_t version, uint64_t size) {
    Bytes s = Sector({'!', 'B', 'D', 'N'});
    PutLe16(s, 10, version);
    if (version == 14) PutLe32(s, 168, static_cast<uint32_t>(size));
    if (version == 23) PutLe64(s, 184, size);
    return s;
}

// n tables of which `unknown` have tags outside the known set, each 5 bytes long.
Bytes Font(uint16_t n, uint16_t unknown) {
    Bytes s = Sector({0x00, 0x01, 0x00, 0x00});
    PutBe16(s, 4, n);
    const char* known[] = {"cmap", "glyf", "head", "hhea", "hmtx", "loca", "maxp", "name", "post", "OS/2"};
    for (uint16_t i = 0; i < n && 12 + 16 * i + 16 <= 512; ++i) {
        const std::string tag = i < unknown ? "zz" + std::to_string(10 + i) : known[i % 10];
        std::copy(tag.begin(), tag.begin() + 4, s.begin() + 12 + 16 * i);
        PutBe32(s, 12 + 16 * i + 12, 5);
    }
    return s;
}

Bytes Wmf(uint32_t words, uint32_t word16) {
    Bytes s = Sector({0x01, 0x00, 0x09, 0x00});
    PutLe32(s, 6, words);
    PutLe16(s, 16, word16);
    return s;
}

TEST_F(StatedSizeTest, HeadersStateTheSizeAndDamagedOnesAreRefused) {
    const Bytes oneNote = Sector(
        {0xE4, 0x52, 0x5C, 0x7B, 0x8C, 0xD8, 0xA7, 0x4D, 0xAE, 0xB1, 0x53, 0x78, 0xD0, 0x29, 0x96, 0xD3});
    Bytes money = Sector({0, 1, 0, 0});
    const std::string msisam = "MSISAM Database";
    std::copy(msisam.begin(), msisam.end(), money.begin() + 4);
    Bytes journal = Sector({'J', 'M', 'F', '6', 0x03, 0x00, 0x10, 0x00});
    PutLe32(journal, 124, 4096);
    Bytes placeable = Wmf(500, 0);
    placeable[0] = 0xD7;
    placeable[1] = 0xCD;
    placeable[2] = 0xC6;
    placeable[3] = 0x9A;
    const Expect cases[] = {
        // Word before compound files: text end plus tail, in whole sectors.
        {"word 2", &AnalyseWith<FileLowDocAnalyser>, LowDoc(0xDB, 0xA5, 0x2D, 1000, 30), true, 1, 21, 1536},
        {"word 1", &AnalyseWith<FileLowDocAnalyser>, LowDoc(0x94, 0xA6, 0x2E, 512, 0), true, 1, 21, 512},
        {"word, no extent", &AnalyseWith<FileLowDocAnalyser>, LowDoc(0xDB, 0xA5, 0x2D, 0, 0), false, 0, 0, 0},
        {"word, wrong mark", &AnalyseWith<FileLowDocAnalyser>, LowDoc(0xDB, 0xA5, 0x2E, 1000, 0), false, 0, 0, 0},
        // WordPerfect: product and version words name the kind.
        {"wpd", &AnalyseWith<FileWPDAnalyser>, WordPerfect(0x01020A01, 0x00050200, 7000), true, 1, 64, 7000},
        {"wpg", &AnalyseWith<FileWPDAnalyser>, WordPerfect(0x00021601, 0x00030000, 900), true, 1, 65, 900},
        {"shw", &AnalyseWith<FileWPDAnalyser>, WordPerfect(0x00010F0F, 0x00030000, 800), true, 1, 57, 800},
        {"wpg of version 1", &AnalyseWith<FileWPDAnalyser>, WordPerfect(0x00011601, 0x00000000, 159), false, 0, 0, 0},
        {"wpd without size", &AnalyseWith<FileWPDAnalyser>, WordPerfect(0x01020A01, 0x00050200, 0), false, 0, 0, 0},
        {"wpd beyond the device", &AnalyseWith<FileWPDAnalyser>, WordPerfect(0x01020A01, 0x00050200, 0x7FFFFFFF), true, 1, 64, 0x7FFFFFFF},
        // 3D Studio: the main chunk holds the editor chunk.
        {"3ds", &AnalyseWith<File3DSAnalyser>, Mesh(5000, 4000), true, 1, 1, 5000},
        {"3ds, editor longer", &AnalyseWith<File3DSAnalyser>, Mesh(5000, 6000), false, 0, 0, 0},
        {"3ds, no size", &AnalyseWith<File3DSAnalyser>, Mesh(0, 0), false, 0, 0, 0},
        // AU: data offset and length.
        {"au", &AnalyseWith<FileAUAnalyser>, Audio(24, 1000), true, 1, 7, 1024},
        {"au beyond the device", &AnalyseWith<FileAUAnalyser>, Audio(0xFFFFFFFF, 0xFFFFFFFE), true, 1, 7, 0x1FFFFFFFD},
        {"au, offset inside the header", &AnalyseWith<FileAUAnalyser>, Audio(23, 1000), false, 0, 0, 0},
        {"au, length unknown", &AnalyseWith<FileAUAnalyser>, Audio(24, 0xFFFFFFFF), false, 0, 0, 0},
        // Cabinet.
        {"cab", &AnalyseWith<FileCABAnalyser>, Cabinet(4000, 0, 0x0103), true, 1, 10, 4000},
        {"cab, reserved set", &AnalyseWith<FileCABAnalyser>, Cabinet(4000, 1, 0x0103), false, 0, 0, 0},
        {"cab, other version", &AnalyseWith<FileCABAnalyser>, Cabinet(4000, 0, 0x0102), false, 0, 0, 0},
        {"cab, no size", &AnalyseWith<FileCABAnalyser>, Cabinet(0, 0, 0x0103), false, 0, 0, 0},
        // Compiled help: a 64-bit size in the first header section.
        {"chm", &AnalyseWith<FileCHMAnalyser>, Help(77414, 0), true, 1, 12, 77414},
        {"chm beyond 4 GiB", &AnalyseWith<FileCHMAnalyser>, Help(0x100000200, 0), true, 1, 12, 0x100000200},
        {"chm, section word set", &AnalyseWith<FileCHMAnalyser>, Help(77414, 1), false, 0, 0, 0},
        // Outlook Express.
        {"dbx", &AnalyseWith<FileDBXAnalyser>, MailStore(0xC5, 9000), true, 1, 19, 9000},
        {"dbx, third id", &AnalyseWith<FileDBXAnalyser>, MailStore(0xC7, 9000), true, 1, 19, 9000},
        {"dbx, unknown id", &AnalyseWith<FileDBXAnalyser>, MailStore(0xC8, 9000), false, 0, 0, 0},
        {"dbx journal", &AnalyseWith<FileDBXAnalyser>, journal, true, 1, 19, 4096},
        // Enhanced metafile.
        {"emf", &AnalyseWith<FileEMFAnalyser>, Metafile(6932, 0), true, 1, 24, 6932},
        {"emf, reserved set", &AnalyseWith<FileEMFAnalyser>, Metafile(6932, 1), false, 0, 0, 0},
        {"emf, no size", &AnalyseWith<FileEMFAnalyser>, Metafile(0, 0), false, 0, 0, 0},
        // EPS: the file ends where its last section does, whatever their order.
        {"eps, tiff after postscript", &AnalyseWith<FileEPSAnalyser>, Eps({30, 1000}, {0, 0}, {1030, 500}, '%', '!'), true, 1, 25, 1530},
        {"eps, both previews", &AnalyseWith<FileEPSAnalyser>, Eps({30, 1000}, {1030, 200}, {1230, 500}, '%', '!'), true, 1, 25, 1730},
        {"eps, no preview", &AnalyseWith<FileEPSAnalyser>, Eps({30, 1000}, {0, 0}, {0, 0}, '%', '!'), true, 1, 25, 1030},
        {"eps, tiff first", &AnalyseWith<FileEPSAnalyser>, Eps({530, 1000}, {0, 0}, {30, 500}, 'I', 'I'), true, 1, 25, 1530},
        {"eps, padded", &AnalyseWith<FileEPSAnalyser>, Eps({32, 1000}, {0, 0}, {0, 0}, 0, 0), true, 1, 25, 1032},
        {"eps, with checksum", &AnalyseWith<FileEPSAnalyser>, Eps({30, 1000}, {0, 0}, {0, 0}, '%', '!', true), false, 0, 0, 0},
        {"eps, unknown first section", &AnalyseWith<FileEPSAnalyser>, Eps({30, 1000}, {0, 0}, {0, 0}, 'M', 'M'), false, 0, 0, 0},
        // Windows help.
        {"hlp", &AnalyseWith<FileHLPAnalyser>, WinHelp(16, 4096), true, 1, 30, 4096},
        {"hlp, too small", &AnalyseWith<FileHLPAnalyser>, WinHelp(16, 500), false, 0, 0, 0},
        {"hlp, directory beyond the end", &AnalyseWith<FileHLPAnalyser>, WinHelp(5000, 4096), false, 0, 0, 0},
        // Icons and cursors.
        {"ico", &AnalyseWith<FileICOAnalyser>, Icon(1, {{16, 16, 32, 1128}, {32, 32, 32, 4264}}), true, 1, 32, 6 + 1144 + 4280},
        {"cur", &AnalyseWith<FileICOAnalyser>, Icon(2, {{32, 32, 1, 308}}), true, 1, 18, 6 + 324},
        {"ico, 256 pixels wide", &AnalyseWith<FileICOAnalyser>, Icon(1, {{0, 0, 32, 1000}}), false, 0, 0, 0},
        {"ico, too many colours", &AnalyseWith<FileICOAnalyser>, Icon(1, {{16, 16, 257, 100}}), false, 0, 0, 0},
        {"ico, 17 images", &AnalyseWith<FileICOAnalyser>, Icon(1, {{16, 16, 32, 100}}, 17), false, 0, 0, 0},
        {"ico, over a megabyte", &AnalyseWith<FileICOAnalyser>, Icon(1, {{16, 16, 32, 600000}, {16, 16, 32, 600000}}), false, 0, 0, 0},
        // Fixed sizes.
        {"mny", &AnalyseWith<FileMNYAnalyser>, money, true, 1, 38, 1048576},
        {"one", &AnalyseWith<FileONEAnalyser>, oneNote, true, 1, 45, 1048576},
        // Outlook: the place of the size depends on the version.
        {"pst, ansi", &AnalyseWith<FilePSTAnalyser>, Outlook(14, 271360), true, 1, 52, 271360},
        {"pst, unicode past 4 GiB", &AnalyseWith<FilePSTAnalyser>, Outlook(23, 0x100000200), true, 1, 52, 0x100000200},
        {"pst, other version", &AnalyseWith<FilePSTAnalyser>, Outlook(19, 0), true, 1, 52, 1048576},
        {"pst, no size", &AnalyseWith<FilePSTAnalyser>, Outlook(14, 0), false, 0, 0, 0},
        // Flash.
        {"swf", &AnalyseWith<FileSWFAnalyser>, [] { Bytes s = Sector({'F', 'W', 'S', 9}); PutLe32(s, 4, 3000); return s; }(), true, 1, 58, 3000},
        {"swf, compressed", &AnalyseWith<FileSWFAnalyser>, [] { Bytes s = Sector({'C', 'W', 'S', 9}); PutLe32(s, 4, 3000); return s; }(), true, 1, 58, 3000},
        {"swf, no size", &AnalyseWith<FileSWFAnalyser>, Sector({'F', 'W', 'S', 9}), false, 0, 0, 0},
        // TrueType: at least half the tags known, at most 31 tables.
        {"ttf, 5 of 10 unknown", &AnalyseWith<FileTTFAnalyser>, Font(10, 5), true, 1, 61, 12 + 160 + 10 * 8},
        {"ttf, 6 of 10 unknown", &AnalyseWith<FileTTFAnalyser>, Font(10, 6), false, 0, 0, 0},
        {"ttf, 31 tables", &AnalyseWith<FileTTFAnalyser>, Font(31, 0), true, 1, 61, 12 + 31 * 16 + 31 * 8},
        {"ttf, 32 tables", &AnalyseWith<FileTTFAnalyser>, Font(32, 0), false, 0, 0, 0},
        {"ttf, no tables", &AnalyseWith<FileTTFAnalyser>, Font(0, 0), false, 0, 0, 0},
        // Windows metafile: the size in words.
        {"wmf", &AnalyseWith<FileWMFAnalyser>, Wmf(500, 0), true, 1, 66, 1000},
        {"wmf, parameters set", &AnalyseWith<FileWMFAnalyser>, Wmf(500, 1), false, 0, 0, 0},
        {"wmf, placeable header", &AnalyseWith<FileWMFAnalyser>, placeable, false, 0, 0, 0},
    };
    for (const Expect& c : cases) Check(c);
}

}  // namespace
}  // namespace keldrin::test
