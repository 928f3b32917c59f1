#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "engine/devices/ImageFileDevice.h"
#include "engine/identify/IdentifyVolume.h"
#include "tests/support/TestFiles.h"

namespace keldrin {
namespace {

class ZeroDevice final : public IStorageDevice {
  public:
    bool ReadSectors(void* buffer, int64_t, int64_t count) override {
        std::memset(buffer, 0, static_cast<size_t>(count) * kSectorSize);
        return true;
    }
    int64_t GetTotalSectors() override { return 1000; }
    bool Open() override { return true; }
    bool Close() override { return true; }
};

std::string Label(IVolume& volume) {
    char label[100];
    volume.GetVolumeLabel(label, sizeof label);
    return label;
}

TEST(IdentifyVolume, SampleIsNtfsWithItsLabel) {
    testing::ScopedTempDir dir;
    const auto image = testing::UnpackSample(dir.path());
    ASSERT_FALSE(image.empty());
    CImageFileDevice device(image.string());
    std::unique_ptr<IVolume> volume = IdentifyVolume(&device, 0);
    ASSERT_NE(volume, nullptr);
    EXPECT_EQ(volume->GetFileSystemType(), kFsNtfs);
    EXPECT_EQ(Label(*volume), "KeldrinSample");
    // mkntfs keeps the last sector for the backup boot sector.
    EXPECT_EQ(volume->GetTotalSectors(), device.GetTotalSectors() - 1);
}

TEST(IdentifyVolume, UnrecognisedIsNeverNull) {
    ZeroDevice zeros;
    for (IStorageDevice* device :
         {static_cast<IStorageDevice*>(&zeros), static_cast<IStorageDevice*>(nullptr)}) {
        std::unique_ptr<IVolume> volume = IdentifyVolume(device, 0);
        ASSERT_NE(volume, nullptr);
        EXPECT_EQ(volume->GetFileSystemType(), kFsUnknown);
        EXPECT_EQ(volume->GetTotalSectors(), 0);
        EXPECT_EQ(Label(*volume), "");
    }
}

}  // namespace
}  // namespace keldrin
