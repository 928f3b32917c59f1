#include "engine/ext2/Ext2FileProperties.h"

#include <new>

#include "engine/ext2/Ext2DataRunList.h"
#include "engine/model/FileTime.h"
#include "engine/model/SmallBlockPool.h"

namespace keldrin::ext2 {

void* CExt2FileProperties::operator new(size_t size) {
    void* block = TreePool().Allocate(size);
    if (!block) throw std::bad_alloc();
    return block;
}

void CExt2FileProperties::operator delete(void* block, size_t size) noexcept {
    if (block) TreePool().Free(block, size);
}

std::unique_ptr<IDataRunList> CExt2FileProperties::GetDataRunList() const {
    std::unique_ptr<IDataRunList> decoded = runs_.GetDataRunList();
    if (!decoded) return nullptr;
    auto list = std::make_unique<CExt2DataRunList>();
    for (const Extent& e : decoded->GetExtents()) list->AddRun(e);
    return list;
}

uint64_t Ext2TimeToFileTime(uint32_t seconds) {
    // The on-disk field is signed; times before 1970 count as none.
    const auto value = static_cast<int32_t>(seconds);
    if (value <= 0) return 0;
    return kFileTimeUnixEpoch + static_cast<uint64_t>(value) * kFileTimeTicksPerSecond;
}

}  // namespace keldrin::ext2
