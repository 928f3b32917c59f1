// The file types this machine knows, from the shared MIME-info database: every extension that a
// type's glob patterns name, with the type's English description. Stands in for the registry's
// classes root and the shell's type names.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace keldrin::platform {

inline constexpr const char* kMimePackagesFolder = "/usr/share/mime/packages";

class MimeTypeSource {
  public:
    // Reads every "*.xml" of folder, in name order; files that cannot be read or parsed are
    // skipped. Only simple patterns ("*.doc", "*.tar.gz") count. An extension named by several
    // types, in any case, goes to the pattern of the highest weight, the first on a tie. False when
    // no file could be read.
    bool Load(const std::string& folder = kMimePackagesFolder);

    // "*", then the extensions in lowercase with their dot (".doc"), in byte order.
    const std::vector<std::string>& GetKeys() const { return keys_; }
    // The description of the extension's type ("Word document"); "" for "*", for unknown keys and
    // for types without an English description.
    std::string GetTypeName(const std::string& key) const;

  private:
    struct Extension {
        int weight = 0;
        std::string typeName;
    };
    std::map<std::string, Extension> extensions_;
    std::vector<std::string> keys_;
};

}  // namespace keldrin::platform
