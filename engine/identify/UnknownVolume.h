// The answer for a volume that no analyser recognises.
#pragma once

#include "engine/devices/Volume.h"

namespace keldrin {

class UnknownVolume final : public IVolume {
  public:
    int GetFileSystemType() override { return kFsUnknown; }
    int64_t GetTotalSectors() override { return 0; }
    void GetVolumeLabel(char* buffer, size_t size) override {
        if (buffer && size) buffer[0] = '\0';
    }
};

}  // namespace keldrin
