// The properties of a file or folder found in an MFT record.
#pragma once

#include <cstdint>
#include <memory>
#include <new>
#include <span>
#include <string_view>
#include <vector>

#include "engine/model/FileProperties.h"
#include "engine/model/StoredRunList.h"

namespace keldrin {

// One extension record of a file: where it is and its number in the MFT.
struct NTFSExtensionRecord {
    int64_t sector = 0;
    uint64_t recordNumber = 0;
    friend bool operator==(const NTFSExtensionRecord&, const NTFSExtensionRecord&) = default;
};

// What a reader gathers about one file before making its properties.
struct NTFSPropertiesRecord {
    std::string_view name;  // UTF-8; copied, need not outlive InitFromRecord
    uint64_t size = 0;
    uint16_t attributes = 0;
    uint64_t creationTime = 0;
    uint64_t modificationTime = 0;
    uint64_t accessTime = 0;
    uint8_t state = 0;
    uint8_t checkState = 0;
    uint8_t mark = 0;
    int64_t recordSector = 0;  // the sector of the MFT record the file came from
    StoredRunList storedRuns;  // empty for folders and files without data
    std::vector<NTFSExtensionRecord> extensionRecords;
};

// Trees hold millions of these, so each is one block of the tree pool: the fixed fields, then the
// extension records, the name with its zero and the stored extents, each exactly as long as it
// needs. That is why they are made only by InitFromRecord and cannot be copied.
class CNTFSFileProperties final : public IFileProperties {
  public:
    // Null when memory runs out or a field does not fit: a name over 65535 bytes or over 65535
    // extension records (an attribute list names far fewer).
    static std::unique_ptr<CNTFSFileProperties> InitFromRecord(const NTFSPropertiesRecord& record);

    CNTFSFileProperties(const CNTFSFileProperties&) = delete;
    CNTFSFileProperties& operator=(const CNTFSFileProperties&) = delete;
    ~CNTFSFileProperties() override = default;

    // Gives the block back to the pool; its size is known only from the object itself.
    void operator delete(CNTFSFileProperties* properties, std::destroying_delete_t);

    uint32_t GetNameLength() const override { return nameLength_; }
    const char* GetName() const override;
    uint64_t GetFileSize() const override { return size_; }
    uint16_t GetAttributes() const override { return attributes_; }
    uint64_t GetCreationTime() const override { return creationTime_; }
    uint64_t GetModificationTime() const override { return modificationTime_; }
    uint64_t GetAccessTime() const override { return accessTime_; }
    uint8_t GetState() const override { return state_; }
    uint8_t GetCheckState() const override { return checkState_; }
    void SetCheckState(uint8_t state) override { checkState_ = state; }
    std::unique_ptr<IDataRunList> GetDataRunList() const override;
    uint32_t GetTypeCode() const override { return kTypeCodeFileSystem; }
    uint32_t GetMark() const override { return mark_; }
    // Keeps the low 8 bits; returns the previous mark.
    uint32_t SetMark(uint32_t value) override;
    int GetPropertiesKind() const override { return kPropertiesNtfs; }

    // The reader corrects sizes that the name records got wrong.
    void SetFileSize(uint64_t size) { size_ = size; }
    int64_t GetRecordSector() const { return recordSector_; }
    std::span<const NTFSExtensionRecord> GetExtensionRecords() const;

    // The stored extents as kept (no bytes: no stored form).
    const uint8_t* GetStoredRunBytes() const;
    uint32_t GetStoredRunSize() const { return runBytes_; }
    uint16_t GetResidentOffset() const { return residentOffset_; }

  private:
    explicit CNTFSFileProperties(const NTFSPropertiesRecord& record);
    static size_t BlockSize(size_t extensions, size_t nameLength, size_t runBytes);
    const uint8_t* Tail() const { return reinterpret_cast<const uint8_t*>(this) + sizeof(*this); }
    uint8_t* Tail() { return reinterpret_cast<uint8_t*>(this) + sizeof(*this); }

    // Widest first, so the fixed part has no padding before the tail.
    uint64_t size_;
    uint64_t creationTime_;
    uint64_t modificationTime_;
    uint64_t accessTime_;
    int64_t recordSector_;
    uint32_t runBytes_;
    uint16_t nameLength_;
    uint16_t attributes_;
    uint16_t residentOffset_;
    uint16_t extensionCount_;
    uint8_t state_;
    uint8_t checkState_;
    uint8_t mark_;
};

}  // namespace keldrin
