#include "engine/model/CollectMatchingFiles.h"

#include <new>

#include "engine/model/TreeWalk.h"

namespace keldrin {

bool CollectMatchingFiles(CFileNode* start, const SearchCriteria& criteria, bool autoSelect,
                          CFileSystemNode* topRoot, std::vector<CFileNode*>& results) {
    if (!start) return false;
    const size_t before = results.size();
    try {
        ForEachNode(start, [&](CFileNode* node) {
            if (node == start || IsFolder(node->GetProperties()) || !criteria.Matches(node)) return;
            results.push_back(node);
            if (autoSelect && topRoot && node->GetProperties()->GetCheckState() != kChecked)
                topRoot->ToggleCheck(node, false);
        });
    } catch (const std::bad_alloc&) {
        results.resize(before);
        return false;
    }
    return results.size() > before;
}

bool SearchFiles(const SearchValues& values, CFileSystemNode* topRoot, std::vector<CFileNode*>& results) {
    results.clear();
    const std::string_view name = values.name.empty() ? std::string_view("*") : std::string_view(values.name);
    if (!IsAcceptableNameText(name, false)) return false;
    try {
        const SearchCriteria criteria(values);
        return CollectMatchingFiles(values.start, criteria, values.autoSelect, topRoot, results);
    } catch (const std::bad_alloc&) {
        results.clear();
        return false;
    }
}

}  // namespace keldrin
