#include "engine/model/NTFSFileProperties.h"

#include <algorithm>
#include <limits>
#include <memory>

#include "engine/model/SmallBlockPool.h"

namespace keldrin {

// The vtable pointer, five 64-bit values and 13 bytes of small fields.
static_assert(sizeof(CNTFSFileProperties) == 64, "the fixed part of every NTFS file must stay 64 bytes");
static_assert(alignof(CNTFSFileProperties) <= SmallBlockPool::kGranule);
static_assert(sizeof(CNTFSFileProperties) % alignof(NTFSExtensionRecord) == 0);

std::unique_ptr<CNTFSFileProperties> CNTFSFileProperties::InitFromRecord(const NTFSPropertiesRecord& record) {
    constexpr size_t kMax16 = std::numeric_limits<uint16_t>::max();
    if (record.name.size() > kMax16 || record.extensionRecords.size() > kMax16) return nullptr;
    const StoredRunList& runs = record.storedRuns;
    const size_t bytes = BlockSize(record.extensionRecords.size(), record.name.size(), runs.GetSize());
    void* block = TreePool().Allocate(bytes);
    if (!block) return nullptr;

    std::unique_ptr<CNTFSFileProperties> properties(::new (block) CNTFSFileProperties(record));
    uint8_t* tail = properties->Tail();
    std::uninitialized_copy(record.extensionRecords.begin(), record.extensionRecords.end(),
                            reinterpret_cast<NTFSExtensionRecord*>(tail));
    char* name = reinterpret_cast<char*>(tail + record.extensionRecords.size() * sizeof(NTFSExtensionRecord));
    std::copy(record.name.begin(), record.name.end(), name);
    name[record.name.size()] = '\0';
    std::copy_n(runs.GetBytes(), runs.GetSize(), reinterpret_cast<uint8_t*>(name) + record.name.size() + 1);
    return properties;
}

CNTFSFileProperties::CNTFSFileProperties(const NTFSPropertiesRecord& record)
    : size_(record.size),
      creationTime_(record.creationTime),
      modificationTime_(record.modificationTime),
      accessTime_(record.accessTime),
      recordSector_(record.recordSector),
      runBytes_(record.storedRuns.GetSize()),
      nameLength_(static_cast<uint16_t>(record.name.size())),
      attributes_(record.attributes),
      residentOffset_(record.storedRuns.IsEmpty() ? 0 : record.storedRuns.GetResidentOffset()),
      extensionCount_(static_cast<uint16_t>(record.extensionRecords.size())),
      state_(record.state),
      checkState_(record.checkState),
      mark_(record.mark) {}

void CNTFSFileProperties::operator delete(CNTFSFileProperties* properties, std::destroying_delete_t) {
    const size_t bytes =
        BlockSize(properties->extensionCount_, properties->nameLength_, properties->runBytes_);
    properties->~CNTFSFileProperties();
    TreePool().Free(properties, bytes);
}

size_t CNTFSFileProperties::BlockSize(size_t extensions, size_t nameLength, size_t runBytes) {
    return sizeof(CNTFSFileProperties) + extensions * sizeof(NTFSExtensionRecord) + nameLength + 1 + runBytes;
}

const char* CNTFSFileProperties::GetName() const {
    return reinterpret_cast<const char*>(Tail() + extensionCount_ * sizeof(NTFSExtensionRecord));
}

const uint8_t* CNTFSFileProperties::GetStoredRunBytes() const {
    if (runBytes_ == 0) return nullptr;
    return reinterpret_cast<const uint8_t*>(GetName()) + nameLength_ + 1;
}

std::span<const NTFSExtensionRecord> CNTFSFileProperties::GetExtensionRecords() const {
    return {reinterpret_cast<const NTFSExtensionRecord*>(Tail()), extensionCount_};
}

std::unique_ptr<IDataRunList> CNTFSFileProperties::GetDataRunList() const {
    return DecodeStoredRuns(GetStoredRunBytes(), runBytes_, residentOffset_);
}

uint32_t CNTFSFileProperties::SetMark(uint32_t value) {
    const uint32_t previous = mark_;
    mark_ = static_cast<uint8_t>(value);
    return previous;
}

}  // namespace keldrin
