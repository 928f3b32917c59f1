// The properties of RAW files and of the folders of the "Raw Files" branch: a name, a size and one
// extent; no times.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "engine/model/FileProperties.h"
#include "engine/model/StoredRunList.h"

namespace keldrin {

class CRAWFileProperties final : public IFileProperties {
  public:
    // A file of size bytes starting at startSector.
    static std::unique_ptr<CRAWFileProperties> MakeFile(std::string_view name, int64_t startSector,
                                                        uint64_t size);
    // A folder of the RAW branch (folder attribute, the RAW folder state, no extent).
    static std::unique_ptr<CRAWFileProperties> MakeFolder(std::string_view name);

    // Cut to 254 bytes on a character boundary; "UnkownName" when no memory is left.
    void SetName(std::string_view name);

    uint32_t GetNameLength() const override { return nameLength_ ? nameLength_ - 1u : 0u; }
    const char* GetName() const override { return name_ ? name_.get() : ""; }
    uint64_t GetFileSize() const override { return size_; }
    uint16_t GetAttributes() const override { return attributes_; }
    uint64_t GetCreationTime() const override { return 0; }
    uint64_t GetModificationTime() const override { return 0; }
    uint64_t GetAccessTime() const override { return 0; }
    uint8_t GetState() const override { return state_; }
    uint8_t GetCheckState() const override { return checkState_; }
    void SetCheckState(uint8_t state) override { checkState_ = state; }
    // A CRAWDataRunList; null without a stored extent (the folders).
    std::unique_ptr<IDataRunList> GetDataRunList() const override;
    uint32_t GetTypeCode() const override { return kTypeCodeRaw; }
    uint32_t GetMark() const override { return mark_; }
    uint32_t SetMark(uint32_t value) override;
    int GetPropertiesKind() const override { return kPropertiesRaw; }

  private:
    uint8_t nameLength_ = 0;  // with the terminating zero
    std::unique_ptr<char[]> name_;
    uint64_t size_ = 0;
    uint16_t attributes_ = 0;
    uint8_t checkState_ = 0;
    uint32_t mark_ = 0;
    uint8_t state_ = 0;
    StoredRunList runs_;
};

}  // namespace keldrin
