// The file filters of the listing and recovery subcommands: the same tests as the "Search files"
// dialog, given on the command line.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "engine/model/SearchCriteria.h"

namespace CLI {
class App;
}

namespace keldrin::cli {

// As typed; checked and converted by BuildSearchCriteria.
struct FilterOptions {
    std::string name;        // --name PATTERN
    std::string extensions;  // --ext ".doc;.dot"
    std::string sizeMinKb;   // --size-min KB
    std::string sizeMaxKb;   // --size-max KB
    std::string modified;    // --modified FROM..TO
    std::string created;     // --created FROM..TO
    std::string accessed;    // --accessed FROM..TO
    bool noEncrypted = false;
};

// Adds --name, --ext, --size-min, --size-max, --modified, --created, --accessed and --no-encrypted.
void AddFilterOptions(CLI::App* sub, FilterOptions& out);

// The criteria of the options; false with a message naming the option when one is wrong. The
// search location is left to the caller.
bool BuildSearchCriteria(const FilterOptions& options, SearchCriteria& criteria, std::string& error);

// No criteria when no filter option was given; false with a message when one is wrong.
bool OptionalCriteria(const FilterOptions& options, std::optional<SearchCriteria>& criteria,
                      std::string& error);

// "YYYY-MM-DD", optionally followed by "THH:MM" or "THH:MM:SS" and "Z", at UTC. With endOfUnit,
// the last 100 ns of the day, minute or second written.
bool ParseIsoTime(std::string_view text, bool endOfUnit, uint64_t& fileTime);

// "FROM..TO", either side may be empty for an open end; both ends are included.
bool ParseTimeRange(std::string_view text, uint64_t& from, uint64_t& to, std::string& error);

}  // namespace keldrin::cli
