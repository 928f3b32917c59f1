#include "engine/model/SearchCriteria.h"

#include "engine/model/Utf8Cut.h"

namespace keldrin {
namespace {

// A cut item would stand for another extension (".jp" for ".jpeg"), so the list keeps whole items.
std::string CutExtensionList(std::string list) {
    if (list.size() <= kMaxSearchExtensions) return list;
    const size_t lastSeparator = list.rfind(';', kMaxSearchExtensions);
    list.resize(lastSeparator == std::string::npos ? 0 : lastSeparator);
    return list;
}

}  // namespace

bool IsAcceptableNameText(std::string_view text, bool allowEmpty) {
    if (text.empty()) return allowEmpty;
    return text.find_first_of("\\/:\"<>|") == std::string_view::npos;
}

SearchValues SearchCriteria::WithinLimits(SearchValues values) {
    if (values.name.empty()) values.name.assign(1, '*');
    values.name.resize(Utf8PrefixLength(values.name, kMaxSearchName));
    values.extensions = CutExtensionList(std::move(values.extensions));
    return values;
}

SearchCriteria::SearchCriteria(SearchValues values)
    : values_(WithinLimits(std::move(values))),
      name_(values_.name, values_.caseSensitive != 0, false, kPatternSearch),
      extensions_(values_.extensions) {}

bool SearchCriteria::Matches(const CFileNode* node) const {
    const IFileProperties* p = node ? node->GetProperties() : nullptr;
    if (!p) return false;
    if ((values_.flags & kSearchOther) && values_.includeEncrypted == 0 && encrypted_.Accept(p)) return false;
    if (!name_.Matches(p)) return false;
    if ((values_.flags & kSearchByType) && !extensions_.Matches(p)) return false;
    if ((values_.flags & kSearchByDate) && !values_.date.Matches(p)) return false;
    if ((values_.flags & kSearchBySize) && !values_.size.Matches(p)) return false;
    return true;
}

}  // namespace keldrin
