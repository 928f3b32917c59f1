#include "ui/controller/FileCells.h"

#include <algorithm>
#include <cstring>

#include "engine/devices/Volume.h"
#include "engine/fat/FATFileProperties.h"
#include "engine/model/FileTime.h"
#include "engine/model/NTFSFileProperties.h"
#include "ui/controller/Format.h"

namespace keldrin::ui {
namespace {

constexpr const char* kTitles[kFileListColumnCount] = {
    "File Name", "File Size", "File Type", "Modification Time", "Creation Time", "Last Access Time"};
constexpr int kWidths[kFileListColumnCount] = {180, 100, 90, 140, 140, 140};

const char* Extension(const char* name) {
    const char* dot = std::strrchr(name, '.');
    return dot ? dot + 1 : "";
}

// Byte order with ASCII letters folded, so "a.txt" and "B.txt" sort as a reader expects.
int CompareNames(const char* a, const char* b) {
    for (;; ++a, ++b) {
        unsigned char x = static_cast<unsigned char>(*a), y = static_cast<unsigned char>(*b);
        if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x + 32);
        if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y + 32);
        if (x != y || x == 0) return x < y ? -1 : x > y ? 1 : 0;
    }
}

template <class T>
int Compare(T a, T b) {
    return a < b ? -1 : a > b ? 1 : 0;
}

std::string Number(int64_t value) {
    return std::to_string(value);
}

const char* YesNo(bool value) {
    return value ? "Yes" : "No";
}

void AddStateRows(std::vector<PropertyRow>& rows, const IFileProperties* p) {
    const uint8_t state = p->GetState();
    rows.emplace_back("Deleted", YesNo(state & kStateDeleted));
    rows.emplace_back("Lost", YesNo(state & kStateLost));
    rows.emplace_back("Cross Link", YesNo(state & kStateCrossLink));
    rows.emplace_back("Temp", YesNo(state & kStateTemp));
}

void AddLayout(std::vector<PropertyRow>& rows, const IDataRunList& runs, int64_t startShift) {
    std::string text;
    for (const Extent& e : runs.GetExtents()) {
        if (!text.empty()) text += " - ";
        text += Number(static_cast<int64_t>(e.start) + startShift) + ": " +
                Number(static_cast<int64_t>(e.length));
    }
    rows.emplace_back("Lay out", text + ".");
}

}  // namespace

const char* FileListColumnTitle(int column) {
    return column >= 0 && column < kFileListColumnCount ? kTitles[column] : "";
}

int FileListColumnWidth(int column) {
    return column >= 0 && column < kFileListColumnCount ? kWidths[column] : 0;
}

std::string FormatListTime(uint64_t fileTime) {
    if (fileTime == 0) return {};
    const CivilTime t = FileTimeToCivil(fileTime);
    return std::to_string(t.year) + "-" + std::to_string(t.month) + "-" + std::to_string(t.day) + " " +
           std::to_string(t.hour) + ":" + std::to_string(t.minute) + ":" + std::to_string(t.second);
}

std::string CellText(const IFileProperties* p, int column) {
    if (!p) return {};
    const uint32_t known = p->GetTypeCode();
    switch (column) {
        case kColumnName:
            return known & kHasName ? p->GetName() : "";
        case kColumnSize:
            // A folder's own size is its index's, which says nothing to the user.
            return known & kHasSize && !IsFolder(p) ? FormatSize(static_cast<int64_t>(p->GetFileSize())) : "";
        case kColumnType:
            return known & kHasName ? Extension(p->GetName()) : "";
        case kColumnModified:
            return known & kHasModificationTime ? FormatListTime(p->GetModificationTime()) : "";
        case kColumnCreated:
            return known & kHasCreationTime ? FormatListTime(p->GetCreationTime()) : "";
        case kColumnAccessed:
            return known & kHasAccessTime ? FormatListTime(p->GetAccessTime()) : "";
        default:
            return {};
    }
}

bool IsFolderNode(const CFileNode* node) {
    return node && (node->GetFirstChild() || IsFolder(node->GetProperties()));
}

void SortForDisplay(std::vector<CFileNode*>& nodes, int column, bool ascending) {
    // Each node's key is read once: a comparison then costs no virtual call, which matters for a
    // folder of a million files.
    struct Key {
        CFileNode* node;
        const char* name;
        const char* extension;
        uint64_t value;
        bool folder;
    };
    std::vector<Key> keys;
    keys.reserve(nodes.size());
    for (CFileNode* node : nodes) {
        const IFileProperties* p = node->GetProperties();
        Key key{node, p ? p->GetName() : "", "", 0, IsFolderNode(node)};
        if (p && column == kColumnType) key.extension = Extension(key.name);
        if (p && column == kColumnSize) key.value = p->GetFileSize();
        if (p && column == kColumnModified) key.value = p->GetModificationTime();
        if (p && column == kColumnCreated) key.value = p->GetCreationTime();
        if (p && column == kColumnAccessed) key.value = p->GetAccessTime();
        keys.push_back(key);
    }
    std::stable_sort(keys.begin(), keys.end(), [column, ascending](const Key& a, const Key& b) {
        if (a.folder != b.folder) return a.folder;
        int order =
            column == kColumnType ? CompareNames(a.extension, b.extension) : Compare(a.value, b.value);
        if (order == 0) order = CompareNames(a.name, b.name);
        if (order == 0) order = std::strcmp(a.name, b.name);
        return ascending ? order < 0 : order > 0;
    });
    for (size_t i = 0; i < keys.size(); ++i) nodes[i] = keys[i].node;
}

std::vector<CFileNode*> DisplaySubfolders(const CFileNode* node) {
    std::vector<CFileNode*> folders;
    if (!node) return folders;
    for (CFileNode* child = node->GetFirstChild(); child; child = child->GetNextSibling())
        if (IsFolderNode(child)) folders.push_back(child);
    SortForDisplay(folders, kColumnName, true);
    return folders;
}

std::vector<CFileNode*> DisplayChildren(const CFileNode* node, int column, bool ascending) {
    std::vector<CFileNode*> children;
    if (!node) return children;
    for (CFileNode* child = node->GetFirstChild(); child; child = child->GetNextSibling())
        children.push_back(child);
    SortForDisplay(children, column, ascending);
    return children;
}

std::vector<PropertyRow> PropertyRows(const CFileNode* node) {
    std::vector<PropertyRow> rows;
    const IFileProperties* p = node ? node->GetProperties() : nullptr;
    if (!p) return rows;
    const VolumeLocation location = node->GetVolumeLocation();
    const int fs = node->GetFileSystemType();
    const bool folder = IsFolder(p);
    if (node->IsFileSystemNode()) {
        rows.emplace_back("Sector Per Cluster", Number(location.sectorsPerCluster));
        rows.emplace_back("Start Sector", Number(location.firstSector));
    }
    const std::unique_ptr<IDataRunList> runs = folder ? nullptr : p->GetDataRunList();
    const int64_t spc = location.sectorsPerCluster;
    if (fs == kFsFat12 || fs == kFsFat16 || fs == kFsFat32) {
        const auto* fat = p->GetPropertiesKind() == kPropertiesFat
                              ? static_cast<const fat::CFATFileProperties*>(p)
                              : nullptr;
        const int64_t first = fat ? fat->GetFirstCluster() : 0;
        const int64_t parent = fat ? fat->GetParentCluster() : 0;
        rows.emplace_back("Name", p->GetName());
        if (folder) {
            rows.emplace_back("Sector", Number((first - 2) * spc + location.firstSector));
            rows.emplace_back("Cluster", Number(first));
            rows.emplace_back("Parent", Number(parent));
            AddStateRows(rows, p);
        } else {
            rows.emplace_back("Parent", Number(parent));
            rows.emplace_back("Parent Sector", Number((parent - 2) * spc + location.firstSector));
            AddStateRows(rows, p);
            if (runs) AddLayout(rows, *runs, 2);
        }
    } else if (fs == kFsNtfs) {
        const auto* ntfs =
            p->GetPropertiesKind() == kPropertiesNtfs ? static_cast<const CNTFSFileProperties*>(p) : nullptr;
        rows.emplace_back("Name", p->GetName());
        rows.emplace_back("Record sector", Number(ntfs ? ntfs->GetRecordSector() : 0));
        rows.emplace_back("Compressed", YesNo(p->GetAttributes() & kAttrCompressed));
        rows.emplace_back("Encrypted", YesNo(p->GetAttributes() & kAttrEncrypted));
        AddStateRows(rows, p);
        if (runs && runs->IsResident()) {
            rows.emplace_back("Resident", "Yes");
            rows.emplace_back("Size", Number(static_cast<int64_t>(p->GetFileSize())));
            rows.emplace_back("Offset", Number(runs->GetResidentOffset()));
        } else if (runs) {
            rows.emplace_back("Resident", "No");
            AddLayout(rows, *runs, 0);
        }
    } else if (fs == kFsRaw && !folder) {
        rows.emplace_back("Name", p->GetName());
        rows.emplace_back("DataAreaSector", Number(location.firstSector));
        if (runs) AddLayout(rows, *runs, 0);
    }
    return rows;
}

}  // namespace keldrin::ui
