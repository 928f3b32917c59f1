#include <gtest/gtest.h>

#include <string>

#include "engine/raw/FileBMPAnalyser.h"
#include "engine/raw/FileGIFAnalyser.h"
#include "engine/raw/FileJPGAnalyser.h"
#include "engine/raw/FileOLEAnalyser.h"
#include "engine/raw/FilePDFAnalyser.h"
#include "engine/raw/FilePNGAnalyser.h"
#include "engine/raw/FileRIFFAnalyser.h"
#include "engine/raw/FileZIPAnalyser.h"
#include "tests/raw_analysers/AnalyserTestSupport.h"

namespace keldrin::test {
namespace {

using EdgeTest = AnalyserTest;

// A JPEG: SOI, an APPn with tag, a frame of `components`, a scan, some data, EOI.
Bytes Jpeg(uint8_t app, const std::string& tag, uint8_t frameCode, uint8_t components) {
    Bytes b = {0xFF, 0xD8, 0xFF, app, 0x00, 0x10};
    AppendText(b, tag);
    b.resize(2 + 2 + 0x10, 0);  // the APPn segment: marker and 16 bytes
    Append(b, {0xFF, frameCode, 0x00, 0x11, 8, 0x00, 0x10, 0x00, 0x10, components});
    b.resize(b.size() + 0x11 - 8, 0);
    Append(b, {0xFF, 0xDA, 0x00, 0x0C, components});
    b.resize(b.size() + 0x0C - 3, 0);
    Append(b, {0x12, 0xFF, 0x00, 0x34, 0x56, 0xFF, 0xD9});
    return b;
}

TEST_F(EdgeTest, JpegWalkFollowsItsVariant) {
    struct Case {
        const char* name;
        Bytes data;
        bool recognised;
        int answer;
    };
    const Bytes exif4 = Jpeg(0xE1, "Exif", 0xC0, 4);
    const Case cases[] = {
        {"Exif, 4 components", exif4, true, 1},
        {"JFIF, 3 components", Jpeg(0xE0, "JFIF", 0xC0, 3), true, 1},
        {"JFIF, 4 components", Jpeg(0xE0, "JFIF", 0xC0, 4), true, 0},
        {"progressive", Jpeg(0xE1, "Exif", 0xC2, 3), true, 0},
        {"APP0 without tag", Jpeg(0xE0, "ABCD", 0xC0, 3), false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FileJPGAnalyser jpg;
        const Outcome out = Analyse(jpg, c.data);
        EXPECT_EQ(out.recognised, c.recognised);
        EXPECT_EQ(out.answer, c.answer);
        if (out.answer == 1) {
            EXPECT_EQ(out.type, 33);
            EXPECT_EQ(out.size, static_cast<int64_t>(c.data.size()));
        }
    }
}

TEST_F(EdgeTest, JpegFillBytesBeforeAMarkerAreSkipped) {
    Bytes b = Jpeg(0xE1, "Exif", 0xC0, 3);
    b.insert(b.begin() + 20, {0xFF, 0xFF});  // before the frame marker
    FileJPGAnalyser jpg;
    const Outcome out = Analyse(jpg, b);
    EXPECT_EQ(out.answer, 1);
    EXPECT_EQ(out.size, static_cast<int64_t>(b.size()));
}

TEST_F(EdgeTest, PdfIsSizedToTheLastEndMarkOrTheNextDocument) {
    struct Case {
        const char* name;
        std::string text;
        int64_t size;
        int32_t type;
    };
    const std::string one = "%PDF-1.4\nbody\n%%EOF\n";
    const Case cases[] = {
        {"single", one, 20, 46},
        {"incremental update", one + "more objects\n%%EOF\n", 39, 46},
        {"another document follows", one + "%PDF-1.5\n", 20, 46},
        {"illustrator", "%PDF-1.4\n%!PS-Adobe-3.0\n%%EOF\r\n", 31, 5},
        {"no end before the data end", "%PDF-1.4\nno end", 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FilePDFAnalyser pdf;
        const Outcome out = Analyse(pdf, ToBytes(c.text));
        ASSERT_TRUE(out.recognised);
        EXPECT_EQ(out.size, c.size);
        if (c.size) {
            EXPECT_EQ(out.type, c.type);
        }
    }
}

// One stored member "a.txt" with content, its central entry with an extra field and a comment,
// and the end record with a comment.
Bytes Zip() {
    Bytes local(30, 0);
    PutLe32(local, 0, 0x04034B50);
    PutLe32(local, 18, 5);
    PutLe16(local, 26, 5);
    AppendText(local, "a.txt");
    AppendText(local, "hello");
    Bytes central(46, 0);
    PutLe32(central, 0, 0x02014B50);
    PutLe16(central, 28, 5);
    PutLe16(central, 30, 4);
    PutLe16(central, 32, 7);
    AppendText(central, "a.txt");
    Append(central, {0xCA, 0xFE, 0, 0});
    AppendText(central, "comment");
    Bytes end(22, 0);
    PutLe32(end, 0, 0x06054B50);
    PutLe16(end, 20, 3);
    AppendText(end, "bye");
    Bytes zip = local;
    Append(zip, central);
    Append(zip, end);
    return zip;
}

TEST_F(EdgeTest, ZipIsSizedThroughItsEndRecordAndComment) {
    const Bytes zip = Zip();
    Bytes twoZips = zip;
    Append(twoZips, zip);  // a second archive right after the first is not part of it
    Bytes badMethod = zip;
    PutLe16(badMethod, 8, 11);
    Bytes cut = zip;
    cut.resize(30 + 10 + 46 + 16);  // central entry complete, no end record

    FileZIPAnalyser analyser;
    EXPECT_EQ(Analyse(analyser, zip).size, static_cast<int64_t>(zip.size()));
    EXPECT_EQ(Analyse(analyser, twoZips).size, static_cast<int64_t>(zip.size()));
    EXPECT_EQ(Analyse(analyser, badMethod).answer, 0);
    EXPECT_EQ(Analyse(analyser, cut).size, 30 + 10 + 46 + 16);
}

TEST_F(EdgeTest, RiffFormTypeChoosesTheKind) {
    struct Case {
        const char* form;
        const char* chunk;
        int32_t type;
    };
    const Case cases[] = {
        {"WAVE", "fmt ", 63}, {"wave", "FMT ", 63}, {"AVI ", "LIST", 8},  {"ACON", "anih", 4},
        {"CARC", "vrsn", 13}, {"CSL2", "vrsn", 17}, {"CDR8", "vrsn", 11}, {"cdr8", "vrsn", 11},
        {"CDRC", "vrsn", 11}, {"CDR6", "vrsn", 55}, {"WAVE", "data", 55}, {"CMX1", "LIST", 55},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.form);
        Bytes b = ToBytes(std::string("RIFF") + "...." + c.form + c.chunk);
        b.resize(24, 0);
        PutLe32(b, 4, 0x10);
        FileRIFFAnalyser riff;
        const Outcome out = Analyse(riff, b);
        ASSERT_TRUE(out.recognised);
        EXPECT_EQ(out.type, c.type);
        EXPECT_EQ(out.size, 0x18);
    }
    Bytes cmx = ToBytes("RIFF....CMX1LIST....{Corel Binary Meta File}");
    FileRIFFAnalyser riff;
    EXPECT_EQ(Analyse(riff, cmx).type, 14);
}

TEST_F(EdgeTest, BmpNeedsItsHeaderAndStatedSize) {
    Bytes b(54, 0);
    b[0] = 'B';
    b[1] = 'M';
    PutLe32(b, 2, 54);
    PutLe32(b, 14, 40);
    FileBMPAnalyser bmp;
    EXPECT_EQ(Analyse(bmp, b).size, 54);
    PutLe32(b, 14, 12);  // an OS/2 header
    EXPECT_FALSE(Analyse(bmp, b).recognised);
    PutLe32(b, 14, 124);
    PutLe32(b, 2, 0);
    EXPECT_FALSE(Analyse(bmp, b).recognised);
}

Bytes PngChunk(const char* type, uint32_t length) {
    Bytes c(12 + length, 0);
    PutBe32(c, 0, length);
    for (int i = 0; i < 4; ++i) c[4 + i] = static_cast<uint8_t>(type[i]);
    return c;
}

TEST_F(EdgeTest, PngChunkWalk) {
    Bytes head = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    Bytes ihdr = PngChunk("IHDR", 13);
    PutBe32(ihdr, 8, 3);
    PutBe32(ihdr, 12, 2);
    Bytes whole = head;
    Append(whole, ihdr);
    Append(whole, PngChunk("IDAT", 20));
    Append(whole, PngChunk("IEND", 0));

    Bytes damaged = head;  // a too long chunk after IHDR and IDAT: the size reached
    Append(damaged, ihdr);
    Append(damaged, PngChunk("IDAT", 20));
    Bytes huge = PngChunk("zzzz", 0);
    PutBe32(huge, 0, 0x2000000);
    Append(damaged, huge);

    Bytes noData = head;  // a too long chunk before IDAT: undecided
    Append(noData, ihdr);
    Append(noData, huge);

    Bytes strayed = head;  // zeros after the data: no chunk type, so the size reached
    Append(strayed, ihdr);
    Append(strayed, PngChunk("IDAT", 20));
    strayed.resize(strayed.size() + 40, 0);

    Bytes zeroWidth = whole;
    PutBe32(zeroWidth, 16, 0);

    FilePNGAnalyser png;
    EXPECT_EQ(Analyse(png, whole).size, static_cast<int64_t>(whole.size()));
    EXPECT_EQ(Analyse(png, damaged).size, 8 + 25 + 32);
    EXPECT_EQ(Analyse(png, strayed).size, 8 + 25 + 32);
    EXPECT_EQ(Analyse(png, noData).answer, 0);
    EXPECT_EQ(Analyse(png, zeroWidth).answer, 0);
}

TEST_F(EdgeTest, GifBlockWalkSkipsFewStrayBytes) {
    Bytes gif = ToBytes("GIF89a");
    Append(gif, {2, 0, 2, 0, 0x80, 0, 0});  // global table of 2 colours
    gif.resize(gif.size() + 6, 0x11);
    Append(gif, {'!', 0xF9, 4, 0, 0, 0, 0, 0});
    Append(gif, {',', 0, 0, 0, 0, 2, 0, 2, 0, 0, 2, 2, 0x4C, 0x01, 0});
    Bytes withStray = gif;
    Bytes tooMuchStray = gif;
    gif.push_back(';');
    withStray.resize(withStray.size() + 100, 0x55);
    Append(withStray, {',', 0, 0, 0, 0, 2, 0, 2, 0, 0, 2, 2, 0x4C, 0x01, 0, ';'});
    tooMuchStray.resize(tooMuchStray.size() + 600, 0x55);
    Append(tooMuchStray, {',', 0, 0, 0, 0, 2, 0, 2, 0, 0, 2, 2, 0x4C, 0x01, 0, ';'});

    FileGIFAnalyser analyser;
    EXPECT_EQ(Analyse(analyser, gif).size, static_cast<int64_t>(gif.size()));
    EXPECT_EQ(Analyse(analyser, withStray).size, static_cast<int64_t>(withStray.size()));
    EXPECT_EQ(Analyse(analyser, tooMuchStray).answer, 0);
}

// Headers whose walks never end by themselves: each stops at the maximal size or the data's end.
TEST_F(EdgeTest, HostileWalksStopAtTheBounds) {
    GetScanSettings().raw.maxFileSize = 64 * 1024;
    Bytes gif = ToBytes("GIF89a");  // sub-blocks of 0xFF bytes forever
    Append(gif, {1, 0, 1, 0, 0, 0, 0, '!', 0xFE});
    gif.resize(200 * 1024, 0xFF);
    Bytes jpg = {0xFF, 0xD8};  // empty tables forever
    while (jpg.size() < 200 * 1024) Append(jpg, {0xFF, 0xDB, 0x00, 0x02});
    Bytes zip = Zip();  // local headers with small lengths forever
    Bytes member(zip.begin(), zip.begin() + 40);
    zip.clear();
    while (zip.size() < 200 * 1024) Append(zip, member);
    Bytes pdf = ToBytes("%PDF-1.4\n");
    while (pdf.size() < 200 * 1024) AppendText(pdf, "%%EOF\n");

    FileGIFAnalyser g;
    FileJPGAnalyser j;
    FileZIPAnalyser z;
    FilePDFAnalyser p;
    EXPECT_EQ(Analyse(g, gif, 0).answer, 0);
    EXPECT_EQ(Analyse(j, jpg, 0).answer, 0);
    EXPECT_EQ(Analyse(z, zip, 0).size, 64 * 1024 / 40 * 40);
    const Outcome pdfOut = Analyse(p, pdf, 0);
    EXPECT_EQ(pdfOut.answer, 1);
    EXPECT_LE(pdfOut.size, 64 * 1024 + 6);
}

// A compound file of three sectors: header, one FAT sector (sector 0), the directory (sector 1).
Bytes Compound(const std::vector<std::string>& names) {
    Bytes b(512 * 3, 0xFF);
    const uint8_t magic[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    for (int i = 0; i < 8; ++i) b[i] = magic[i];
    PutLe32(b, 48, 1);           // first directory sector
    PutLe32(b, 68, 0xFFFFFFFE);  // no DIFAT sectors
    PutLe32(b, 76, 0);           // the FAT sector
    PutLe32(b, 512, 0xFFFFFFFD);
    PutLe32(b, 516, 0xFFFFFFFE);
    for (size_t i = 1024; i < b.size(); ++i) b[i] = 0;
    for (size_t e = 0; e < names.size(); ++e) {
        const size_t at = 1024 + e * 128;
        for (size_t k = 0; k < names[e].size(); ++k) b[at + 2 * k] = static_cast<uint8_t>(names[e][k]);
        PutLe16(b, at + 64, static_cast<uint32_t>(2 * names[e].size() + 2));
    }
    return b;
}

TEST_F(EdgeTest, CompoundFileKindFromItsDirectoryLaterRulesWinning) {
    struct Case {
        std::vector<std::string> names;
        int32_t type;
        int64_t size;
    };
    const Case cases[] = {
        {{"Root Entry", "Data"}, 39, 1536},
        {{"Root Entry", "x", "y", "WordDocument"}, 21, 1536},
        {{"WordDocument", "Workbook"}, 67, 1536},
        {{"Root Entry", "x", "Book"}, 67, 1536},
        {{"Root Entry", "Pictures2"}, 48, 1536},
        {{"Root Entry", "VisioDocument"}, 62, 1536 + 1024},
        {{"Root Entry", "PerfectOffice_MAIN", "PerfectOffice_OBJECTS", "\x05SummaryInformation"}, 57, 1536},
        {{"Root Entry", "PerfectOffice_MAIN", "PerfectOffice_OBJECTS"}, 65, 1536},
        {{"Root Entry", "Objects", "Quill", "Escher"}, 49, 1536},
        {{"Root Entry",
          "\x01"
          "CompObj",
          "   19", "   29"},
         43,
         1536},
        {{"Root Entry", "PropData", "Forms", "Reports"}, 3, 1536},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.names.back());
        FileOLEAnalyser ole;
        const Outcome out = Analyse(ole, Compound(c.names));
        EXPECT_EQ(out.answer, 1);
        EXPECT_EQ(out.type, c.type);
        EXPECT_EQ(out.size, c.size);
    }
}

TEST_F(EdgeTest, CompoundFileDamage) {
    FileOLEAnalyser ole;
    Bytes loop = Compound({"Root Entry"});  // a DIFAT chain that points back at itself
    PutLe32(loop, 68, 0);
    PutLe32(loop, 512 + 508, 0);
    EXPECT_EQ(Analyse(ole, loop).answer, 0);  // ends, and its garbage FAT count gives no size

    Bytes noDirectory = Compound({"Root Entry"});
    PutLe32(noDirectory, 48, 5000);  // beyond the device
    const Outcome unnamed = Analyse(ole, noDirectory);
    EXPECT_EQ(unnamed.type, 39);
    EXPECT_EQ(unnamed.size, 1536);

    Bytes noFat = Compound({"Root Entry"});
    PutLe32(noFat, 76, 0xFFFFFFFF);
    EXPECT_EQ(Analyse(ole, noFat).answer, 0);
}

}  // namespace
}  // namespace keldrin::test
