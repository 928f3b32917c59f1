// Which clusters the files of a built tree cover, asked by sector.
#pragma once

#include <cstdint>
#include <vector>

namespace keldrin::fat {

class IIsClusterUsed {
  public:
    virtual ~IIsClusterUsed() = default;
    virtual bool IsClusterUsed(int64_t sector) const = 0;
};

// The bit vector (index = cluster - 2) belongs to the tree builder and must outlive the map.
class CClusterUseBitMap final : public IIsClusterUsed {
  public:
    CClusterUseBitMap(const std::vector<bool>* bits, int64_t dataStart, uint8_t sectorsPerCluster,
                      uint64_t clusterCount)
        : bits_(bits),
          dataStart_(dataStart),
          sectorsPerCluster_(sectorsPerCluster),
          clusterCount_(clusterCount) {}

    // Sectors before the data area and past the last cluster count as used.
    bool IsClusterUsed(int64_t sector) const override;

  private:
    const std::vector<bool>* bits_;
    int64_t dataStart_;
    uint8_t sectorsPerCluster_;
    uint64_t clusterCount_;
};

}  // namespace keldrin::fat
