// The pieces of expression text that name and extension patterns are built from.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace keldrin {

// What a '*' of a wildcard stands for: any run of characters other than / * ? : " < > |.
inline constexpr std::string_view kWildcardRun = R"([^/\x2A\x3F:"<>|]*)";
// What a '?' stands for: exactly one such character, that is one UTF-8 sequence (a first byte other
// than a continuation byte, then all continuation bytes after it), so '?' never splits a character.
inline constexpr std::string_view kWildcardOne = R"([^/\x2A\x3F:"<>|\x80-\xBF][\x80-\xBF]*+)";

// Joins the pieces of a text that were separated by '*', each already in expression syntax, with a
// run of kWildcardRun characters between neighbours. Every run but the last takes the shortest
// stretch before its next piece and never gives it back: that matches the same names as plain
// runs do (the first place a fixed-length piece fits is always a place that works), but takes time
// in proportion to the name and the pattern, where plain runs back-track without bound.
std::string JoinWildcardRuns(const std::vector<std::string>& pieces);

}  // namespace keldrin
