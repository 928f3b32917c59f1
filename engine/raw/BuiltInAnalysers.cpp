#include "engine/raw/BuiltInAnalysers.h"

#include <memory>

#include "engine/raw/FileBMPAnalyser.h"
#include "engine/raw/FileGIFAnalyser.h"
#include "engine/raw/FileJPGAnalyser.h"
#include "engine/raw/FileOLEAnalyser.h"
#include "engine/raw/FilePDFAnalyser.h"
#include "engine/raw/FilePNGAnalyser.h"
#include "engine/raw/FileRIFFAnalyser.h"
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
        case 3:   // ADP
        case 21:  // DOC (the older Word format's analyser is not built in yet)
        case 35:  // MAX
        case 39:  // MOF
        case 43:  // MPP
        case 44:  // OLE
        case 48:  // PPT
        case 49:  // PUB
        case 53:  // QPW
        case 57:  // SHW (the WordPerfect analyser is not built in yet)
        case 62:  // VSD
        case 64:  // WPD
        case 65:  // WPG
        case 67:  // XLS
            Add<FileOLEAnalyser>(list);
            break;
        case 5:   // AI
        case 46:  // PDF
            Add<FilePDFAnalyser>(list);
            break;
        case 9:
            Add<FileBMPAnalyser>(list);
            break;
        case 28:
            Add<FileGIFAnalyser>(list);
            break;
        case 33:
            Add<FileJPGAnalyser>(list);
            break;
        case 47:
            Add<FilePNGAnalyser>(list);
            break;
        case 68:
            Add<FileZIPAnalyser>(list);
            break;
        default:
            break;  // DLL and EXE have none; the other kinds are not built in yet
    }
}

void AppendAllAnalysers(RawAnalysers& list) {
    // The scan asks them in this order; kinds not built in yet keep their place empty.
    Add<FileBMPAnalyser>(list);
    Add<FileGIFAnalyser>(list);
    Add<FileJPGAnalyser>(list);
    Add<FileOLEAnalyser>(list);
    Add<FilePDFAnalyser>(list);
    Add<FilePNGAnalyser>(list);
    Add<FileRIFFAnalyser>(list);
    Add<FileZIPAnalyser>(list);
}

RawAnalyserFactory BuiltInAnalyserFactory() {
    return {BuildAnalyserList, AppendAllAnalysers};
}

}  // namespace keldrin
