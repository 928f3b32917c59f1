#include "engine/model/FileTypeCatalogue.h"

#include <strings.h>

#include <chrono>
#include <new>

#include "shared/Log.h"

namespace keldrin {
namespace {

bool EqualsIgnoringCase(const std::string& a, const char* b) {
    return strcasecmp(a.c_str(), b) == 0;
}

// Names the type database gives to things that are no file types of their own.
bool IsSkippedTypeName(const std::string& name) {
    return name.empty() || EqualsIgnoringCase(name, "FOLDER File") ||
           EqualsIgnoringCase(name, "msrating.dll,-3000") || EqualsIgnoringCase(name, "msrating.dll,-3001");
}

}  // namespace

FileTypeCatalogue& FileTypeCatalogue::Shared() {
    static FileTypeCatalogue catalogue;
    return catalogue;
}

void FileTypeCatalogue::Add(const std::string& key, const std::string& value) {
    auto [it, added] = entries_.try_emplace(key, value);
    if (!added) {
        it->second += ';';
        it->second += value;
    }
}

void FileTypeCatalogue::AddKey(IFileTypeSource& source, const std::string& key) {
    if (key == "*") {
        Add(kAllFilesKey, "*");
        const std::string typeName = source.GetTypeName(key);
        Add(kAnyFileKeyPrefix + (typeName.empty() ? std::string("File") : typeName), "*");
        return;
    }
    if (key.size() < 2 || key[0] != '.' || EqualsIgnoringCase(key, ".Folder")) return;
    std::string typeName = source.GetTypeName(key);
    if (!typeName.empty() && typeName[0] >= 'a' && typeName[0] <= 'z') typeName[0] -= 'a' - 'A';
    if (IsSkippedTypeName(typeName)) return;
    Add(typeName, key);
}

void FileTypeCatalogue::Build(IFileTypeSource& source) {
    const auto start = std::chrono::steady_clock::now();
    entries_.clear();
    try {
        std::string key;
        for (uint32_t index = 0;; ++index) {
            key.clear();
            const int status = source.GetKey(index, key);
            if (status == kFileTypeKeyEnd) break;
            if (status != kFileTypeKeyOk || key.empty() || key.size() > kMaxKeyName) continue;
            if (key[0] != '*' && key[0] != '.') continue;
            AddKey(source, key);
        }
    } catch (const std::bad_alloc&) {
        // What was added so far stays usable.
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    DebugTrace("Enum register file used time :%f Second", seconds);
}

std::vector<FileTypeChoice> FileTypeCatalogue::GetChoices() const {
    std::vector<FileTypeChoice> choices;
    choices.reserve(entries_.size());
    for (const auto& [key, list] : entries_) {
        // Only the two entries for every file carry a prefix that orders them first.
        const bool prefixed = choices.size() < 2 && key.starts_with(".0") && key.size() >= 3;
        choices.push_back({prefixed ? key.substr(3) : key, list});
    }
    return choices;
}

}  // namespace keldrin
