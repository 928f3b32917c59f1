#include "engine/raw/BuiltInAnalysers.h"

#include <memory>

#include "engine/raw/File3DSAnalyser.h"
#include "engine/raw/File3GPAnalyser.h"
#include "engine/raw/FileASFAnalyser.h"
#include "engine/raw/FileAUAnalyser.h"
#include "engine/raw/FileBMPAnalyser.h"
#include "engine/raw/FileCABAnalyser.h"
#include "engine/raw/FileCHMAnalyser.h"
#include "engine/raw/FileCPTAnalyser.h"
#include "engine/raw/FileCRWAnalyser.h"
#include "engine/raw/FileDBXAnalyser.h"
#include "engine/raw/FileDWGAnalyser.h"
#include "engine/raw/FileDXFAnalyser.h"
#include "engine/raw/FileEMFAnalyser.h"
#include "engine/raw/FileEPSAnalyser.h"
#include "engine/raw/FileFH11Analyser.h"
#include "engine/raw/FileGIFAnalyser.h"
#include "engine/raw/FileGZAnalyser.h"
#include "engine/raw/FileHLPAnalyser.h"
#include "engine/raw/FileHTMAnalyser.h"
#include "engine/raw/FileICOAnalyser.h"
#include "engine/raw/FileJPGAnalyser.h"
#include "engine/raw/FileLZHAnalyser.h"
#include "engine/raw/FileLowDocAnalyser.h"
#include "engine/raw/FileMDBAnalyser.h"
#include "engine/raw/FileMIDAnalyser.h"
#include "engine/raw/FileMNYAnalyser.h"
#include "engine/raw/FileMOVAnalyser.h"
#include "engine/raw/FileMP3Analyser.h"
#include "engine/raw/FileMP4Analyser.h"
#include "engine/raw/FileOLEAnalyser.h"
#include "engine/raw/FileONEAnalyser.h"
#include "engine/raw/FilePDFAnalyser.h"
#include "engine/raw/FilePNGAnalyser.h"
#include "engine/raw/FilePSDAnalyser.h"
#include "engine/raw/FilePSPAnalyser.h"
#include "engine/raw/FilePSTAnalyser.h"
#include "engine/raw/FileRARAnalyser.h"
#include "engine/raw/FileRIFFAnalyser.h"
#include "engine/raw/FileRTFAnalyser.h"
#include "engine/raw/FileSWFAnalyser.h"
#include "engine/raw/FileTARAnalyser.h"
#include "engine/raw/FileTIFAnalyser.h"
#include "engine/raw/FileTTFAnalyser.h"
#include "engine/raw/FileUnicodeHTMAnalyser.h"
#include "engine/raw/FileWMFAnalyser.h"
#include "engine/raw/FileWPDAnalyser.h"
#include "engine/raw/FileZIPAnalyser.h"

namespace keldrin {
namespace {

template <class T>
void Add(RawAnalysers& list) {
    list.push_back(std::make_unique<T>());
}

}  // namespace

void BuildAnalyserList(int type, RawAnalysers& list) {
    switch (type) {
        case 1:  // 3DS
            Add<File3DSAnalyser>(list);
            break;
        case 2:  // 3GP
            Add<File3GPAnalyser>(list);
            break;
        case 4:   // ANI
        case 8:   // AVI
        case 11:  // CDR
        case 13:  // CLK
        case 14:  // CMX
        case 17:  // CSL
        case 55:  // RIFF
        case 63:  // WAV
            Add<FileRIFFAnalyser>(list);
            break;
        case 5:   // AI
        case 46:  // PDF
            Add<FilePDFAnalyser>(list);
            break;
        case 6:  // ASF
            Add<FileASFAnalyser>(list);
            break;
        case 7:  // AU
            Add<FileAUAnalyser>(list);
            break;
        case 9:  // BMP
            Add<FileBMPAnalyser>(list);
            break;
        case 10:  // CAB
            Add<FileCABAnalyser>(list);
            break;
        case 12:  // CHM
            Add<FileCHMAnalyser>(list);
            break;
        case 15:  // CPT
            Add<FileCPTAnalyser>(list);
            break;
        case 16:  // CRW
            Add<FileCRWAnalyser>(list);
            break;
        case 18:  // CUR
        case 32:  // ICO
            Add<FileICOAnalyser>(list);
            break;
        case 19:  // DBX
            Add<FileDBXAnalyser>(list);
            break;
        case 21:  // DOC
            Add<FileOLEAnalyser>(list);
            Add<FileLowDocAnalyser>(list);
            break;
        case 22:  // DWG
            Add<FileDWGAnalyser>(list);
            break;
        case 23:  // DXF
            Add<FileDXFAnalyser>(list);
            break;
        case 24:  // EMF
            Add<FileEMFAnalyser>(list);
            break;
        case 25:  // EPS
            Add<FileEPSAnalyser>(list);
            break;
        case 27:  // FH11
            Add<FileFH11Analyser>(list);
            break;
        case 28:  // GIF
            Add<FileGIFAnalyser>(list);
            break;
        case 29:  // GZ
            Add<FileGZAnalyser>(list);
            break;
        case 30:  // HLP
            Add<FileHLPAnalyser>(list);
            break;
        case 31:  // HTM
            Add<FileHTMAnalyser>(list);
            Add<FileUnicodeHTMAnalyser>(list);
            break;
        case 33:  // JPG
            Add<FileJPGAnalyser>(list);
            break;
        case 34:  // LZH
            Add<FileLZHAnalyser>(list);
            break;
        case 3:   // ADP
        case 35:  // MAX
        case 39:  // MOF
        case 43:  // MPP
        case 44:  // OLE
        case 48:  // PPT
        case 49:  // PUB
        case 53:  // QPW
        case 62:  // VSD
        case 67:  // XLS
            Add<FileOLEAnalyser>(list);
            break;
        case 36:  // MID
            Add<FileMIDAnalyser>(list);
            break;
        case 37:  // MDB
            Add<FileMDBAnalyser>(list);
            break;
        case 38:  // MNY
            Add<FileMNYAnalyser>(list);
            break;
        case 40:  // MOV
            Add<FileMOVAnalyser>(list);
            break;
        case 41:  // MP3
            Add<FileMP3Analyser>(list);
            break;
        case 42:  // MP4
            Add<FileMP4Analyser>(list);
            break;
        case 45:  // ONE
            Add<FileONEAnalyser>(list);
            break;
        case 47:  // PNG
            Add<FilePNGAnalyser>(list);
            break;
        case 50:  // PSD
            Add<FilePSDAnalyser>(list);
            break;
        case 51:  // PSP
            Add<FilePSPAnalyser>(list);
            break;
        case 52:  // PST
            Add<FilePSTAnalyser>(list);
            break;
        case 54:  // RAR
            Add<FileRARAnalyser>(list);
            break;
        case 56:  // RTF
            Add<FileRTFAnalyser>(list);
            break;
        case 57:  // SHW
        case 64:  // WPD
        case 65:  // WPG
            Add<FileOLEAnalyser>(list);
            Add<FileWPDAnalyser>(list);
            break;
        case 58:  // SWF
            Add<FileSWFAnalyser>(list);
            break;
        case 59:  // TAR
            Add<FileTARAnalyser>(list);
            break;
        case 60:  // TIF
            Add<FileTIFAnalyser>(list);
            break;
        case 61:  // TTF
            Add<FileTTFAnalyser>(list);
            break;
        case 66:  // WMF
            Add<FileWMFAnalyser>(list);
            break;
        case 68:  // ZIP
            Add<FileZIPAnalyser>(list);
            break;
        default:
            break;  // DLL and EXE have none; the user's own types are not built in yet
    }
}

void AppendAllAnalysers(RawAnalysers& list) {
    // The scan asks them in this order.
    Add<File3DSAnalyser>(list);
    Add<File3GPAnalyser>(list);
    Add<FileASFAnalyser>(list);
    Add<FileAUAnalyser>(list);
    Add<FileBMPAnalyser>(list);
    Add<FileCABAnalyser>(list);
    Add<FileCHMAnalyser>(list);
    Add<FileCPTAnalyser>(list);
    Add<FileCRWAnalyser>(list);
    Add<FileDBXAnalyser>(list);
    Add<FileDWGAnalyser>(list);
    Add<FileDXFAnalyser>(list);
    Add<FileEMFAnalyser>(list);
    Add<FileEPSAnalyser>(list);
    Add<FileFH11Analyser>(list);
    Add<FileGIFAnalyser>(list);
    Add<FileGZAnalyser>(list);
    Add<FileHLPAnalyser>(list);
    Add<FileHTMAnalyser>(list);
    Add<FileICOAnalyser>(list);
    Add<FileJPGAnalyser>(list);
    Add<FileLowDocAnalyser>(list);
    Add<FileLZHAnalyser>(list);
    Add<FileMDBAnalyser>(list);
    Add<FileMIDAnalyser>(list);
    Add<FileMNYAnalyser>(list);
    Add<FileMOVAnalyser>(list);
    Add<FileMP3Analyser>(list);
    Add<FileMP4Analyser>(list);
    Add<FileOLEAnalyser>(list);
    Add<FileONEAnalyser>(list);
    Add<FilePDFAnalyser>(list);
    Add<FilePNGAnalyser>(list);
    Add<FilePSDAnalyser>(list);
    Add<FilePSPAnalyser>(list);
    Add<FilePSTAnalyser>(list);
    Add<FileRARAnalyser>(list);
    Add<FileRIFFAnalyser>(list);
    Add<FileRTFAnalyser>(list);
    Add<FileSWFAnalyser>(list);
    Add<FileTARAnalyser>(list);
    Add<FileTIFAnalyser>(list);
    Add<FileTTFAnalyser>(list);
    Add<FileUnicodeHTMAnalyser>(list);
    Add<FileWMFAnalyser>(list);
    Add<FileWPDAnalyser>(list);
    Add<FileZIPAnalyser>(list);
}

RawAnalyserFactory BuiltInAnalyserFactory() {
    return {BuildAnalyserList, AppendAllAnalysers};
}

}  // namespace keldrin
