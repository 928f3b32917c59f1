#include "engine/ext2/Ext2VolumeEntry.h"

namespace keldrin::ext2 {
namespace {

class NoExt2Volume final : public IVolume {
  public:
    int GetFileSystemType() override { return kFsUnknown; }
    int64_t GetTotalSectors() override { return 0; }
    void GetVolumeLabel(char* buffer, size_t size) override {
        if (buffer && size) buffer[0] = '\0';
    }
};

}  // namespace

std::unique_ptr<IVolume> AnalyzeExt2Volume(IStorageDevice*, int64_t) {
    return std::make_unique<NoExt2Volume>();
}

CFileSystemNode* BuildExt2VolumeTree(IStorageDevice*, int64_t, IDIRBuildCallback*) {
    return nullptr;
}

}  // namespace keldrin::ext2
