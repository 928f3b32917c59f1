#include "cli/FilterOptions.h"

#include <CLI/CLI.hpp>
#include <charconv>
#include <cstdint>

#include "engine/model/FileTime.h"

namespace keldrin::cli {
namespace {

// Characters of the expression syntax that an extension list would pass on unescaped.
constexpr std::string_view kExpressionCharacters = "\\()[]{}+?|^$";

// Exactly `digits` decimal digits at text[at].
bool ReadNumber(std::string_view text, size_t at, size_t digits, int& value) {
    if (at + digits > text.size()) return false;
    value = 0;
    for (size_t i = at; i < at + digits; ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        value = value * 10 + (text[i] - '0');
    }
    return true;
}

bool ParseKb(std::string_view text, uint64_t& kb) {
    if (text.empty() || text.size() > 10) return false;  // the dialog's field holds 10 digits
    for (const char c : text)
        if (c < '0' || c > '9') return false;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), kb);
    return error == std::errc() && end == text.data() + text.size() && kb <= kMaxSizeKb;
}

}  // namespace

bool ParseIsoTime(std::string_view text, bool endOfUnit, uint64_t& fileTime) {
    if (!text.empty() && (text.back() == 'Z' || text.back() == 'z')) text.remove_suffix(1);
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    if (!ReadNumber(text, 0, 4, year) || text.size() < 10 || text[4] != '-' ||
        !ReadNumber(text, 5, 2, month) || text[7] != '-' || !ReadNumber(text, 8, 2, day))
        return false;
    uint64_t unit = kFileTimeTicksPerDay;
    if (text.size() > 10) {
        if ((text[10] != 'T' && text[10] != 't') || !ReadNumber(text, 11, 2, hour) || text.size() < 16 ||
            text[13] != ':' || !ReadNumber(text, 14, 2, minute))
            return false;
        unit = 60 * kFileTimeTicksPerSecond;
        if (text.size() > 16) {
            if (text.size() != 19 || text[16] != ':' || !ReadNumber(text, 17, 2, second)) return false;
            unit = kFileTimeTicksPerSecond;
        }
    }
    if (text.size() != 10 && text.size() != 16 && text.size() != 19) return false;
    if (!CivilToFileTime(year, month, day, hour, minute, second, fileTime)) return false;
    if (endOfUnit) fileTime += unit - 1;
    return true;
}

bool ParseTimeRange(std::string_view text, uint64_t& from, uint64_t& to, std::string& error) {
    const size_t dots = text.find("..");
    if (dots == std::string_view::npos) {
        error = "expected FROM..TO (either may be empty), got \"" + std::string(text) + "\"";
        return false;
    }
    const std::string_view first = text.substr(0, dots);
    const std::string_view last = text.substr(dots + 2);
    from = 0;
    to = UINT64_MAX;
    if (!first.empty() && !ParseIsoTime(first, false, from)) {
        error = "\"" + std::string(first) + "\" is not a date YYYY-MM-DD[THH:MM[:SS]][Z]";
        return false;
    }
    if (!last.empty() && !ParseIsoTime(last, true, to)) {
        error = "\"" + std::string(last) + "\" is not a date YYYY-MM-DD[THH:MM[:SS]][Z]";
        return false;
    }
    if (from > to) {
        error = "FROM lies after TO";
        return false;
    }
    return true;
}

void AddFilterOptions(CLI::App* sub, FilterOptions& out) {
    const std::string group = "Filters";
    sub->add_option("--name", out.name,
                    "Only files whose whole name matches PATTERN ('*' any run of characters, '?' one "
                    "character; any case)")
        ->type_name("PATTERN")
        ->group(group);
    sub->add_option("--ext", out.extensions, "Only files ending in one of the extensions, as \".doc;.dot\"")
        ->type_name("LIST")
        ->group(group);
    CLI::Option* min = sub->add_option("--size-min", out.sizeMinKb, "Only files of at least KB kilobytes")
                           ->type_name("KB")
                           ->group(group);
    CLI::Option* max = sub->add_option("--size-max", out.sizeMaxKb, "Only files of at most KB kilobytes")
                           ->type_name("KB")
                           ->group(group);
    min->excludes(max);
    // TO covers the whole day, minute or second it names.
    const char* rangeHelp =
        " in FROM..TO (YYYY-MM-DD[THH:MM[:SS]] at UTC; both ends included, either may be empty)";
    CLI::Option* modified =
        sub->add_option("--modified", out.modified, std::string("Only files modified") + rangeHelp)
            ->type_name("FROM..TO")
            ->group(group);
    CLI::Option* created =
        sub->add_option("--created", out.created, std::string("Only files created") + rangeHelp)
            ->type_name("FROM..TO")
            ->group(group);
    CLI::Option* accessed =
        sub->add_option("--accessed", out.accessed, std::string("Only files last accessed") + rangeHelp)
            ->type_name("FROM..TO")
            ->group(group);
    modified->excludes(created)->excludes(accessed);
    created->excludes(accessed);
    sub->add_flag("--no-encrypted", out.noEncrypted, "Leave out encrypted files")->group(group);
}

bool BuildSearchCriteria(const FilterOptions& options, SearchCriteria& criteria, std::string& error) {
    SearchValues values;
    if (!options.name.empty()) {
        if (options.name.size() > kMaxSearchName) {
            error = "--name: a pattern holds at most " + std::to_string(kMaxSearchName) + " bytes";
            return false;
        }
        if (!IsAcceptableNameText(options.name, false)) {
            error = "--name: a pattern may not hold \\ / : \" < > |";
            return false;
        }
        values.name = options.name;
    }

    if (!options.extensions.empty()) {
        if (options.extensions.size() > kMaxSearchExtensions) {
            error = "--ext: a list holds at most " + std::to_string(kMaxSearchExtensions) + " bytes";
            return false;
        }
        if (options.extensions.find_first_of(kExpressionCharacters) != std::string::npos) {
            error = "--ext: an extension may not hold any of " + std::string(kExpressionCharacters);
            return false;
        }
        values.flags |= kSearchByType;
        values.extensions = options.extensions;
    }

    if (!options.sizeMinKb.empty() && !options.sizeMaxKb.empty()) {
        error = "--size-min and --size-max cannot be combined";
        return false;
    }
    const bool atLeast = !options.sizeMinKb.empty();
    const std::string& kbText = atLeast ? options.sizeMinKb : options.sizeMaxKb;
    if (!kbText.empty()) {
        uint64_t kb = 0;
        if (!ParseKb(kbText, kb) ||
            !SizeCriterion::FromKb(atLeast ? kSizeAtLeast : kSizeAtMost, kb, values.size)) {
            error = std::string(atLeast ? "--size-min" : "--size-max") +
                    ": KB must be a whole number from 0 to " + std::to_string(kMaxSizeKb);
            return false;
        }
        values.flags |= kSearchBySize;
    }

    struct {
        const std::string& text;
        int32_t which;
        const char* option;
    } const dates[] = {
        {options.modified, kDateModified, "--modified"},
        {options.created, kDateCreated, "--created"},
        {options.accessed, kDateAccessed, "--accessed"},
    };
    for (const auto& date : dates) {
        if (date.text.empty()) continue;
        if (values.flags & kSearchByDate) {
            error = "only one of --modified, --created and --accessed can be given";
            return false;
        }
        std::string why;
        if (!ParseTimeRange(date.text, values.date.from, values.date.to, why)) {
            error = std::string(date.option) + ": " + why;
            return false;
        }
        values.date.which = date.which;
        values.flags |= kSearchByDate;
    }

    if (options.noEncrypted) {
        values.flags |= kSearchOther;
        values.includeEncrypted = 0;
        values.caseSensitive = 0;
    }

    SearchCriteria built(std::move(values));
    if (!built.GetNamePattern().IsValid()) {
        error = "--name: the pattern cannot be used";
        return false;
    }
    if (!built.GetExtensionPattern().IsValid()) {
        error = "--ext: the list cannot be used";
        return false;
    }
    criteria = std::move(built);
    error.clear();
    return true;
}

bool OptionalCriteria(const FilterOptions& f, std::optional<SearchCriteria>& criteria, std::string& error) {
    criteria.reset();
    const bool any = !f.name.empty() || !f.extensions.empty() || !f.sizeMinKb.empty() ||
                     !f.sizeMaxKb.empty() || !f.modified.empty() || !f.created.empty() ||
                     !f.accessed.empty() || f.noEncrypted;
    if (!any) return true;
    criteria.emplace();
    if (BuildSearchCriteria(f, *criteria, error)) return true;
    criteria.reset();
    return false;
}

}  // namespace keldrin::cli
