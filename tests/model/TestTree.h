// Small trees for the model tests, with properties that count how many of them are alive.
#pragma once

#include <cstdint>
#include <memory>

#include "engine/model/FileNode.h"
#include "engine/model/FileProperties.h"
#include "engine/model/FileSystemNode.h"
#include "engine/model/FileTree.h"

namespace keldrin::test {

class CountedProperties final : public IFileProperties {
  public:
    static inline int alive = 0;

    CountedProperties(uint16_t attributes, uint64_t size, uint8_t check)
        : attributes_(attributes), size_(size), check_(check) {
        ++alive;
    }
    ~CountedProperties() override { --alive; }

    uint32_t GetNameLength() const override { return 1; }
    const char* GetName() const override { return "f"; }
    uint64_t GetFileSize() const override { return size_; }
    uint16_t GetAttributes() const override { return attributes_; }
    uint64_t GetCreationTime() const override { return 0; }
    uint64_t GetModificationTime() const override { return 0; }
    uint64_t GetAccessTime() const override { return 0; }
    uint8_t GetState() const override { return 0; }
    uint8_t GetCheckState() const override { return check_; }
    void SetCheckState(uint8_t state) override { check_ = state; }
    std::unique_ptr<IDataRunList> GetDataRunList() const override { return nullptr; }
    uint32_t GetTypeCode() const override { return kTypeCodeFileSystem; }
    uint32_t GetMark() const override { return 0; }
    uint32_t SetMark(uint32_t) override { return 0; }
    int GetPropertiesKind() const override { return kPropertiesFat; }

  private:
    uint16_t attributes_;
    uint64_t size_;
    uint8_t check_;
};

inline CFileNode* AddNode(CFileNode* parent, CFileNode* node, uint16_t attributes, uint64_t size,
                          uint8_t check) {
    node->SetProperties(new CountedProperties(attributes, size, check));
    if (parent) parent->AddChild(node);
    return node;
}

inline CFileNode* AddFile(CFileNode* parent, uint64_t size, uint8_t check = kUnchecked,
                          uint16_t attributes = 0) {
    return AddNode(parent, CreateFileNode(), attributes, size, check);
}

inline CFileNode* AddFolder(CFileNode* parent, uint8_t check = kUnchecked) {
    return AddNode(parent, CreateFileNode(), kAttrFolder, 0, check);
}

inline CFileSystemNode* AddVolume(CFileNode* parent, int type = kFsNtfs) {
    CFileSystemNode* volume = CreateFileSystemNode();
    volume->SetFileSystemType(type);
    AddNode(parent, volume, kAttrFolder, 0, kUnchecked);
    return volume;
}

inline uint8_t CheckOf(const CFileNode* node) {
    return node->GetProperties()->GetCheckState();
}

}  // namespace keldrin::test
