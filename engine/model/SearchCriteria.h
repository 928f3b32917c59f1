// The values of "Search files" and the tests built from them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/model/DateCriterion.h"
#include "engine/model/FileExtensionPattern.h"
#include "engine/model/FileFilter.h"
#include "engine/model/FileNamePattern.h"
#include "engine/model/FileNode.h"
#include "engine/model/SizeCriterion.h"

namespace keldrin {

// Which pages take part; each is set when its check box is ticked.
inline constexpr uint32_t kSearchByType = 1;
inline constexpr uint32_t kSearchByDate = 2;
inline constexpr uint32_t kSearchBySize = 4;
inline constexpr uint32_t kSearchOther = 8;  // "Other Parameters:": case sensitivity and encrypted files

inline constexpr size_t kMaxSearchName = 259;        // bytes
inline constexpr size_t kMaxSearchExtensions = 519;  // bytes

struct SearchValues {
    std::string name = "*";  // "*" when the field is empty
    bool autoSelect = false;
    CFileNode* start = nullptr;  // under "Search location:"; not owned
    uint32_t flags = 0;
    std::string extensions;  // of the chosen file type
    DateCriterion date;
    SizeCriterion size;
    int32_t caseSensitive = 0;     // 0 unless "Other Parameters:" is ticked
    int32_t includeEncrypted = 1;  // 1 unless "Other Parameters:" is ticked
};

// Whether a name text may be searched for: no \ / : " < > | ('*' and '?' are wildcards). With
// allowEmpty the empty text passes too.
bool IsAcceptableNameText(std::string_view text, bool allowEmpty);

class SearchCriteria {
  public:
    // Every file.
    SearchCriteria() : SearchCriteria(SearchValues{}) {}
    // Takes the values over: an empty name becomes "*", a name is cut to 259 bytes and the
    // extension list to its whole items within 519 bytes. Then builds the name pattern (search
    // mode, whole word off), the extension pattern and the encrypted-file filter.
    explicit SearchCriteria(SearchValues values);

    const SearchValues& GetValues() const { return values_; }
    const FileNamePattern& GetNamePattern() const { return name_; }
    const FileExtensionPattern& GetExtensionPattern() const { return extensions_; }

    // A node passes each ticked test in the order: not encrypted, name, type, date, size. Null node
    // or properties fail.
    bool Matches(const CFileNode* node) const;

  private:
    static SearchValues WithinLimits(SearchValues values);

    SearchValues values_;  // first: the patterns are built from it
    FileNamePattern name_;
    FileExtensionPattern extensions_;
    CFileAttributeFilter encrypted_{kAttrEncrypted};
};

}  // namespace keldrin
