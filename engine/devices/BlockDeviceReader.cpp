#include "engine/devices/RawReader.h"
#include "platform/BlockDevice.h"

namespace keldrin {
namespace {

class CBlockDeviceReader final : public IRawReader {
  public:
    bool Open(const std::string& path) override { return device_.Open(path); }
    void Close() override { device_.Close(); }
    bool IsOpen() const override { return device_.IsOpen(); }

    int64_t ReadAt(void* buffer, int64_t size, int64_t offset) override {
        if (size < 0) return -1;
        return device_.ReadAt(buffer, static_cast<size_t>(size), offset);
    }

    int64_t SizeBytes() override { return device_.SizeBytes(); }
    int FileDescriptor() const override { return device_.IsBlockDevice() ? -1 : device_.Descriptor(); }

    bool GetGeometry(DiskGeometry& geometry) override {
        platform::BlockGeometry g;
        if (!device_.GetGeometry(g)) return false;
        geometry.cylinders = g.cylinders;
        // The handle does not tell removable media apart; every device reports fixed media.
        geometry.mediaType = kMediaFixed;
        geometry.tracksPerCylinder = g.heads;
        geometry.sectorsPerTrack = g.sectorsPerTrack;
        geometry.bytesPerSector = g.bytesPerSector;
        return true;
    }

  private:
    platform::BlockDevice device_;
};

}  // namespace

std::unique_ptr<IRawReader> MakeBlockDeviceReader() {
    return std::make_unique<CBlockDeviceReader>();
}

}  // namespace keldrin
