#include "ui/controller/CTypeOfFileToRecoveryController.h"

#include <sstream>

#include "shared/ScanSettings.h"
#include "shared/TypeFilter.h"
#include "ui/controller/PageIndex.h"
#ifdef KELDRIN_HAVE_RAW
#include "engine/raw/RawFileType.h"
#endif

namespace keldrin::ui {
namespace {

constexpr const char* kChoiceExtensions[kTypeChoiceCount] = {
    "",
    ".mdb .xls .xla .xlt .xlsx .ppt .ppts .doc .dot .asd .docx .odt .ods .pst .pab .pmd .p65 .ppj .2dp "
    ".ctw .cpg .shw .rpt .d2s .apub .efx .ftw .paf .fdr .fdt .fft .fzd .jtd .jlb .wk3 .wk1 .wk2 .wk4 .wks "
    ".fm3 .wb1 .123 .lwp .mps .one .mpp .pub .puz .vsd .vss .vst .wri .wps .sim .pdf .qpw .dsn .std .wpd "
    ".wcm .wpt .wpg .xml .xsl .svg .xms .nib .opf .ncx .jis .txt",
    ".edb .eml .mbx .bkl .bks .bms .nsf .pst .pab .dbx",
    ".crw .jpg .jpeg .orf .tif .tiff .epx .nef .arw .max .indd .psd .dwg .dxf .hpgl .hpg .plt .skf .dgn "
    ".bmp .cdr .dcd .dcf .eps .emf .fmz .fzb .fh10 .fh11 .fh9 .fh7 .fh8 .raf .gif .shp .gue .gmp .ico .jp2 "
    ".lwo .lws .gdb .mix .vsd .vss .vst .pcx .scr .psp .png .ppm .pgm .pbm .hcr .biz .qxp .qxd .qxb .qxl "
    ".qpt .cad .swf .x3f .sdr .sdt .swi .tcw .wmf .xar",
    ".m4a .m4b .m4p .mp3 .mp1 .mp2 .mid .midi .wav .flv .wma .ogg .ape .acc .avi .navi .mpeg .mpeg-1 "
    ".mpeg-2 .mpeg-4 .mov",
    ".wmv .asf .wma .asx .mts .mzts .hdtv .avi .mov .mp4 .mpg .mpeg .m1v .vro .3gp .3g2 .3gpp .3gp2 .amr "
    ".aif .aiff .cwp .dss .dvf .fla .flp .sc4 .fbx .lso .oog .ogm .oga .ogv .ogx .ram .rns .sib .lib .wav "
    ".swf .dv-avi .divx .wmf .rmvb",
};

}  // namespace

std::vector<std::string> ExtensionsOfChoice(int choice) {
    std::vector<std::string> out;
    if (choice < 0 || choice >= kTypeChoiceCount) return out;
    std::istringstream words(kChoiceExtensions[choice]);
    for (std::string word; words >> word;) out.push_back(word);
    return out;
}

CTypeOfFileToRecoveryController::CTypeOfFileToRecoveryController(IWizardHost& host,
                                                                 IWizardPageController* deviceDeleted,
                                                                 IWizardPageController* deviceComplete,
                                                                 IWizardPageController* devicePartition)
    : CWizardPageControllerBase(host, kPageTypeOfFile),
      devices_{deviceDeleted, deviceComplete, devicePartition} {}

bool CTypeOfFileToRecoveryController::GoNext() {
    if (mode_ < 0 || mode_ > 2 || !devices_[mode_]) return false;
    SetTypeFilter(ExtensionsOfChoice(choice_));
    ScanSettings& settings = GetScanSettings();
    settings.ignoreBadSectors = ignoreBadSectors_;
    std::vector<int>& types = settings.raw.chosenTypes;
    types.clear();
    const bool filterOff = GetTypeFilter().IsOff();
    for (int i = kFirstBuiltInRawType; i <= kLastBuiltInRawType; ++i) {
#ifdef KELDRIN_HAVE_RAW
        if (!filterOff && !PassesTypeFilter(("." + std::string(RawFileType::Extension(i))).c_str(), false))
            continue;
#endif
        types.push_back(i);
    }
    (void)filterOff;
    EnterNext(*devices_[mode_]);
    return true;
}

}  // namespace keldrin::ui
