// Shared pieces of the wizard tests: a host that records what the controllers ask for, answers to
// the message boxes, disk images built from the sample volume, and small trees.
#pragma once

#include <QString>
#include <QStringList>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "engine/model/FileSystemNode.h"
#include "tests/support/TestFiles.h"
#include "ui/app/Prompts.h"
#include "ui/controller/IWizardHost.h"

namespace keldrin::ui::testing {

// Counts what the writer reports.
struct CountingRecoverCallback final : IFileRecoverCallback {
    int Begin(uint32_t, uint64_t) override { return 1; }
    int AddFiles(uint32_t count) override {
        files += count;
        return 1;
    }
    int AddBytes(uint64_t count) override {
        bytes += count;
        return 1;
    }
    int SubtractBytes(uint32_t count) override {
        bytes -= count;
        return 1;
    }
    int SetCurrentFile(const char*) override { return 1; }
    int IsCancelled() override { return 0; }
    uint32_t files = 0;
    uint64_t bytes = 0;
};

class RecordingHost final : public IWizardHost {
  public:
    void ShowPage(int index) override { pages.push_back(index); }
    void ShowMessage(const char* text) override { messages.push_back(text); }
    void ShowWarning(const char* text) override { warnings.push_back(text); }
    bool Ask(const char* text) override {
        questions.push_back(text);
        return answer;
    }
    // Copies at once, on this thread, with the engine's writer.
    RecoveryRun RunRecovery(CFileSystemNode* root, IStorageDevice* device,
                            const std::string& destination) override;
    void BeginWaiting() override { ++waiting; }
    void EndWaiting() override { --waiting; }
    bool RunBuild(const std::function<void(IDIRBuildCallback&)>& work) override;
    bool ShowTip(const char* text) override {
        tips.push_back(text);
        return tickTip;
    }
    int Current() const { return pages.empty() ? -1 : pages.back(); }

    std::vector<int> pages;
    std::vector<std::string> messages;
    std::vector<std::string> tips;
    std::vector<std::string> warnings;
    std::vector<std::string> questions;
    bool answer = true;
    CountingRecoverCallback recoverCallback;
    int waiting = 0;
    int builds = 0;
    bool tickTip = true;
};

// Replaces the message boxes for the life of the object; restores them afterwards.
class ScriptedPrompts {
  public:
    ScriptedPrompts();
    ~ScriptedPrompts();
    std::function<bool(const QString&)> onAsk = [](const QString&) { return true; };
    QStringList asked;
    QStringList informed;
    QStringList warned;
    // What the one-file save dialog answers; empty cancels.
    QString savePath;

  private:
    Prompts saved_;
};

// The sample NTFS volume, unpacked into dir; fails the test when it cannot be.
std::filesystem::path SampleVolume(const std::filesystem::path& dir);
// A disk image with an MBR and two primary NTFS partitions, each a copy of the sample volume.
std::filesystem::path TwoPartitionDisk(const std::filesystem::path& dir);

// A volume tree whose files are all live: nothing for the deleted-files view.
CFileSystemNode* LiveOnlyTree();

}  // namespace keldrin::ui::testing
