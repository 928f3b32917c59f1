// The partition tables of the real disk images of the corpus, and of the disks the image tools build,
// against the oracle listings beside them (the partition tool's table, the file system types found at
// each offset). Every data partition the oracle lists must be found with its start and length; the
// deliberate differences are the rules in ExpectedPartitions.
#include <gtest/gtest.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "engine/devices/FileSystemTypeName.h"
#include "engine/devices/GptTable.h"
#include "engine/devices/GptTypes.h"
#include "engine/devices/ImageFileDevice.h"
#include "engine/devices/MbrTable.h"
#include "engine/devices/PartitionTableAnalyze.h"
#include "engine/identify/IdentifyVolume.h"
#include "tests/devices/DeviceTestSupport.h"

namespace keldrin {
namespace {

// Volumes the oracle does not open but whose boot record our readers recognise, with the reason.
const std::map<std::string, const char*> kRecognisedBeyondTheOracle = {
    {"fat32_small.raw", "a FAT32 boot record on a volume of FAT12 size"},
};

namespace fs = std::filesystem;

// Larger images would cost the run more than they add.
constexpr int64_t kMaxImageBytes = int64_t{600} << 20;

std::string Upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

std::vector<std::string> RunForLines(const std::string& command) {
    std::vector<std::string> lines;
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return lines;
    char buffer[4096];
    while (std::fgets(buffer, sizeof buffer, pipe)) {
        std::string line = buffer;
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
        lines.push_back(line);
    }
    if (::pclose(pipe) != 0) lines.clear();
    return lines;
}

std::string Quoted(const fs::path& p) {
    return "'" + p.string() + "'";
}

// Unpacks a gzip stream, leaving zero blocks as holes so that large empty images stay small.
bool GunzipSparse(const fs::path& from, const fs::path& to) {
    gzFile in = gzopen(from.c_str(), "rb");
    if (!in) return false;
    std::FILE* out = std::fopen(to.c_str(), "wb");
    bool ok = out != nullptr;
    std::vector<char> block(64 * 1024);
    int64_t size = 0;
    int n = 0;
    while (ok && (n = gzread(in, block.data(), static_cast<unsigned>(block.size()))) > 0) {
        const bool zero = std::all_of(block.begin(), block.begin() + n, [](char c) { return c == 0; });
        if (zero)
            ok = std::fseek(out, n, SEEK_CUR) == 0;
        else
            ok = std::fwrite(block.data(), 1, static_cast<size_t>(n), out) == static_cast<size_t>(n);
        size += n;
    }
    ok = ok && n == 0;
    gzclose(in);
    if (out) {
        ok = std::fflush(out) == 0 && ok;
        ok = ::ftruncate(fileno(out), size) == 0 && ok;
        std::fclose(out);
    }
    return ok;
}

// Finds the raw image a listing speaks of: beside it, gzipped or bzipped beside it, or inside an archive of
// its folder (unpacked once into the work folder).
class ImageFinder {
  public:
    explicit ImageFinder(const fs::path& work) : work_(work) {}

    std::optional<fs::path> Find(const fs::path& folder, const std::string& name) {
        if (fs::is_regular_file(folder / name)) return folder / name;
        if (fs::is_regular_file(folder / (name + ".gz"))) {
            const fs::path out = work_ / ("gz-" + std::to_string(counter_++) + "-" + name);
            if (GunzipSparse(folder / (name + ".gz"), out)) return out;
            return std::nullopt;
        }
        if (fs::is_regular_file(folder / (name + ".bz2"))) {
            const fs::path out = work_ / ("bz2-" + std::to_string(counter_++) + "-" + name);
            const std::string command = "bzip2 -dc " + Quoted(folder / (name + ".bz2")) + " >" + Quoted(out);
            if (std::system(command.c_str()) == 0) return out;
            return std::nullopt;
        }
        for (const fs::directory_entry& e : fs::directory_iterator(folder)) {
            const std::string file = e.path().filename().string();
            const bool tar = file.ends_with(".tgz") || file.ends_with(".tar.gz") || file.ends_with(".tar.xz");
            const bool zip = file.ends_with(".zip");
            if (!tar && !zip) continue;
            const std::vector<std::string> members =
                RunForLines(tar ? "tar -tf " + Quoted(e.path()) : "unzip -Z1 " + Quoted(e.path()));
            for (const std::string& member : members) {
                if (fs::path(member).filename() != name) continue;
                const fs::path dir = Unpacked(e.path(), tar);
                if (!dir.empty() && fs::is_regular_file(dir / member)) return dir / member;
            }
        }
        return std::nullopt;
    }

  private:
    fs::path Unpacked(const fs::path& archive, bool tar) {
        if (auto it = unpacked_.find(archive); it != unpacked_.end()) return it->second;
        const fs::path dir = work_ / ("archive-" + std::to_string(counter_++));
        fs::create_directories(dir);
        const std::string command = tar ? "tar -xSf " + Quoted(archive) + " -C " + Quoted(dir)
                                        : "unzip -q -o " + Quoted(archive) + " -d " + Quoted(dir);
        const bool ok = std::system((command + " >/dev/null 2>&1").c_str()) == 0;
        return unpacked_[archive] = ok ? dir : fs::path();
    }

    fs::path work_;
    int counter_ = 0;
    std::map<fs::path, fs::path> unpacked_;
};

struct OraclePartition {
    int64_t start = 0;
    int64_t length = 0;
    std::string description;
};

struct Oracle {
    std::string image;  // file name of the raw image
    int64_t imageBytes = -1;
    std::vector<OraclePartition> partitions;
    std::map<int64_t, std::set<std::string>> fileSystems;  // upper-case types by sector offset
    std::map<int64_t, int64_t> fileSystemSectors;          // from the "Total Sector Range"
};

// The data rows of a partition-tool table: "002:  000:000  0000000001  0000000350  0000000350  Linux".
std::optional<OraclePartition> TableRow(const std::string& line) {
    static const std::regex row(R"(^\s*\d+:\s+(\S+)\s+(\d+)\s+(\d+)\s+(\d+)\s*(.*)$)");
    std::smatch m;
    if (!std::regex_match(line, m, row) || m[1] == "Meta" || m[1] == "-------") return std::nullopt;
    return OraclePartition{std::stoll(m[2]), std::stoll(m[4]), m[5]};
}

// A "*.fls.txt" listing: the image size, the table, and the file systems found at each offset.
Oracle ReadListing(const fs::path& listing) {
    Oracle oracle;
    oracle.image = listing.filename().string();
    oracle.image.resize(oracle.image.size() - std::string(".fls.txt").size());
    std::ifstream in(listing);
    std::string line;
    static const std::regex bytes(R"(^# raw image bytes: (\d+))");
    static const std::regex offset(R"(^## file system .*\(sector offset (\d+)\))");
    static const std::regex range(R"(^Total Sector Range: (\d+) - (\d+))");
    bool inTable = false;
    std::optional<int64_t> fsOffset;
    while (std::getline(in, line)) {
        std::smatch m;
        if (std::regex_search(line, m, bytes)) oracle.imageBytes = std::stoll(m[1]);
        if (line.starts_with("## ")) {
            inTable = line == "## mmls";
            fsOffset.reset();
            if (std::regex_search(line, m, offset)) fsOffset = std::stoll(m[1]);
            continue;
        }
        if (inTable) {
            if (auto p = TableRow(line)) oracle.partitions.push_back(*p);
        } else if (fsOffset && line.starts_with("File System Type: ")) {
            oracle.fileSystems[*fsOffset].insert(Upper(line.substr(18)));
        } else if (fsOffset && std::regex_search(line, m, range)) {
            oracle.fileSystemSectors[*fsOffset] = std::stoll(m[2]) - std::stoll(m[1]) + 1;
        }
    }
    return oracle;
}

// The per-disk sections of a "*.disks.txt" listing of a multi-disk set: "## NAME  bytes=N ...".
std::vector<Oracle> ReadDiskSetListing(const fs::path& listing) {
    std::vector<Oracle> disks;
    std::ifstream in(listing);
    std::string line;
    static const std::regex header(R"(^## (\S+)\s+bytes=(\d+))");
    bool inTable = false;
    while (std::getline(in, line)) {
        std::smatch m;
        if (std::regex_search(line, m, header)) {
            disks.push_back(Oracle{m[1], std::stoll(m[2]), {}, {}, {}});
            inTable = false;
        } else if (line.starts_with("## ")) {
            inTable = false;
        } else if (line == "### mmls") {
            inTable = !disks.empty();
        } else if (inTable) {
            if (auto p = TableRow(line)) disks.back().partitions.push_back(*p);
        }
    }
    return disks;
}

// What the oracle's table should come to here, with the deliberate differences applied.
std::vector<OraclePartition> ExpectedPartitions(const Oracle& oracle, IStorageDevice& disk,
                                                const std::vector<PartitionRecord>& ours,
                                                PartitionTableKind kind) {
    const int64_t sectors = disk.GetTotalSectors();
    std::vector<OraclePartition> expected;
    // A dynamic disk gives no basic partitions: its volumes come from the dynamic-disk database.
    if (kind == PartitionTableKind::kDynamic) return expected;
    uint8_t sector0[kSectorSize];
    MbrEntries entries;
    // A table with a status byte other than 0x00 and 0x80 is not taken.
    if (kind != PartitionTableKind::kGpt && disk.ReadSectors(sector0, 0, 1) && HasBootSignature(sector0) &&
        !ReadMbrEntries(sector0, entries))
        return expected;
    std::map<uint64_t, bool> gptKnown;
    if (kind == PartitionTableKind::kGpt)
        for (const GptEntry& e : ReadGptEntries(&disk))
            gptKnown[e.firstSector] = FindKnownGptType(FormatGptGuid(e.type.data())) != nullptr;
    for (OraclePartition p : oracle.partitions) {
        // A partition starting past the image end is dropped; one running past it is cut there.
        if (p.start >= sectors) continue;
        p.length = std::min(p.length, sectors - p.start);
        // A GPT entry of a type outside the known table is listed only when a file system is found.
        if (kind == PartitionTableKind::kGpt && !gptKnown[static_cast<uint64_t>(p.start)] &&
            std::none_of(ours.begin(), ours.end(),
                         [&](const PartitionRecord& r) { return r.startSector == p.start; }))
            continue;
        expected.push_back(p);
    }
    return expected;
}

void CheckFileSystem(const PartitionRecord& r, const Oracle& oracle, int64_t length);

struct Tally {
    int images = 0;
    int partitions = 0;
};

// Our table of one image against the oracle's.
void CheckImage(const fs::path& raw, const Oracle& oracle, Tally& tally) {
    SCOPED_TRACE(oracle.image);
    CImageFileDevice disk(raw.string());
    ASSERT_TRUE(disk.IsOpen());
    if (oracle.imageBytes >= 0) {
        ASSERT_EQ(disk.GetTotalSectors(), oracle.imageBytes / kSectorSize);
    }
    std::vector<PartitionRecord> ours;
    PartitionTableKind kind = PartitionTableKind::kNone;
    CPartitionTableAnalyze::ReadBasicPartitions(&disk, IdentifyVolume, ours, &kind);
    const std::vector<OraclePartition> expected = ExpectedPartitions(oracle, disk, ours, kind);
    ++tally.images;
    if (kind == PartitionTableKind::kDynamic) std::printf("%s: dynamic disk\n", oracle.image.c_str());

    std::set<const PartitionRecord*> matched;
    for (const OraclePartition& p : expected) {
        SCOPED_TRACE("partition at " + std::to_string(p.start) + " (" + p.description + ")");
        const auto it = std::find_if(ours.begin(), ours.end(), [&](const PartitionRecord& r) {
            return r.number > 0 && r.startSector == p.start && !matched.count(&r);
        });
        if (it == ours.end()) {
            ADD_FAILURE() << "not found";
            continue;
        }
        matched.insert(&*it);
        ++tally.partitions;
        std::printf("%s: %d at %lld, %lld sectors, %s\n", oracle.image.c_str(), it->number,
                    static_cast<long long>(it->startSector), static_cast<long long>(it->sectorCount),
                    FileSystemTypeName(it->fileSystemType));
        EXPECT_EQ(std::min(it->tableSectorCount, disk.GetTotalSectors() - p.start), p.length);
        CheckFileSystem(*it, oracle, p.length);
    }
    for (const PartitionRecord& r : ours) {
        if (matched.count(&r)) continue;
        if (r.number == 0) {
            // A file system on the whole disk: the oracle must have one at sector 0, except on the
            // images whose volume the oracle cannot open and our readers recognise.
            const bool ours = kRecognisedBeyondTheOracle.count(oracle.image) != 0;
            if (ours && !oracle.fileSystems.count(0)) {
                std::printf("%s: whole-disk %s, which the oracle does not open (%s)\n", oracle.image.c_str(),
                            FileSystemTypeName(r.fileSystemType), kRecognisedBeyondTheOracle.at(oracle.image));
                continue;
            }
            EXPECT_TRUE(oracle.fileSystems.count(0)) << "whole-disk " << FileSystemTypeName(r.fileSystemType);
            std::printf("%s: whole-disk %s, %lld sectors\n", oracle.image.c_str(),
                        FileSystemTypeName(r.fileSystemType), static_cast<long long>(r.sectorCount));
            CheckFileSystem(r, oracle, disk.GetTotalSectors());
            continue;
        }
        ADD_FAILURE() << "partition " << r.number << " at " << r.startSector << " is not in the oracle";
    }
}

// Where ours recognises a file system, the oracle saw the same type there, and where its size rules
// the extent it is the oracle's size. Where ours does not, the table's extent stands (the oracle also
// reads damaged volumes that the readers refuse, such as a fuzzer's NTFS case).
void CheckFileSystem(const PartitionRecord& r, const Oracle& oracle, int64_t length) {
    const auto types = oracle.fileSystems.find(r.startSector);
    if (r.fileSystemType == kFsUnknown) {
        EXPECT_EQ(r.sectorCount, length);
        return;
    }
    ASSERT_NE(types, oracle.fileSystems.end())
        << FileSystemTypeName(r.fileSystemType) << " at " << r.startSector;
    EXPECT_TRUE(types->second.count(FileSystemTypeName(r.fileSystemType)))
        << FileSystemTypeName(r.fileSystemType) << " at " << r.startSector;
    const auto size = oracle.fileSystemSectors.find(r.startSector);
    if (r.sectorCount != length && size != oracle.fileSystemSectors.end()) {
        EXPECT_EQ(r.sectorCount, size->second);
    }
}

TEST(PartitionCorpus, EveryImageAgainstItsOracleListing) {
    const fs::path corpus = KELDRIN_CORPUS_DIR;
    if (!fs::is_directory(corpus)) GTEST_SKIP() << "no corpus at " << corpus;
    test::TempDir work;
    ImageFinder finder(work.path());
    Tally tally;
    std::vector<std::string> skipped;
    for (const fs::directory_entry& e : fs::recursive_directory_iterator(corpus)) {
        const std::string file = e.path().filename().string();
        std::vector<Oracle> oracles;
        if (file.ends_with(".volumes.fls.txt")) continue;  // assembled dynamic volumes, not disks
        if (file.ends_with(".fls.txt")) oracles.push_back(ReadListing(e.path()));
        if (file.ends_with(".disks.txt")) oracles = ReadDiskSetListing(e.path());
        for (const Oracle& oracle : oracles) {
            if (oracle.imageBytes > kMaxImageBytes) {
                skipped.push_back(oracle.image + " (too large)");
                continue;
            }
            const std::optional<fs::path> raw = finder.Find(e.path().parent_path(), oracle.image);
            if (!raw) {
                skipped.push_back((e.path().parent_path() / oracle.image).string() + " (image not found)");
                continue;
            }
            CheckImage(*raw, oracle, tally);
        }
    }
    for (const std::string& s : skipped) std::printf("skipped %s\n", s.c_str());
    std::printf("%d images, %d partitions checked\n", tally.images, tally.partitions);
    if (tally.images == 0) GTEST_SKIP() << "no image of the corpus could be read";
}

// The layout file of an image the tools built: "partition start_lba sectors type fs label".
Oracle ReadLayout(const fs::path& layout, const std::string& image) {
    Oracle oracle{image, -1, {}, {}, {}};
    std::ifstream in(layout);
    std::string line;
    std::getline(in, line);  // the column names
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string number, start, sectors, type, fsName;
        if (!std::getline(fields, number, '\t') || !std::getline(fields, start, '\t') ||
            !std::getline(fields, sectors, '\t') || !std::getline(fields, type, '\t') ||
            !std::getline(fields, fsName, '\t'))
            continue;
        if (type == "0x05" || type == "0x0f") continue;  // the extended container, not a volume
        const int64_t first = std::stoll(start);
        oracle.partitions.push_back({first, std::stoll(sectors), fsName});
        oracle.fileSystems[first].insert(Upper(fsName.substr(0, fsName.find(' '))));
    }
    return oracle;
}

TEST(PartitionCorpus, DisksBuiltByTheImageTools) {
    const fs::path script = fs::path(KELDRIN_CORPUS_DIR).parent_path() / "tools" / "make-images.sh";
    if (::geteuid() != 0 || !fs::is_regular_file(script)) GTEST_SKIP() << "needs root and " << script;
    test::TempDir work;
    const std::string command = Quoted(script) + " " + Quoted(work.path()) + " --only disk-mbr,disk-gpt >" +
                                Quoted(work.path() / "make-images.log") + " 2>&1";
    if (std::system(command.c_str()) != 0) GTEST_SKIP() << "the image tools cannot run here";
    Tally tally;
    for (const char* image : {"disk-mbr.img", "disk-gpt.img"}) {
        const fs::path raw = work.path() / image;
        ASSERT_TRUE(fs::is_regular_file(raw)) << image;
        CheckImage(raw, ReadLayout(work.path() / (std::string(image) + ".layout.tsv"), image), tally);
    }
    EXPECT_EQ(tally.partitions, 5);
}

}  // namespace
}  // namespace keldrin
