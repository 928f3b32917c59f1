// Files with chosen names, sizes, times and states, for the filter and search tests.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/model/FileNode.h"
#include "engine/model/FileTree.h"
#include "engine/model/MyFileProperties.h"

namespace keldrin::test {

struct FileFields {
    std::string_view name = "f";
    uint16_t attributes = 0;
    uint64_t size = 0;
    uint8_t state = 0;
    uint32_t typeCode = kTypeCodeFileSystem;
    uint64_t created = 0;
    uint64_t modified = 0;
    uint64_t accessed = 0;
};

inline MyFileRecord RecordOf(const FileFields& fields) {
    MyFileRecord record;
    record.SetName(fields.name);
    record.attributes = fields.attributes;
    record.size = fields.size;
    record.state = fields.state;
    record.typeCode = fields.typeCode;
    record.creationTime = fields.created;
    record.modificationTime = fields.modified;
    record.accessTime = fields.accessed;
    return record;
}

// Added as the parent's first child, like every AddChild.
inline CFileNode* AddFields(CFileNode* parent, const FileFields& fields) {
    CFileNode* node = CreateFileNode();
    node->SetProperties(new CMyFileProperties(RecordOf(fields)));
    if (parent) parent->AddChild(node);
    return node;
}

inline CFileNode* AddNamedFile(CFileNode* parent, std::string_view name, uint8_t state = 0) {
    return AddFields(parent, {.name = name, .state = state});
}

inline CFileNode* AddNamedFolder(CFileNode* parent, std::string_view name) {
    return AddFields(parent, {.name = name, .attributes = kAttrFolder});
}

inline std::string NameOf(const CFileNode* node) {
    return node && node->GetProperties() ? node->GetProperties()->GetName() : "(none)";
}

// The children's names in list order.
inline std::vector<std::string> ChildNames(const CFileNode* node) {
    std::vector<std::string> names;
    for (const CFileNode* c = node->GetFirstChild(); c; c = c->GetNextSibling()) names.push_back(NameOf(c));
    return names;
}

inline std::vector<std::string> NamesOf(const std::vector<CFileNode*>& nodes) {
    std::vector<std::string> names;
    for (const CFileNode* n : nodes) names.push_back(NameOf(n));
    return names;
}

}  // namespace keldrin::test
