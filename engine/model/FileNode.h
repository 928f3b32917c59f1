// One node of a recovered-file tree: a thin link with no name or size of its own; the data of the
// file or folder is its properties.
#pragma once

#include <cstddef>
#include <cstdint>

namespace keldrin {

class IFileProperties;

// Where a volume starts on its device and its cluster size.
struct VolumeLocation {
    int64_t firstSector = 0;
    uint32_t sectorsPerCluster = 0;
    friend bool operator==(const VolumeLocation&, const VolumeLocation&) = default;
};

// Ownership: the nodes of a tree and their properties belong to the tree as a whole and are
// freed together by DeleteTree (FileTree.h). A node frees neither its properties nor its children,
// because a filtered copy of a tree shares the properties of its source. So the links below are
// raw pointers, and whoever holds the top of a tree frees it with DeleteTree.
class CFileNode {
  public:
    CFileNode() = default;
    CFileNode(const CFileNode&) = delete;
    CFileNode& operator=(const CFileNode&) = delete;
    // Frees this node only.
    virtual ~CFileNode() = default;

    virtual bool IsFileSystemNode() const { return false; }
    // Those of the nearest file-system node above; zeros when there is none.
    virtual VolumeLocation GetVolumeLocation() const;
    // That of the nearest file-system node above; kFsUnknown when there is none.
    virtual int GetFileSystemType() const;

    // Makes child the first child, so children are listed in the reverse order of insertion. A
    // child hanging elsewhere is unlinked there first. False for null or for this node itself.
    bool AddChild(CFileNode* child);
    // Unlinks this node and its subtree from the parent; the caller then holds the subtree.
    void Detach();

    CFileNode* GetParent() const { return parent_; }
    CFileNode* GetFirstChild() const { return firstChild_; }
    CFileNode* GetNextSibling() const { return nextSibling_; }
    IFileProperties* GetProperties() const { return properties_; }
    void SetProperties(IFileProperties* properties) { properties_ = properties; }
    void* GetBuilderRecord() const { return builderRecord_; }
    void SetBuilderRecord(void* record) { builderRecord_ = record; }

    // Nodes come from the tree pool (SmallBlockPool.h); null when memory runs out.
    static void* operator new(size_t size) noexcept;
    static void operator delete(void* node, size_t size) noexcept;

  private:
    CFileNode* parent_ = nullptr;
    CFileNode* firstChild_ = nullptr;
    CFileNode* nextSibling_ = nullptr;
    IFileProperties* properties_ = nullptr;  // not owned, see above
    void* builderRecord_ = nullptr;          // not owned: a reader's record, only during a build
};

// Millions of nodes: the vtable pointer and the five links, nothing more.
static_assert(sizeof(CFileNode) == 6 * sizeof(void*));

}  // namespace keldrin
