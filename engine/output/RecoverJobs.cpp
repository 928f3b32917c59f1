#include "engine/output/RecoverJobs.h"

#include <filesystem>
#include <map>
#include <memory>
#include <mutex>

#include "engine/model/FileProperties.h"
#include "engine/output/FileRecoverWriter.h"
#include "engine/output/SafeName.h"
#include "engine/output/TargetNames.h"
#include "platform/Worker.h"

namespace keldrin::output {
namespace {

// One lock per node for single-file jobs: preview and "recover this file" may ask for the same
// file at once.
class NodeLocks {
  public:
    std::shared_ptr<std::mutex> For(const void* node) {
        std::lock_guard<std::mutex> guard(mutex_);
        std::shared_ptr<std::mutex>& lock = locks_[node];
        if (!lock) lock = std::make_shared<std::mutex>();
        return lock;
    }
    void Release(const void* node, const std::shared_ptr<std::mutex>& lock) {
        std::lock_guard<std::mutex> guard(mutex_);
        auto it = locks_.find(node);
        // Two owners: the map and the caller; nobody else waits for it.
        if (it != locks_.end() && it->second == lock && lock.use_count() == 2) locks_.erase(it);
    }

  private:
    std::mutex mutex_;
    std::map<const void*, std::shared_ptr<std::mutex>> locks_;
};

NodeLocks& Locks() {
    static NodeLocks locks;
    return locks;
}

void RunTreeJob(IFileRecoverCallback* callback, IStorageDevice* device, CFileNode* root,
                const std::string& destination, bool& value, RecoverTreeResult& result) {
    std::string destinationRoot = destination;
    if (destinationRoot.empty() || destinationRoot.back() != '/') destinationRoot += '/';
    std::error_code error;
    std::filesystem::create_directories(destinationRoot, error);
    IFileProperties* properties = root->GetProperties();
    if (!properties || properties->GetCheckState() == kUnchecked) return;
    std::string folder = destinationRoot + SafeFileName(properties->GetName());
    const bool made = CreateUniqueDirectory(folder);
    CFileRecoverWriter writer(callback, device);
    result.outcome = writer.RecoverFolder(destinationRoot, root, made ? &folder : nullptr);
    result.folder = made ? folder : destinationRoot;
    result.outOfSpaceFile = writer.OutOfSpaceFile();
    value = true;
}

}  // namespace

bool RecoverTree(IFileRecoverCallback* callback, IStorageDevice* device, CFileNode* root,
                 const std::string& destination, RecoverTreeResult* result) {
    if (!device || !root) return false;
    RecoverTreeResult local;
    RecoverTreeResult& out = result ? *result : local;
    out = {};
    bool value = false;
    platform::RunWorker([&] { RunTreeJob(callback, device, root, destination, value, out); });
    return value;
}

bool RecoverSingleFile(IFileRecoverCallback* callback, IStorageDevice* device, CFileNode* node,
                       const std::string& path, bool onThread) {
    if (!device || !node) return false;
    int outcome = kOutcomeFailure;
    auto job = [&] {
        const std::shared_ptr<std::mutex> lock = Locks().For(node);
        {
            std::lock_guard<std::mutex> guard(*lock);
            CFileRecoverWriter writer(callback, device);
            outcome = writer.RecoverFile(node, path);
        }
        Locks().Release(node, lock);
    };
    if (onThread) {
        platform::RunWorker(job);
    } else {
        job();
    }
    return outcome == kOutcomeSuccess;
}

}  // namespace keldrin::output
