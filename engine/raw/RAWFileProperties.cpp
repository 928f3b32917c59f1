#include "engine/raw/RAWFileProperties.h"

#include <cstring>
#include <new>
#include <vector>

#include "engine/devices/StorageDevice.h"
#include "engine/model/Extent.h"
#include "engine/raw/RAWDataRunList.h"

namespace keldrin {
namespace {

constexpr size_t kMaxNameBytes = 254;

size_t CutOnCharacter(std::string_view name, size_t limit) {
    if (name.size() <= limit) return name.size();
    size_t n = limit;
    while (n > 0 && (static_cast<unsigned char>(name[n]) & 0xC0) == 0x80) --n;
    return n;
}

}  // namespace

std::unique_ptr<CRAWFileProperties> CRAWFileProperties::MakeFile(std::string_view name, int64_t startSector,
                                                                 uint64_t size) {
    auto p = std::unique_ptr<CRAWFileProperties>(new (std::nothrow) CRAWFileProperties);
    if (!p) return nullptr;
    p->SetName(name);
    p->size_ = size;
    p->attributes_ = kAttrArchive;
    const uint64_t sectors = size / kSectorSize + (size % kSectorSize != 0 ? 1 : 0);
    if (startSector >= 0 && sectors > 0)
        p->runs_ = StoredRunList::FromExtents({Extent{static_cast<uint64_t>(startSector), sectors}});
    return p;
}

std::unique_ptr<CRAWFileProperties> CRAWFileProperties::MakeFolder(std::string_view name) {
    auto p = std::unique_ptr<CRAWFileProperties>(new (std::nothrow) CRAWFileProperties);
    if (!p) return nullptr;
    p->SetName(name);
    p->attributes_ = kAttrFolder;
    p->state_ = kStateRawFolder;
    return p;
}

void CRAWFileProperties::SetName(std::string_view name) {
    const size_t n = CutOnCharacter(name, kMaxNameBytes);
    std::unique_ptr<char[]> bytes(new (std::nothrow) char[n + 1]);
    if (!bytes) {
        constexpr std::string_view kFallback = "UnkownName";
        bytes.reset(new (std::nothrow) char[260]);
        if (!bytes) {
            name_.reset();
            nameLength_ = 0;
            return;
        }
        std::memcpy(bytes.get(), kFallback.data(), kFallback.size());
        bytes[kFallback.size()] = '\0';
        name_ = std::move(bytes);
        nameLength_ = static_cast<uint8_t>(kFallback.size() + 1);
        return;
    }
    std::memcpy(bytes.get(), name.data(), n);
    bytes[n] = '\0';
    name_ = std::move(bytes);
    nameLength_ = static_cast<uint8_t>(n + 1);
}

std::unique_ptr<IDataRunList> CRAWFileProperties::GetDataRunList() const {
    if (runs_.IsEmpty()) return nullptr;
    std::vector<Extent> extents;
    DecodeMappingPairs(runs_.GetBytes(), runs_.GetSize(), extents);
    auto list = std::make_unique<CRAWDataRunList>();
    for (const Extent& e : extents) list->AddRun(e);
    return list;
}

uint32_t CRAWFileProperties::SetMark(uint32_t value) {
    const uint32_t old = mark_;
    mark_ = value;
    return old;
}

}  // namespace keldrin
