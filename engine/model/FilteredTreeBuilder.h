// A filtered copy of a recovered-file tree: the files a filter accepts, with the folders above them.
// The copy's nodes share the properties of the source tree, so the source must outlive the copy.
#pragma once

#include <memory>

#include "engine/model/FileFilter.h"
#include "engine/model/FileSystemNode.h"

namespace keldrin {

class CFilteredTreeBuilder {
  public:
    static constexpr const char* kRootName = "Deleted Files";

    // The filter is not owned and must outlive the builder. The copy's root is made at once.
    explicit CFilteredTreeBuilder(const IFileFilter* filter);
    CFilteredTreeBuilder(const CFilteredTreeBuilder&) = delete;
    CFilteredTreeBuilder& operator=(const CFilteredTreeBuilder&) = delete;
    // Frees the root when it was never handed over.
    ~CFilteredTreeBuilder();

    // Fills the root from source and hands it over: the caller frees it with DeleteFilteredCopy.
    // Each level lists its kept children in the reverse of the source's order; folders with no
    // accepted file below them are left out. Null when source or the filter is null, when memory
    // runs out, or when the root was handed over already.
    CFileSystemNode* Build(const CFileSystemNode* source);

  private:
    const IFileFilter* filter_;
    CFileSystemNode* root_ = nullptr;
};

// Frees a copy made by CFilteredTreeBuilder: its nodes and its root's own properties, never the
// properties it shares with the source. Null: nothing happens.
void DeleteFilteredCopy(CFileSystemNode* root);

struct FilteredCopyDeleter {
    void operator()(CFileSystemNode* root) const { DeleteFilteredCopy(root); }
};
using FilteredCopyOwner = std::unique_ptr<CFileSystemNode, FilteredCopyDeleter>;

}  // namespace keldrin
