#include "engine/model/WildcardExpression.h"

namespace keldrin {

std::string JoinWildcardRuns(const std::vector<std::string>& pieces) {
    std::string out;
    if (pieces.empty()) return out;
    out += pieces.front();
    for (size_t i = 1; i < pieces.size(); ++i) {
        if (i + 1 < pieces.size()) {
            // Two runs in a row are one run.
            if (pieces[i].empty()) continue;
            // An atomic group around a lazy run: the first fit of the piece, then no way back.
            out += "(?>";
            out += kWildcardRun;
            out += '?';
            out += pieces[i];
            out += ')';
        } else {
            out += kWildcardRun;
            out += pieces[i];
        }
    }
    return out;
}

}  // namespace keldrin
