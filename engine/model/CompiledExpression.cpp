#include "engine/model/CompiledExpression.h"

namespace keldrin {

std::shared_ptr<const CompiledExpression> CompiledExpression::Compile(const std::string& expression,
                                                                      bool caseSensitive) noexcept {
    try {
        boost::regex::flag_type flags = boost::regex::perl;
        if (!caseSensitive) flags |= boost::regex::icase;
        return std::make_shared<const CompiledExpression>(boost::regex(expression, flags));
    } catch (...) {
        // boost::regex_error for a bad expression, std::bad_alloc, anything else the library throws.
        return nullptr;
    }
}

bool CompiledExpression::FullMatch(std::string_view text) const noexcept {
    try {
        return boost::regex_match(text.data(), text.data() + text.size(), regex_);
    } catch (...) {
        // The matcher's complexity limit, or memory.
        return false;
    }
}

}  // namespace keldrin
