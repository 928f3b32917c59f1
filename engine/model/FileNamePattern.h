// A file-name wildcard ('*' any run of characters, '?' one character) turned into a regular
// expression that whole names must match.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "engine/model/FileProperties.h"

namespace keldrin {

class CompiledExpression;

enum FileNamePatternMode : int {
    kPatternFind = 1,    // "Find file by name": without whole word the text may lie anywhere in the name
    kPatternSearch = 2,  // "Search files"
};

class FileNamePattern {
  public:
    // "*" in search mode: matches every name.
    FileNamePattern();
    FileNamePattern(std::string_view text, bool caseSensitive, bool wholeWord, int mode);

    // The wildcard after the mode's additions, the collapsing of runs of '*' and '?' and the
    // treatment of a last '?' ("a?" gives "a*" in search mode).
    static std::string NormalizeWildcard(std::string_view text, bool wholeWord, int mode);
    // The expression for a normalised wildcard: special characters escaped, '*' and '?' replaced.
    static std::string ToExpression(std::string_view wildcard);

    const std::string& GetText() const { return text_; }
    bool IsCaseSensitive() const { return caseSensitive_; }
    const std::string& GetExpression() const { return expression_; }
    // False when the expression did not compile (a text with a backslash can do that); such a
    // pattern matches nothing.
    bool IsValid() const { return compiled_ != nullptr; }

    // False when the name is absent (type code bit 0x01) or properties are null.
    bool Matches(const IFileProperties* properties) const;
    bool MatchesName(std::string_view name) const;

  private:
    std::string text_;
    bool caseSensitive_ = false;
    std::string expression_;
    std::shared_ptr<const CompiledExpression> compiled_;  // shared by copies, never changed
};

}  // namespace keldrin
