#include "engine/model/FileExtensionPattern.h"

#include <vector>

#include "engine/model/CompiledExpression.h"
#include "engine/model/WildcardExpression.h"

namespace keldrin {
namespace {

// One item as "(*" item "$)", with its '*' in expression syntax.
std::string ItemExpression(std::string_view item) {
    std::vector<std::string> pieces;
    pieces.emplace_back(1, '(');
    pieces.emplace_back();  // after the '*' in front of the item
    for (const char c : item) {
        if (c == '*')
            pieces.emplace_back();
        else if (c == '.')
            pieces.back() += R"(\x2e)";
        else
            pieces.back() += c;
    }
    pieces.back() += "$)";
    return JoinWildcardRuns(pieces);
}

}  // namespace

FileExtensionPattern::FileExtensionPattern() : FileExtensionPattern("") {}

FileExtensionPattern::FileExtensionPattern(std::string_view list) : list_(list) {
    expression_ = ToExpression(list);
    compiled_ = CompiledExpression::Compile(expression_, false);
}

std::string FileExtensionPattern::ToExpression(std::string_view list) {
    if (list.empty()) list = "*";
    std::vector<std::string_view> items;
    size_t start = 0;
    for (;;) {
        const size_t end = list.find(';', start);
        const std::string_view item = list.substr(start, end == std::string_view::npos ? end : end - start);
        const bool leading = start == 0 && end != std::string_view::npos;
        const bool remainder = end == std::string_view::npos;
        if (!item.empty() || (!leading && !remainder)) items.push_back(item);
        if (remainder) break;
        start = end + 1;
    }
    std::string expression;
    for (size_t i = 0; i < items.size(); ++i) {
        if (i) expression += '|';
        expression += ItemExpression(items[i]);
    }
    return expression;
}

bool FileExtensionPattern::Matches(const IFileProperties* properties) const {
    if (!properties || !(properties->GetTypeCode() & kHasName)) return false;
    return MatchesName(std::string_view(properties->GetName(), properties->GetNameLength()));
}

bool FileExtensionPattern::MatchesName(std::string_view name) const {
    return compiled_ && compiled_->FullMatch(name);
}

}  // namespace keldrin
