// Kinds sized by scanning for what closes them: text formats, Canon raw and gzip.
#include <gtest/gtest.h>

#include <string>

#include "engine/raw/FileCRWAnalyser.h"
#include "engine/raw/FileDXFAnalyser.h"
#include "engine/raw/FileFH11Analyser.h"
#include "engine/raw/FileGZAnalyser.h"
#include "engine/raw/FileHTMAnalyser.h"
#include "engine/raw/FileRTFAnalyser.h"
#include "engine/raw/FileUnicodeHTMAnalyser.h"
#include "tests/raw_analysers/AnalyserTestSupport.h"

namespace keldrin::test {
namespace {

using TextScanTest = AnalyserTest;

const std::string kDxfHead = "  0\r\nSECTION\r\n  2\r\nHEADER\r\n";

Bytes FreeHand(const char* version, const std::string& body) {
    Bytes b = {0x1C, 0x01, 0x00, 0x00, 0x02, 0x00, 0x04, 0x1C,
               0x01, 0x14, 0x00, 0x02, 0x00, 0x14, 0x1C, 0x01};
    b.resize(34, 0x20);
    AppendText(b, version);
    AppendText(b, body);
    return b;
}

const Bytes kFreeHandEnd = {'D', 'e', 'c', 'o', 'd', 'e', 0x00, 0xFF, 0xFF, 0xFF, 0xFF};

// UTF-16LE with the byte-order mark.
Bytes Wide(const std::string& text, bool mark = true) {
    Bytes b;
    if (mark) b = {0xFF, 0xFE};
    for (char c : text) Append(b, {static_cast<uint8_t>(c), 0});
    return b;
}

Bytes Crw(size_t recordAt, bool whole) {
    Bytes b = {0x49, 0x49, 0x1A, 0x00, 0x00, 0x00, 'H', 'E', 'A', 'P', 'C', 'C', 'D', 'R', 0x02, 0x00};
    b.resize(recordAt + 160, 0x44);
    const std::string name = "High definition CCD image";
    std::copy(name.begin(), name.end(), b.begin() + recordAt);
    if (whole) {
        const std::string crw = "CRW:" + name;
        std::copy(crw.begin(), crw.end(), b.begin() + recordAt + 32);
        std::copy_n("Canon", 5, b.begin() + recordAt + 122);
        std::copy_n("Canon PowerShot", 15, b.begin() + recordAt + 128);
    }
    return b;
}

TEST_F(TextScanTest, ScansEndAtTheirClosingMark) {
    const std::string dxf = kDxfHead + "  9\r\n$ACADVER\r\n  0\r\nENDSEC\r\n  0\r\nEOF\r\n";
    Bytes freeHand = FreeHand("11", "drawing");
    Append(freeHand, kFreeHandEnd);
    const size_t freeHandSize = freeHand.size();
    AppendText(freeHand, "after");
    Bytes crwDecoy = Crw(1300, true);
    const std::string name = "High definition CCD image";
    std::copy(name.begin(), name.end(), crwDecoy.begin() + 600);  // the name alone is not the record
    Bytes rtfFull(512, 'x');  // a sector of text without an end, up to the device's end
    std::copy_n("{\\rtf1 ", 7, rtfFull.begin());
    const std::string wideBody = "<HTML><body>hi</body></HTML>\r\n";
    Bytes wideNext = Wide("<HTML>text");
    Append(wideNext, Wide("<HTML>"));

    const Expect cases[] = {
        {"dxf", &AnalyseWith<FileDXFAnalyser>, ToBytes(dxf + "tail"), true, 1, 23,
         static_cast<int64_t>(dxf.size())},
        {"dxf, line feeds only", &AnalyseWith<FileDXFAnalyser>, ToBytes("  0\nSECTION\n  2\nHEADER\n"), false,
         0, 0, 0},
        {"dxf, cut before its end", &AnalyseWith<FileDXFAnalyser>, ToBytes(kDxfHead + "  9\r\n"), true, 0, 0,
         0, 0},
        {"fh11", &AnalyseWith<FileFH11Analyser>, freeHand, true, 1, 27, static_cast<int64_t>(freeHandSize)},
        {"fh10", &AnalyseWith<FileFH11Analyser>, FreeHand("10", "drawing"), false, 0, 0, 0},
        {"fh11, cut before its end", &AnalyseWith<FileFH11Analyser>, FreeHand("11", "drawing"), true, 0, 0, 0,
         0},
        // HTML: the tag may follow a document type or comment within the first sector.
        {"htm", &AnalyseWith<FileHTMAnalyser>, ToBytes("<html><p>x</p></html>\n"), true, 1, 31, 21},
        {"htm with doctype", &AnalyseWith<FileHTMAnalyser>, ToBytes("<!DOCTYPE html>\n<html></HTML>"), true,
         1, 31, 29},
        {"htm after a comment", &AnalyseWith<FileHTMAnalyser>, ToBytes("<!-- c -->\n<HTML></HTML>"), true, 1,
         31, 24},
        {"htm, tag too far on", &AnalyseWith<FileHTMAnalyser>,
         ToBytes("<!" + std::string(503, ' ') + "<HTML>"), false, 0, 0, 0},
        {"htm, tag at the last place", &AnalyseWith<FileHTMAnalyser>,
         ToBytes("<!" + std::string(502, ' ') + "<HTML></HTML>"), true, 1, 31, 504 + 13},
        {"htm, no html tag", &AnalyseWith<FileHTMAnalyser>, ToBytes("<head></head>"), false, 0, 0, 0},
        {"htm, cut before its end", &AnalyseWith<FileHTMAnalyser>, ToBytes("<HTML>" + std::string(506, 'x')),
         true, 0, 0, 0, 0},
        // UTF-16 HTML: the closing tag and one more character, or where text stops.
        {"utf-16 htm", &AnalyseWith<FileUnicodeHTMAnalyser>, Wide(wideBody), true, 1, 31, 2 + 2 * 21 + 16},
        {"utf-16 htm with doctype", &AnalyseWith<FileUnicodeHTMAnalyser>,
         Wide("<!DOCTYPE html><HTML></HTML>.."), true, 1, 31, 2 + 2 * 21 + 16},
        {"utf-16 htm, tag beyond 500 bytes", &AnalyseWith<FileUnicodeHTMAnalyser>,
         Wide("<!" + std::string(250, ' ') + "<HTML>"), false, 0, 0, 0},
        {"utf-16 htm, no tag", &AnalyseWith<FileUnicodeHTMAnalyser>, Wide("<body>"), false, 0, 0, 0},
        {"utf-16 htm, text stops at zeros", &AnalyseWith<FileUnicodeHTMAnalyser>, Wide("<HTML>text"), true, 1,
         31, 22},
        {"utf-16 htm, another mark follows", &AnalyseWith<FileUnicodeHTMAnalyser>, wideNext, true, 1, 31, 22},
        {"utf-16 htm, cut before its end", &AnalyseWith<FileUnicodeHTMAnalyser>,
         Wide("<HTML>" + std::string(249, 'x')), true, 0, 0, 0, 0},
        // RTF: groups balance; escaped braces are text.
        {"rtf", &AnalyseWith<FileRTFAnalyser>, ToBytes("{\\rtf1 {\\b bold} text}tail"), true, 1, 56, 22},
        {"rtf, escaped braces", &AnalyseWith<FileRTFAnalyser>, ToBytes("{\\rtf1 a\\}b\\{c}tail"), true, 1, 56,
         15},
        {"rtf, escaped backslash", &AnalyseWith<FileRTFAnalyser>, ToBytes("{\\rtf1 a\\\\}tail"), true, 1, 56,
         11},
        {"rtf, zero byte", &AnalyseWith<FileRTFAnalyser>, ToBytes("{\\rtf1 {unclosed"), true, 1, 56, 16},
        {"rtf, cut before its end", &AnalyseWith<FileRTFAnalyser>, rtfFull, true, 0, 0, 0, 0},
        // Canon raw: the camera's closing record, rounded up to the sector.
        {"crw", &AnalyseWith<FileCRWAnalyser>, Crw(1000, true), true, 1, 16, 1024},
        {"crw, record on a sector start", &AnalyseWith<FileCRWAnalyser>, Crw(1024, true), true, 1, 16, 1024},
        {"crw, a lone name first", &AnalyseWith<FileCRWAnalyser>, crwDecoy, true, 1, 16, 1536},
        {"crw, no record before the device end", &AnalyseWith<FileCRWAnalyser>, Crw(1000, false), true, 0, 0,
         0},
        {"crw, other mark", &AnalyseWith<FileCRWAnalyser>, ToBytes("II\x1A\0\0\0HEAPJPGM"), false, 0, 0, 0},
    };
    for (const Expect& c : cases) Check(c);
}

TEST_F(TextScanTest, UndecidableEndsGetTheirFixedBounds) {
    GetScanSettings().raw.maxFileSize = 123456;
    EXPECT_EQ(AnalyseWith<FileGZAnalyser>({0x1F, 0x8B, 0x08, 0x00}).size, 123456);
    EXPECT_FALSE(AnalyseWith<FileGZAnalyser>({0x1F, 0x8B, 0x07, 0x00}).recognised);

    // HTML without its closing tag: the scan gives up just past a megabyte.
    GetScanSettings().raw.maxFileSize = 50000000;
    Bytes html = ToBytes("<HTML>");
    html.resize(1048576 + 4096, 'x');
    EXPECT_EQ(AnalyseWith<FileHTMAnalyser>(html).size, 1048577);
    Bytes wide = Wide("<HTML>");
    for (size_t i = wide.size(); i < 1048576 + 4096; i += 2) Append(wide, {'x', 0});
    EXPECT_EQ(AnalyseWith<FileUnicodeHTMAnalyser>(wide).size, 1048576);

    // Canon raw without its record: the guess of 20 MiB, when the data reach that far.
    Bytes crw = Crw(1000, false);
    crw.resize(20971520 + 512, 0x44);
    EXPECT_EQ(AnalyseWith<FileCRWAnalyser>(crw).size, 20971520);
}

}  // namespace
}  // namespace keldrin::test
