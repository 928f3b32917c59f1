// Memory and speed of a recovered-file tree the size of a large NTFS volume: 1,000,000 files with
// 12-character names and one extent each, in folders of 1000 files.
#include <malloc.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include "engine/devices/Volume.h"
#include "engine/model/FileTree.h"
#include "engine/model/NTFSFileProperties.h"
#include "engine/model/SmallBlockPool.h"

using namespace keldrin;

namespace {

constexpr int kFiles = 1000000;
constexpr int kFilesPerFolder = 1000;

long VmRssKiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    return -1;
}

// Bytes malloc has handed out, small blocks and mapped ones.
size_t HeapInUse() {
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

CNTFSFileProperties* MakeProperties(const char* name, uint16_t attributes, uint64_t size,
                                    StoredRunList runs) {
    NTFSPropertiesRecord record;
    record.name = name;
    record.size = size;
    record.attributes = attributes;
    record.creationTime = 132000000000000000ull;
    record.modificationTime = record.creationTime + size;
    record.accessTime = record.modificationTime + 1;
    record.recordSector = 6291456 + 2 * static_cast<int64_t>(size);
    record.storedRuns = std::move(runs);
    return CNTFSFileProperties::InitFromRecord(record).release();
}

CFileSystemNode* BuildTree() {
    CFileSystemNode* root = CreateRootNode();
    CFileSystemNode* volume = CreateFileSystemNode();
    volume->SetFileSystemType(kFsNtfs);
    volume->SetVolumeLocation(2048, 8);
    volume->SetProperties(MakeProperties("1 NTFS", kAttrFolder, 0, {}));
    root->AddChild(volume);

    char name[32];
    uint64_t cluster = 786432;  // files spread over a volume of some 100 GB
    for (int f = 0; f < kFiles / kFilesPerFolder; ++f) {
        CFileNode* folder = CreateFileNode();
        std::snprintf(name, sizeof(name), "Folder%06d", f);
        folder->SetProperties(MakeProperties(name, kAttrFolder, 0, {}));
        volume->AddChild(folder);
        for (int i = 0; i < kFilesPerFolder; ++i) {
            const uint64_t clusters = 1 + (f * 7 + i) % 48;
            std::snprintf(name, sizeof(name), "F%07d.jpg", f * kFilesPerFolder + i);
            CFileNode* file = CreateFileNode();
            file->SetProperties(MakeProperties(name, kAttrArchive, clusters * 4096 - 100,
                                               StoredRunList::FromExtents({{cluster, clusters}})));
            folder->AddChild(file);
            cluster += clusters + 3;
        }
    }
    return root;
}

}  // namespace

int main() {
    const long rssBefore = VmRssKiB();
    const size_t heapBefore = HeapInUse();

    auto start = std::chrono::steady_clock::now();
    CFileSystemNode* root = BuildTree();
    const double buildSeconds = Seconds(start);

    const long rssAfter = VmRssKiB();
    const size_t heapAfter = HeapInUse();

    start = std::chrono::steady_clock::now();
    root->RecomputeStatistics();
    const double statisticsSeconds = Seconds(start);

    start = std::chrono::steady_clock::now();
    root->ToggleCheck(root, false);
    const double toggleSeconds = Seconds(start);
    const SelectionStatistics statistics = root->GetStatistics();

    start = std::chrono::steady_clock::now();
    DeleteTree(root);
    const double deleteSeconds = Seconds(start);
    const long rssDeleted = VmRssKiB();

    // A file from the middle of the volume, as most of the tree's files are.
    const StoredRunList sampleRuns = StoredRunList::FromExtents({{20000000, 12}});
    const size_t propertiesBlock = sizeof(CNTFSFileProperties) + 12 + 1 + sampleRuns.GetSize();
    const size_t pooledBlock = (propertiesBlock + SmallBlockPool::kGranule - 1) / SmallBlockPool::kGranule *
                               SmallBlockPool::kGranule;

    std::printf("files                     %d in %d folders\n", kFiles, kFiles / kFilesPerFolder);
    std::printf("node                      %zu bytes\n", sizeof(CFileNode));
    std::printf("NTFS properties block     %zu bytes, pooled as %zu (fixed %zu, name 12 + 1, extents %u)\n",
                propertiesBlock, pooledBlock, sizeof(CNTFSFileProperties), sampleRuns.GetSize());
    std::printf("resident memory per file  %.1f bytes (VmRSS %ld -> %ld KiB)\n",
                (rssAfter - rssBefore) * 1024.0 / kFiles, rssBefore, rssAfter);
    std::printf("heap per file             %.1f bytes (mallinfo2)\n",
                static_cast<double>(heapAfter - heapBefore) / kFiles);
    std::printf("checked                   %u files, %llu bytes\n", statistics.checkedFiles,
                static_cast<unsigned long long>(statistics.checkedSize));
    std::printf("build                     %.3f s\n", buildSeconds);
    std::printf("RecomputeStatistics       %.3f s\n", statisticsSeconds);
    std::printf("ToggleCheck on the root   %.3f s\n", toggleSeconds);
    std::printf("DeleteTree                %.3f s (VmRSS afterwards %ld KiB, pool blocks left %zu)\n",
                deleteSeconds, rssDeleted, TreePool().LiveBlocks());
    return 0;
}
