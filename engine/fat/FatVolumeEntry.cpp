#include "engine/fat/FatVolumeEntry.h"

namespace keldrin::fat {
namespace {

class NoFatVolume final : public IVolume {
  public:
    int GetFileSystemType() override { return kFsUnknown; }
    int64_t GetTotalSectors() override { return 0; }
    void GetVolumeLabel(char* buffer, size_t size) override {
        if (buffer && size) buffer[0] = '\0';
    }
};

}  // namespace

std::unique_ptr<IVolume> AnalyzeFatVolume(IStorageDevice*, int64_t) {
    return std::make_unique<NoFatVolume>();
}

CFileSystemNode* BuildFatVolumeTree(IStorageDevice*, int64_t, bool, IDIRBuildCallback*) {
    return nullptr;
}

}  // namespace keldrin::fat
