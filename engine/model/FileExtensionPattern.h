// A list of extensions (".doc;.dot") turned into a regular expression: a name passes when it ends
// in one of them, in any case.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "engine/model/FileProperties.h"

namespace keldrin {

class CompiledExpression;

class FileExtensionPattern {
  public:
    // The empty list: every name.
    FileExtensionPattern();
    explicit FileExtensionPattern(std::string_view list);

    // An empty list counts as "*"; a leading empty item and an empty remainder after the last ';'
    // are not items, empty items between two ';' are (and match every name).
    static std::string ToExpression(std::string_view list);

    const std::string& GetList() const { return list_; }
    const std::string& GetExpression() const { return expression_; }
    // False when the expression did not compile; such a pattern matches nothing.
    bool IsValid() const { return compiled_ != nullptr; }

    // False when the name is absent (type code bit 0x01) or properties are null.
    bool Matches(const IFileProperties* properties) const;
    bool MatchesName(std::string_view name) const;

  private:
    std::string list_;
    std::string expression_;
    std::shared_ptr<const CompiledExpression> compiled_;
};

}  // namespace keldrin
