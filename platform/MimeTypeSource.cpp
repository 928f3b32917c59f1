#include "platform/MimeTypeSource.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <pugixml.hpp>
#include <string_view>
#include <system_error>

namespace keldrin::platform {
namespace {

constexpr int kDefaultWeight = 50;

// Only patterns "*.ext" whose extension holds letters, digits, '.', '_', '~' and '-': anything else
// would be a wildcard or an expression character in the search's extension lists.
bool ExtensionOfPattern(std::string_view pattern, std::string& extension) {
    if (pattern.size() < 3 || pattern[0] != '*' || pattern[1] != '.') return false;
    extension.assign(1, '.');
    for (const char c : pattern.substr(2)) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                           c == '.' || c == '_' || c == '~' || c == '-';
        if (!plain) return false;
        extension += c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    }
    return true;
}

std::string EnglishComment(const pugi::xml_node& type) {
    for (const pugi::xml_node comment : type.children("comment"))
        if (!comment.attribute("xml:lang")) return comment.child_value();
    return {};
}

}  // namespace

bool MimeTypeSource::Load(const std::string& folder) {
    extensions_.clear();
    keys_.clear();
    std::vector<std::filesystem::path> files;
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
        if (it->path().extension() == ".xml") files.push_back(it->path());
    std::sort(files.begin(), files.end());

    bool anyRead = false;
    std::string extension;
    for (const std::filesystem::path& file : files) {
        pugi::xml_document document;
        if (!document.load_file(file.c_str())) continue;
        anyRead = true;
        for (const pugi::xml_node type : document.child("mime-info").children("mime-type")) {
            const std::string typeName = EnglishComment(type);
            for (const pugi::xml_node glob : type.children("glob")) {
                if (!ExtensionOfPattern(glob.attribute("pattern").value(), extension)) continue;
                const int weight = glob.attribute("weight").as_int(kDefaultWeight);
                auto [it, added] = extensions_.try_emplace(extension, Extension{weight, typeName});
                if (!added && weight > it->second.weight) it->second = {weight, typeName};
            }
        }
    }
    keys_.reserve(extensions_.size() + 1);
    keys_.push_back("*");
    for (const auto& entry : extensions_) keys_.push_back(entry.first);
    return anyRead;
}

std::string MimeTypeSource::GetTypeName(const std::string& key) const {
    const auto it = extensions_.find(key);
    return it == extensions_.end() ? std::string() : it->second.typeName;
}

}  // namespace keldrin::platform
