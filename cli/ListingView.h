// What `ls` and `recover` show of a built tree: everything, or the deleted-files view (files in a
// Deleted, Lost or Cross Link state), narrowed further by the search options when given.
#pragma once

#include <optional>

#include "engine/model/FileFilter.h"
#include "engine/model/FilteredTreeBuilder.h"
#include "engine/model/SearchCriteria.h"

namespace keldrin::cli {

class ListingView {
  public:
    // The tree must outlive the view: a filtered view shares its properties.
    ListingView(CFileSystemNode* tree, bool all, const std::optional<SearchCriteria>& criteria);

    // The node whose subtree is shown (the tree itself, or the filtered copy's root); null when
    // the copy could not be made.
    CFileSystemNode* Root() const { return root_; }

  private:
    class Filter final : public IFileFilter {
      public:
        Filter(bool all, const std::optional<SearchCriteria>& criteria) : all_(all), criteria_(criteria) {}
        bool Accept(const IFileProperties* properties) const override;

      private:
        bool all_;
        const std::optional<SearchCriteria>& criteria_;
        CFileStateFilter deletedLostCrossLinked_{kStateDeleted | kStateLost | kStateCrossLink};
    };

    Filter filter_;
    FilteredCopyOwner copy_;
    CFileSystemNode* root_ = nullptr;
};

}  // namespace keldrin::cli
