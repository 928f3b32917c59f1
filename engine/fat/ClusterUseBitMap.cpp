#include "engine/fat/ClusterUseBitMap.h"

namespace keldrin::fat {

bool CClusterUseBitMap::IsClusterUsed(int64_t sector) const {
    if (sector < dataStart_ || sectorsPerCluster_ == 0 || !bits_) return true;
    const uint64_t index = static_cast<uint64_t>(sector - dataStart_) / sectorsPerCluster_;
    if (index >= clusterCount_ || index >= bits_->size()) return true;
    return (*bits_)[index];
}

}  // namespace keldrin::fat
