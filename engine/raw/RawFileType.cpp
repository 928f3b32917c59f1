#include "engine/raw/RawFileType.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>

namespace keldrin {
namespace {

struct BuiltInType {
    const char* extension;
    const char* description;
};

constexpr BuiltInType kBuiltIn[kRawBuiltInTypeCount] = {
    {"Raw", "Raw"},
    {"3DS", "3DS file"},
    {"3GP", "3GP Multimedia file"},
    {"ADP", "Access Project file"},
    {"ANI", "ANI file"},
    {"AI", "Adobe Illustrator file"},
    {"ASF", "Audio Streaming Format file"},
    {"AU", "AU file"},
    {"AVI", "Audio Video Interleave file"},
    {"BMP", "Bitmap file"},
    {"CAB", "Cabinet file"},
    {"CDR", "COREL Darw file"},
    {"CHM", "CHM file"},
    {"CLK", "Corel Draw Corel RAVE Image file"},
    {"CMX", "Corel Draw Vector Image file"},
    {"CPT", "Corel Photo Paint Image file"},
    {"CRW", "Canon Raw graphics file"},
    {"CSL", "CSL file"},
    {"CUR", "Cursor file"},
    {"DBX", "Outlook Express Email file"},
    {"DLL", "DLL file"},
    {"DOC", "Microsoft Word Document"},
    {"DWG", "AutoCAD Drawing file"},
    {"DXF", "AutoCad DX File"},
    {"EMF", "Enhanced Metafile"},
    {"EPS", "Encapsulated Postscript file"},
    {"EXE", "EXE file"},
    {"FH11", "Freehand 10 file"},
    {"GIF", "GIF graphics file"},
    {"GZ", "GZIP compression file"},
    {"HLP", "Help file"},
    {"HTM", "HTML Documents file"},
    {"ICO", "Icon file"},
    {"JPG", "JPEG Graphics file"},
    {"LZH", "LZH compression file"},
    {"MAX", "3d Studio Max file"},
    {"MID", "Musical Instrument Digital Interface file"},
    {"MDB", "Access Database file"},
    {"MNY", "Microsoft Money file"},
    {"MOF", "MOF file"},
    {"MOV", "MOV Multimedia file"},
    {"MP3", "MP3 Music file"},
    {"MP4", "MP4 Multimedia file"},
    {"MPP", "Microsoft Project file"},
    {"OLE", "Compound file"},
    {"ONE", "Microsoft OneNote file"},
    {"PDF", "Adobe Portable Document"},
    {"PNG", "Portable Network Graphic file"},
    {"PPT", "Microsoft PowerPoint Presentation file"},
    {"PUB", "Microsoft Publisher Document"},
    {"PSD", "Adobe Photoshop file"},
    {"PSP", "Paint Shop Pro file"},
    {"PST", "Outlook Email file"},
    {"QPW", "QuattroPro 7 File"},
    {"RAR", "RAR compression file"},
    {"RIFF", "RIFF Multimedia file"},
    {"RTF", "Rich Text Document"},
    {"SHW", "Corel Presentation File"},
    {"SWF", "ShockWave Flash file"},
    {"TAR", "TAR archive file"},
    {"TIF", "Tagged Image File"},
    {"TTF", "True Type Font file"},
    {"VSD", "Microsoft Visio Drawing"},
    {"WAV", "WAVE Multimedia file"},
    {"WPD", "WordPerfect file"},
    {"WPG", "WordPerfect Documents and Graphics v8"},
    {"WMF", "WMF Multimedia file"},
    {"XLS", "Microsoft Excel XML Documents"},
    {"ZIP", "Zip compression file"},
};

struct CustomTables {
    std::array<std::array<char, kRawExtensionCapacity + 1>, kLastCustomRawType - kFirstCustomRawType + 1>
        extension{};
    std::array<std::array<char, kRawDescriptionCapacity + 1>, kLastCustomRawType - kFirstCustomRawType + 1>
        description{};
};

CustomTables& Custom() {
    static CustomTables tables;
    return tables;
}

template <size_t N>
void CopyCut(std::array<char, N>& to, std::string_view from) {
    const size_t n = std::min(from.size(), N - 1);
    std::memcpy(to.data(), from.data(), n);
    to[n] = '\0';
}

bool SameText(std::string_view a, const char* b) {
    const size_t n = std::strlen(b);
    if (a.size() != n) return false;
    for (size_t i = 0; i < n; ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

}  // namespace

const char* RawFileType::Extension(int index) {
    if (index >= 0 && index < kRawBuiltInTypeCount) return kBuiltIn[index].extension;
    if (index >= kFirstCustomRawType && index <= kLastCustomRawType)
        return Custom().extension[index - kFirstCustomRawType].data();
    return "";
}

const char* RawFileType::Description(int index) {
    if (index >= 0 && index < kRawBuiltInTypeCount) return kBuiltIn[index].description;
    if (index >= kFirstCustomRawType && index <= kLastCustomRawType)
        return Custom().description[index - kFirstCustomRawType].data();
    return "";
}

int RawFileType::AddCustomType(std::string_view extension, std::string_view description) {
    if (extension.empty()) return -1;
    CustomTables& t = Custom();
    for (size_t i = 0; i < t.extension.size(); ++i) {
        if (t.extension[i][0] != '\0') continue;
        CopyCut(t.extension[i], extension);
        CopyCut(t.description[i], description);
        return kFirstCustomRawType + static_cast<int>(i);
    }
    return -1;
}

void RawFileType::ClearCustomTypes() {
    Custom() = CustomTables{};
}

int RawFileType::FindByExtension(std::string_view extension) {
    if (extension.empty()) return -1;
    for (int i = 0; i < kRawBuiltInTypeCount; ++i)
        if (SameText(extension, kBuiltIn[i].extension)) return i;
    for (int i = kFirstCustomRawType; i <= kLastCustomRawType; ++i)
        if (SameText(extension, Extension(i))) return i;
    return -1;
}

}  // namespace keldrin
