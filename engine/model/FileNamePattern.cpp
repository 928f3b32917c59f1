#include "engine/model/FileNamePattern.h"

#include <vector>

#include "engine/model/CompiledExpression.h"
#include "engine/model/WildcardExpression.h"

namespace keldrin {
namespace {

// Every run of the form "*+?+", "?+*+" or "*+" becomes one '*', left to right in one pass; a run
// of '?' not followed by '*' stays.
std::string CollapseRuns(std::string_view text) {
    std::string out;
    size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c != '*' && c != '?') {
            out += c;
            ++i;
            continue;
        }
        size_t j = i;
        while (j < text.size() && text[j] == c) ++j;
        const char other = c == '*' ? '?' : '*';
        if (j < text.size() && text[j] == other) {
            while (j < text.size() && text[j] == other) ++j;
            out += '*';
        } else if (c == '*') {
            out += '*';
        } else {
            out.append(text.substr(i, j - i));
        }
        i = j;
    }
    return out;
}

// Hexadecimal escapes for the characters that are special in the expression syntax.
const char* EscapeOf(char c) {
    switch (c) {
        case '[':
            return R"(\x5B)";
        case ']':
            return R"(\x5D)";
        case '{':
            return R"(\x7B)";
        case '}':
            return R"(\x7D)";
        case '(':
            return R"(\x28)";
        case ')':
            return R"(\x29)";
        case '+':
            return R"(\x2B)";
        case '|':
            return R"(\x7C)";
        case '^':
            return R"(\x5E)";
        case '$':
            return R"(\x24)";
        case '-':
            return R"(\x2D)";
        case '.':
            return R"(\x2e)";
        default:
            return nullptr;
    }
}

}  // namespace

FileNamePattern::FileNamePattern() : FileNamePattern("*", false, false, kPatternSearch) {}

FileNamePattern::FileNamePattern(std::string_view text, bool caseSensitive, bool wholeWord, int mode)
    : text_(text), caseSensitive_(caseSensitive) {
    expression_ = ToExpression(NormalizeWildcard(text, wholeWord, mode));
    compiled_ = CompiledExpression::Compile(expression_, caseSensitive);
}

std::string FileNamePattern::NormalizeWildcard(std::string_view text, bool wholeWord, int mode) {
    std::string wildcard(text);
    if (mode == kPatternFind && !wholeWord && wildcard.find('*') == std::string::npos) {
        // Without whole word the text may lie anywhere in the name.
        if (wildcard.empty() || wildcard.front() != '?') wildcard.insert(0, 1, '*');
        wildcard += '*';
    }
    wildcard = CollapseRuns(wildcard);
    if (!wildcard.empty() && wildcard.back() == '?') {
        // In search mode "a.?" means one character after the dot, "a?" anything after "a".
        if (mode == kPatternFind || (mode == kPatternSearch && wildcard.find('.') == std::string::npos))
            wildcard.back() = '*';
    }
    return wildcard;
}

std::string FileNamePattern::ToExpression(std::string_view wildcard) {
    std::vector<std::string> pieces(1);
    for (const char c : wildcard) {
        if (c == '*') {
            pieces.emplace_back();
        } else if (c == '?') {
            pieces.back() += kWildcardOne;
        } else if (const char* escape = EscapeOf(c)) {
            pieces.back() += escape;
        } else {
            pieces.back() += c;  // a backslash too: the dialogs refuse it
        }
    }
    return JoinWildcardRuns(pieces);
}

bool FileNamePattern::Matches(const IFileProperties* properties) const {
    if (!properties || !(properties->GetTypeCode() & kHasName)) return false;
    return MatchesName(std::string_view(properties->GetName(), properties->GetNameLength()));
}

bool FileNamePattern::MatchesName(std::string_view name) const {
    return compiled_ && compiled_->FullMatch(name);
}

}  // namespace keldrin
