// A regular expression in Perl syntax, compiled once and matched against whole names. Boost.Regex
// reports bad expressions and runaway matches by exceptions; they end here.
#pragma once

#include <boost/regex.hpp>
#include <memory>
#include <string>
#include <string_view>

namespace keldrin {

class CompiledExpression {
  public:
    // Null when the expression does not compile or memory runs out.
    static std::shared_ptr<const CompiledExpression> Compile(const std::string& expression,
                                                             bool caseSensitive) noexcept;

    // The whole text must match; false too when the matcher gives up.
    bool FullMatch(std::string_view text) const noexcept;

    explicit CompiledExpression(boost::regex regex) : regex_(std::move(regex)) {}

  private:
    boost::regex regex_;
};

}  // namespace keldrin
