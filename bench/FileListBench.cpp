// The file-selection page over a tree of a million files: showing the tree, opening a folder of a
// million files, drawing a screenful of rows, and ticking everything.
#include <benchmark/benchmark.h>

#include <string>

#include "engine/model/FileTree.h"
#include "engine/model/MyFileProperties.h"
#include "ui/controller/FileCells.h"
#include "ui/pages/CFileListModel.h"
#include "ui/pages/CFolderTreeModel.h"

namespace {

constexpr int kFiles = 1000000;

using namespace keldrin;

// The top "Root" over a volume whose one folder holds count files.
CFileSystemNode* WideTree(int count) {
    CFileSystemNode* top = CreateRootNode();
    CFileSystemNode* volume = CreateFileSystemNode();
    MyFileRecord record;
    record.typeCode = kTypeCodeFileSystem;
    record.attributes = kAttrFolder;
    record.SetName("volume");
    volume->SetProperties(new CMyFileProperties(record));
    CFileNode* folder = CreateFileNode();
    record.SetName("many");
    folder->SetProperties(new CMyFileProperties(record));
    volume->AddChild(folder);
    record.attributes = 0;
    for (int i = 0; i < count; ++i) {
        CFileNode* file = CreateFileNode();
        // Scrambled names, so the sort has work to do.
        record.SetName("file-" + std::to_string(static_cast<int>((int64_t{i} * 7919) % count)) + ".dat");
        record.size = static_cast<uint64_t>(i);
        file->SetProperties(new CMyFileProperties(record));
        folder->AddChild(file);
    }
    top->AddChild(volume);
    top->RecomputeStatistics();
    return top;
}

CFileSystemNode* Tree() {
    static TreeOwner<CFileSystemNode> tree(WideTree(kFiles));
    return tree.get();
}

CFileNode* ManyFolder() {
    return Tree()->GetFirstChild()->GetFirstChild();
}

void BM_ShowTree(benchmark::State& state) {
    for (auto _ : state) {
        keldrin::ui::CFolderTreeModel model(nullptr);
        model.SetRoot(Tree());
        const QModelIndex volume = model.index(0, 0, {});
        benchmark::DoNotOptimize(model.rowCount(volume));
        benchmark::DoNotOptimize(model.hasChildren(model.index(0, 0, volume)));
    }
}
BENCHMARK(BM_ShowTree)->Unit(benchmark::kMillisecond);

void BM_OpenMillionFileFolder(benchmark::State& state) {
    for (auto _ : state) {
        keldrin::ui::CFileListModel model(nullptr);
        model.SetRows(ManyFolder(), keldrin::ui::DisplayChildren(ManyFolder()));
        benchmark::DoNotOptimize(model.rowCount({}));
    }
}
BENCHMARK(BM_OpenMillionFileFolder)->Unit(benchmark::kMillisecond);

void BM_DrawAScreenOfRows(benchmark::State& state) {
    keldrin::ui::CFileListModel model(nullptr);
    model.SetRows(ManyFolder(), keldrin::ui::DisplayChildren(ManyFolder()));
    int first = 0;
    for (auto _ : state) {
        for (int row = first; row < first + 40; ++row)
            for (int column = 0; column < keldrin::ui::kFileListColumnCount; ++column)
                benchmark::DoNotOptimize(model.data(model.index(row, column), Qt::DisplayRole));
        first = (first + 400) % (kFiles - 40);
    }
}
BENCHMARK(BM_DrawAScreenOfRows)->Unit(benchmark::kMicrosecond);

void BM_TickEverything(benchmark::State& state) {
    CFileNode* volume = Tree()->GetFirstChild();
    for (auto _ : state) benchmark::DoNotOptimize(Tree()->ToggleCheck(volume, false));
}
BENCHMARK(BM_TickEverything)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    Tree();  // built once, outside the timings
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
