#include "cli/ListingView.h"

#include "engine/model/FileNode.h"

namespace keldrin::cli {

bool ListingView::Filter::Accept(const IFileProperties* properties) const {
    if (!all_ && !deletedLostCrossLinked_.Accept(properties)) return false;
    if (!criteria_) return true;
    // The criteria test a node; a detached one carrying the properties stands in for it.
    CFileNode probe;
    probe.SetProperties(const_cast<IFileProperties*>(properties));
    return criteria_->Matches(&probe);
}

ListingView::ListingView(CFileSystemNode* tree, bool all, const std::optional<SearchCriteria>& criteria)
    : filter_(all, criteria) {
    if (all && !criteria) {
        root_ = tree;
        return;
    }
    CFilteredTreeBuilder builder(&filter_);
    copy_.reset(builder.Build(tree));
    root_ = copy_.get();
}

}  // namespace keldrin::cli
