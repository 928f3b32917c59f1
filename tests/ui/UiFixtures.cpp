#include "tests/ui/UiFixtures.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

#include "engine/model/FileTree.h"
#include "engine/model/MyFileProperties.h"
#include "engine/model/ProgressCallbacks.h"
#include "engine/output/RecoverJobs.h"

namespace keldrin::ui::testing {

bool RecordingHost::RunBuild(const std::function<void(IDIRBuildCallback&)>& work) {
    ++builds;
    CNullDIRBuildCallback callback;
    work(callback);
    return true;
}

RecoveryRun RecordingHost::RunRecovery(CFileSystemNode* root, IStorageDevice* device,
                                       const std::string& destination) {
    RecoveryRun run;
    run.selected = root ? root->GetStatistics().checkedFiles : 0;
    for (CFileNode* child = root ? root->GetFirstChild() : nullptr; child; child = child->GetNextSibling()) {
        if (!child->GetProperties() || child->GetProperties()->GetCheckState() == kUnchecked) continue;
        output::RecoverTreeResult result;
        if (output::RecoverTree(&recoverCallback, device, child, destination, &result))
            run.names.push_back(result.folder);
    }
    run.recovered = recoverCallback.files;
    return run;
}

ScriptedPrompts::ScriptedPrompts() : saved_(GetPrompts()) {
    Prompts& p = GetPrompts();
    p.ask = [this](QWidget*, const QString& text) {
        asked << text;
        return onAsk(text);
    };
    p.inform = [this](QWidget*, const QString& text) { informed << text; };
    p.warn = [this](QWidget*, const QString& text) { warned << text; };
    p.savePath = [this](QWidget*, const QString&, const QString&) { return savePath; };
    p.tip = [this](QWidget*, const QString& text) {
        informed << text;
        return true;
    };
}

ScriptedPrompts::~ScriptedPrompts() {
    GetPrompts() = saved_;
}

std::filesystem::path SampleVolume(const std::filesystem::path& dir) {
    std::filesystem::path path = keldrin::testing::UnpackSample(dir);
    EXPECT_FALSE(path.empty()) << "the sample volume cannot be unpacked";
    return path;
}

std::filesystem::path TwoPartitionDisk(const std::filesystem::path& dir) {
    const std::filesystem::path volume = SampleVolume(dir);
    const uint64_t bytes = std::filesystem::file_size(volume);
    const uint32_t sectors = static_cast<uint32_t>(bytes / 512);
    const std::filesystem::path disk = dir / "two-partitions.img";
    std::ifstream in(volume, std::ios::binary);
    std::string body((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string image(2048 * 512, '\0');
    const uint32_t starts[2] = {2048, 2048 + sectors};
    for (int i = 0; i < 2; ++i) {
        unsigned char* e = reinterpret_cast<unsigned char*>(&image[446 + 16 * i]);
        e[4] = 0x07;  // NTFS
        std::memcpy(e + 8, &starts[i], 4);
        std::memcpy(e + 12, &sectors, 4);
    }
    image[510] = static_cast<char>(0x55);
    image[511] = static_cast<char>(0xAA);
    image += body;
    image += body;
    std::ofstream(disk, std::ios::binary).write(image.data(), static_cast<std::streamsize>(image.size()));
    return disk;
}

CFileSystemNode* LiveOnlyTree() {
    CFileSystemNode* root = CreateFileSystemNode();
    CFileNode* file = CreateFileNode();
    MyFileRecord record;
    record.SetName("live.txt");
    file->SetProperties(new CMyFileProperties(record));
    root->AddChild(file);
    return root;
}

}  // namespace keldrin::ui::testing
