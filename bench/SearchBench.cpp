// A "Search files" over a tree of 1,000,000 nodes: 1000 folders of 999 files with NTFS properties,
// names of four kinds. The patterns are compiled once per search; the compile time of one pattern is
// printed beside it, to show what compiling per file would cost.
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "engine/model/CollectMatchingFiles.h"
#include "engine/model/FileNamePattern.h"
#include "engine/model/FileTree.h"
#include "engine/model/FilteredTreeBuilder.h"
#include "engine/model/NTFSFileProperties.h"

using namespace keldrin;

namespace {

constexpr int kFolders = 1000;
constexpr int kFilesPerFolder = 999;  // with the folders and the root: 1,000,001 nodes
constexpr uint64_t kBaseTime = 133000000000000000ull;

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

CFileNode* AddNode(CFileNode* parent, const char* name, uint16_t attributes, uint64_t size, uint8_t state) {
    NTFSPropertiesRecord record;
    record.name = name;
    record.size = size;
    record.attributes = attributes;
    record.state = state;
    record.creationTime = kBaseTime;
    record.modificationTime = kBaseTime + size / 1024 * 10000000;  // a second per KB
    record.accessTime = record.modificationTime;
    CFileNode* node = CreateFileNode();
    node->SetProperties(CNTFSFileProperties::InitFromRecord(record).release());
    parent->AddChild(node);
    return node;
}

CFileSystemNode* BuildTree() {
    CFileSystemNode* volume = CreateFileSystemNode();
    volume->SetFileSystemType(kFsNtfs);
    NTFSPropertiesRecord record;
    record.name = "C:";
    record.attributes = kAttrFolder;
    volume->SetProperties(CNTFSFileProperties::InitFromRecord(record).release());
    static const char* const kKinds[] = {"Report %07d.doc", "IMG_%07d.JPG", "notes-%07d.txt",
                                         "Letter (%07d).dot"};
    char name[48];
    for (int f = 0; f < kFolders; ++f) {
        std::snprintf(name, sizeof(name), "Folder %04d", f);
        CFileNode* folder = AddNode(volume, name, kAttrFolder, 0, 0);
        for (int i = 0; i < kFilesPerFolder; ++i) {
            const int n = f * kFilesPerFolder + i;
            std::snprintf(name, sizeof(name), kKinds[n % 4], n);
            const uint16_t attributes = n % 50 == 0 ? kAttrArchive | kAttrEncrypted : kAttrArchive;
            AddNode(folder, name, attributes, static_cast<uint64_t>(n % 5000) * 1024,
                    n % 3 == 0 ? kStateDeleted : 0);
        }
    }
    return volume;
}

void Search(const char* label, const SearchValues& values) {
    std::vector<CFileNode*> results;
    results.reserve(1000000);
    const auto start = std::chrono::steady_clock::now();
    SearchFiles(values, nullptr, results);
    const double seconds = Seconds(start);
    std::printf("%-44s %8.3f s  %8zu results  %6.1f ns per node\n", label, seconds, results.size(),
                seconds * 1e9 / (kFolders * (kFilesPerFolder + 1) + 1));
}

}  // namespace

int main() {
    auto start = std::chrono::steady_clock::now();
    TreeOwner<CFileSystemNode> tree(BuildTree());
    std::printf("tree of %d nodes built in %.3f s\n", kFolders * (kFilesPerFolder + 1) + 1, Seconds(start));

    constexpr int kCompiles = 2000;
    start = std::chrono::steady_clock::now();
    for (int i = 0; i < kCompiles; ++i) FileNamePattern pattern("report*.doc", false, false, kPatternSearch);
    const double compile = Seconds(start) / kCompiles;
    std::printf("one name pattern compiled in %.2f us (per file that would be %.1f s more over the tree)\n",
                compile * 1e6, compile * kFolders * kFilesPerFolder);

    SearchValues values;
    values.start = tree.get();
    values.name = "*";
    Search("name \"*\" (first walk)", values);
    Search("name \"*\"", values);
    values.name = "*.doc";
    Search("name \"*.doc\"", values);
    values.name = "report ?????1?.d?c";
    Search("name \"report ?????1?.d?c\"", values);

    values.name = "*";
    values.flags = kSearchByType | kSearchByDate | kSearchBySize | kSearchOther;
    values.extensions = ".doc;.dot";
    values.date = {kDateModified, kBaseTime, kBaseTime + 2000ull * 10000000};
    values.size = {kSizeAtLeast, 100 * 1024};
    values.includeEncrypted = 0;
    Search("type .doc;.dot, date, size, no encrypted", values);

    values = SearchValues();
    values.start = tree.get();
    values.name = "*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*b";
    Search("name with 21 runs (no name matches)", values);

    CFileStateFilter deleted(kStateDeleted | kStateLost | kStateCrossLink);
    CFilteredTreeBuilder builder(&deleted);
    start = std::chrono::steady_clock::now();
    FilteredCopyOwner copy(builder.Build(tree.get()));
    std::printf("%-44s %8.3f s\n", "filtered copy of the deleted files", Seconds(start));
    return 0;
}
