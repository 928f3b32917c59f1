#include <unistd.h>

#include <CLI/CLI.hpp>
#include <cstdio>
#include <iostream>
#include <map>
#include <memory>
#include <string>

#include "cli/Format.h"
#include "cli/ScanCommands.h"
#include "cli/Source.h"
#include "engine/devices/Volume.h"
#include "engine/raw/RAWSearchController.h"
#include "engine/raw/RawFileStore.h"
#include "engine/raw/RawFileType.h"
#include "engine/search/SectorScan.h"
#include "shared/ScanSettings.h"

namespace keldrin::cli {
namespace {

std::string Clock(int64_t seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld", static_cast<long long>(seconds / 3600),
                  static_cast<long long>(seconds / 60 % 60), static_cast<long long>(seconds % 60));
    return text;
}

struct ScanOptions {
    std::string source;
    bool raw = false;
};

// The candidate line of the partition views, on one line.
std::string CandidateLine(const CSearchedPartitionInfo& c) {
    const std::string size = FormatSize(static_cast<uint64_t>(c.partitionSectorsCount) * kSectorSize);
    char text[160];
    std::snprintf(text, sizeof text, "%s, %s,\r\nRank: %.2f%%", size.c_str(),
                  FileSystemTypeText(c.fileSystemType), c.rank * 100.0);
    std::string line = text;
    const size_t breakAt = line.find("\r\n");
    if (breakAt != std::string::npos) line.replace(breakAt, 2, " ");
    return line;
}

int RunScan(const ScanOptions& options) {
    std::string error;
    OpenedSource source = OpenSource(options.source, error);
    if (!source.device) {
        std::cerr << "keldrin-cli: " << error << "\n";
        return kExitUnreadable;
    }
    IStorageDevice* device = source.device.get();
    GetScanSettings().raw.recoverRawFilesOnly = false;

    // The file-system analysers join this list as they come; the RAW scanner on request.
    CRAWSearchController raw;
    AnalyserList analysers;
    if (options.raw) analysers.push_back(&raw);
    CRawFileStore store;
    ShareRawFileStore(analysers, &store);
    CandidateList results;
    bool cancelled = false;
    {
        ScanProgress progress;
        if (!RunSectorScan(device, analysers, results, &progress)) {
            std::cerr << "keldrin-cli: the scan could not start\n";
            return kExitUnreadable;
        }
        cancelled = progress.WasCancelled();
    }
    if (cancelled) std::cerr << "keldrin-cli: cancelled; what was found so far follows\n";

    std::cout << "File systems found: " << results.size() << "\n";
    for (const auto& c : results) {
        std::cout << (c->selected ? "* " : "  ") << CandidateLine(*c) << " (start sector "
                  << c->partitionStartSector << ")\n";
    }
    if (options.raw) {
        std::map<int, int64_t> byType;
        for (ListIterator it = store.GetIterator(); !it.IsDone(); it.Next()) ++byType[it.CurrentItem()->type];
        std::cout << "RAW files found: " << store.GetCount() << "\n";
        for (const auto& [type, count] : byType)
            std::cout << "  " << RawFileType::Extension(type) << " (" << RawFileType::Description(type)
                      << "): " << count << "\n";
    }
    return cancelled ? kExitPartly : kExitOk;
}

}  // namespace

ScanProgress::ScanProgress()
    : terminal_(isatty(STDERR_FILENO) == 1), start_(std::chrono::steady_clock::now()) {}

ScanProgress::~ScanProgress() {
    if (terminal_ && drawn_) {
        Draw(true);
        std::fputs("\n", stderr);
    }
}

void ScanProgress::SetRange(int64_t first, int64_t last) {
    first_ = first;
    last_ = last;
    start_ = std::chrono::steady_clock::now();
    Draw(true);
}

void ScanProgress::SetPosition(int64_t blockIndex) {
    position_ = blockIndex;
    Draw(false);
}

int ScanProgress::IsCancelled() {
    return InterruptGuard::Interrupted() ? 1 : 0;
}

void ScanProgress::Draw(bool force) {
    if (!terminal_) return;
    const auto now = std::chrono::steady_clock::now();
    if (!force && drawn_ && now - lastDraw_ < std::chrono::milliseconds(300)) return;
    lastDraw_ = now;
    drawn_ = true;
    const int64_t range = last_ - first_;
    const int64_t done = std::max<int64_t>(position_ + 1 - first_, 0);
    const int percent = range > 0 ? static_cast<int>(std::min<int64_t>(done * 100 / range, 100)) : 100;
    const auto elapsed = std::chrono::duration_cast<std::chrono::seconds>(now - start_).count();
    std::string text = "Scan " + Clock(elapsed);
    if (done > 0 && range > done) text += ", left " + Clock(elapsed * (range - done) / done);
    DrawProgressLine(text, percent);
}

Command AddScanCommand(CLI::App& app) {
    auto options = std::make_shared<ScanOptions>();
    CLI::App* sub =
        app.add_subcommand("scan", "Scan every sector of a source and rank the file systems found");
    sub->add_option("SOURCE", options->source, "Disk image file or block device (opened read-only)")
        ->required();
    sub->add_flag("--raw", options->raw, "Also look for files by their signatures and count them");
    return {sub, [options] { return RunScan(*options); }};
}

}  // namespace keldrin::cli
