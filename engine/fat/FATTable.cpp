#include "engine/fat/FATTable.h"

#include <algorithm>
#include <new>
#include <utility>

#include "engine/devices/Volume.h"
#include "engine/fat/FatBytes.h"

namespace keldrin::fat {
namespace {

constexpr uint32_t kFat16Reserved = 0xFFF6;
constexpr uint32_t kFat32Reserved = 0x0FFFFFF6;

uint32_t Stored16(const uint8_t* buffer, uint32_t n) {
    return Le16(buffer + size_t{n} * 2);
}
uint32_t Stored32(const uint8_t* buffer, uint32_t n) {
    return Le32(buffer + size_t{n} * 4);
}

}  // namespace

IRealFATTable::IRealFATTable(IStorageDevice* device, int64_t firstSector, uint32_t sectors,
                             uint32_t entriesPerSector)
    : device_(device),
      firstSector_(firstSector),
      sectors_(sectors),
      entryCount_(
          static_cast<uint32_t>(std::min<uint64_t>(uint64_t{sectors} * entriesPerSector, UINT32_MAX))) {}

bool IRealFATTable::Load(uint32_t minSectors, uint32_t maxSectors) {
    buffer_.clear();
    if (sectors_ < minSectors || sectors_ > maxSectors) return false;
    try {
        buffer_.assign(size_t{sectors_} * kSectorSize, 0);
    } catch (const std::bad_alloc&) {
        buffer_.clear();
        return false;
    }
    if (device_) device_->ReadSectors(buffer_.data(), firstSector_, sectors_);
    return true;
}

void IRealFATTable::SetBytes(std::vector<uint8_t> bytes) {
    bytes.resize(size_t{sectors_} * kSectorSize, 0);
    buffer_ = std::move(bytes);
}

bool IRealFATTable::EntryTest(uint32_t endLimit, uint32_t (*stored)(const uint8_t*, uint32_t)) const {
    const uint8_t* data = buffer_.data();
    for (uint32_t n = 2; n < entryCount_; ++n) {
        const uint32_t v = stored(data, n);
        if ((v >= entryCount_ && v <= endLimit) || v == 1 || v == n) return false;
    }
    return true;
}

bool IRealFATTable::ChainTest(uint32_t endLimit, uint32_t (*stored)(const uint8_t*, uint32_t)) const {
    const uint32_t count = entryCount_;
    if (count < 3) return true;
    // The predecessor of every cluster reached so far, and the walk that reached it: a walk that
    // meets a cluster of its own has looped, one that meets an earlier walk's cluster through the
    // same predecessor has joined a chain already checked and can stop.
    std::vector<uint32_t> predecessor;
    std::vector<uint32_t> walkOf;
    try {
        predecessor.assign(count, 0);
        walkOf.assign(count, 0);
    } catch (const std::bad_alloc&) {
        return false;
    }
    const uint8_t* data = buffer_.data();
    uint32_t walk = 0;
    for (uint32_t n = 2; n < count; ++n) {
        if (predecessor[n] != 0) continue;
        ++walk;
        walkOf[n] = walk;
        uint32_t cur = n;
        uint32_t steps = 0;
        while (steps < count) {
            const uint32_t next = stored(data, cur);
            if (next < 2 || next > endLimit || next >= count) break;
            if (walkOf[next] == walk) return false;  // a loop
            if (predecessor[next] == 0) {
                predecessor[next] = cur;
            } else if (predecessor[next] != cur) {
                return false;  // two clusters lead to this one
            } else {
                break;  // the rest of this chain was walked before
            }
            walkOf[next] = walk;
            ++steps;
            cur = next;
        }
        if (steps >= count - 2) return false;
    }
    return true;
}

uint32_t CFAT12Table::GetEntry(uint32_t n) const {
    const uint64_t offset = uint64_t{n} * 3 / 2;
    if (buffer_.empty() || offset + 1 >= buffer_.size()) return 0;
    const uint16_t word = Le16(buffer_.data() + offset);
    const uint32_t v = (n & 1) ? (word >> 4) : (word & 0x0FFF);
    if (v == 0xFFF) return kEndOfChainAllOnes;
    if (v >= 0xFF8) return kEndOfChain;
    return v;
}

bool CFAT12Table::Validate() const {
    return buffer_.size() >= 4 && (Le32(buffer_.data()) & 0x00FFFFF0) == 0x00FFFFF0;
}

uint32_t CFAT16Table::GetEntry(uint32_t n) const {
    if (buffer_.empty() || n / 256 >= sectors_) return 0;
    const uint32_t v = Stored16(buffer_.data(), n);
    if (v == 0xFFFF) return kEndOfChainAllOnes;
    if (v >= 0xFFF8) return kEndOfChain;
    return v;
}

bool CFAT16Table::Validate() const {
    if (buffer_.size() < 4 || Le32(buffer_.data()) != 0xFFFFFFF8) return false;
    return EntryTest(kFat16Reserved, Stored16) && ChainTest(kFat16Reserved, Stored16);
}

uint32_t CFAT32Table::GetEntry(uint32_t n) const {
    if (buffer_.empty() || n / 128 >= sectors_) return 0;
    return Stored32(buffer_.data(), n);
}

bool CFAT32Table::Validate() const {
    if (buffer_.size() < 8) return false;
    if ((Le32(buffer_.data()) & 0x0FFFFFFF) != 0x0FFFFFF8) return false;
    if ((Le32(buffer_.data() + 4) & 0x0FFFFFF8) != 0x0FFFFFF8) return false;
    return EntryTest(kFat32Reserved, Stored32) && ChainTest(kFat32Reserved, Stored32);
}

CDoubleFATTable::CDoubleFATTable(std::unique_ptr<IRealFATTable> first, std::unique_ptr<IRealFATTable> second)
    : first_(std::move(first)), second_(std::move(second)) {}

uint32_t CDoubleFATTable::EntryLimit() const {
    if (first_) return first_->EntryLimit();
    if (second_) return second_->EntryLimit();
    return 0;
}

uint32_t CDoubleFATTable::GetEntry(uint32_t n) const {
    if (first_) return first_->GetEntry(n);
    if (second_) return second_->GetEntry(n);
    return 0;
}

namespace {

template <class Table>
std::unique_ptr<IRealFATTable> LoadCopy(IStorageDevice* device, int64_t firstSector, uint32_t sectors) {
    auto table = std::make_unique<Table>(device, firstSector, sectors);
    if (!table->Load(Table::kMinSectors, Table::kMaxSectors)) return nullptr;
    if (!table->Validate()) return nullptr;
    return table;
}

}  // namespace

std::unique_ptr<IRealFATTable> LoadFATCopy(IStorageDevice* device, int64_t firstSector, int type,
                                           uint32_t sectorsPerFAT) {
    switch (type) {
        case kFsFat12:
            return LoadCopy<CFAT12Table>(device, firstSector, sectorsPerFAT);
        case kFsFat16:
            return LoadCopy<CFAT16Table>(device, firstSector, sectorsPerFAT);
        case kFsFat32:
            return LoadCopy<CFAT32Table>(device, firstSector, sectorsPerFAT);
        default:
            return nullptr;
    }
}

std::unique_ptr<CDoubleFATTable> CreateFATTable(IStorageDevice* device, int64_t fatStartSector, int type,
                                                uint32_t sectorsPerFAT, bool useFirst, bool useSecond) {
    std::unique_ptr<IRealFATTable> first;
    std::unique_ptr<IRealFATTable> second;
    if (useFirst) first = LoadFATCopy(device, fatStartSector, type, sectorsPerFAT);
    if (useSecond && !first)
        second = LoadFATCopy(device, fatStartSector + sectorsPerFAT, type, sectorsPerFAT);
    return std::make_unique<CDoubleFATTable>(std::move(first), std::move(second));
}

}  // namespace keldrin::fat
