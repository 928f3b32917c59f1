// The properties of folders the program makes itself: the top "Root" and the folders that the
// controllers add. There are few of them, so they keep one fixed record.
#pragma once

#include <cstdint>
#include <string_view>

#include "engine/model/FileProperties.h"

namespace keldrin {

struct MyFileRecord {
    static constexpr size_t kNameCapacity = 260;  // bytes, with the terminating zero

    char name[kNameCapacity] = {};
    uint32_t nameLength = 0;
    uint64_t size = 0;
    uint16_t attributes = 0;
    uint64_t creationTime = 0;
    uint64_t modificationTime = 0;
    uint64_t accessTime = 0;
    uint16_t state = 0;
    uint8_t checkState = 0;
    uint32_t mark = 0;
    uint32_t typeCode = 0;

    // Sets name and nameLength, cut to 259 bytes on a character boundary.
    void SetName(std::string_view text);
};

class CMyFileProperties final : public IFileProperties {
  public:
    CMyFileProperties() = default;
    explicit CMyFileProperties(const MyFileRecord& record) { SetRecord(record); }

    // Copies the record in whole; a name without its zero within the buffer is cut.
    void SetRecord(const MyFileRecord& record);
    const MyFileRecord& GetRecord() const { return record_; }
    void SetName(std::string_view text) { record_.SetName(text); }

    uint32_t GetNameLength() const override { return record_.nameLength; }
    const char* GetName() const override { return record_.name; }
    uint64_t GetFileSize() const override { return record_.size; }
    uint16_t GetAttributes() const override { return record_.attributes; }
    uint64_t GetCreationTime() const override { return record_.creationTime; }
    uint64_t GetModificationTime() const override { return record_.modificationTime; }
    uint64_t GetAccessTime() const override { return record_.accessTime; }
    uint8_t GetState() const override { return static_cast<uint8_t>(record_.state); }
    uint8_t GetCheckState() const override { return record_.checkState; }
    void SetCheckState(uint8_t state) override { record_.checkState = state; }
    // These folders have no data.
    std::unique_ptr<IDataRunList> GetDataRunList() const override { return nullptr; }
    uint32_t GetTypeCode() const override { return record_.typeCode; }
    uint32_t GetMark() const override { return record_.mark; }
    uint32_t SetMark(uint32_t value) override;
    int GetPropertiesKind() const override { return kPropertiesMy; }

  private:
    MyFileRecord record_;
};

}  // namespace keldrin
