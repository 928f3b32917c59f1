// The file types offered for the type criterion of "Search files": type names, each with its list of
// extensions (".doc;.dot"), taken from the machine's own file-type database through a source.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace keldrin {

enum FileTypeKeyStatus : int {
    kFileTypeKeyOk = 0,
    kFileTypeKeyFailed = 1,  // this index could not be read; the next ones may
    kFileTypeKeyEnd = 2,     // no more keys
};

// The machine's file types as the catalogue asks for them: keys by index ("*" for every file,
// ".ext" for an extension; others are ignored), and the type name of a key.
class IFileTypeSource {
  public:
    virtual ~IFileTypeSource() = default;
    virtual int GetKey(uint32_t index, std::string& name) = 0;
    // "" when the machine gives none.
    virtual std::string GetTypeName(const std::string& key) = 0;
};

struct FileTypeChoice {
    std::string display;     // what the type page shows
    std::string extensions;  // the type criterion's extension list
};

class FileTypeCatalogue {
  public:
    static constexpr uint32_t kMaxKeyName = 255;
    static constexpr const char* kAllFilesKey = ".00(All Files)";
    static constexpr const char* kAnyFileKeyPrefix = ".01";

    // The one catalogue of the process, built when the main window is created.
    static FileTypeCatalogue& Shared();

    // Replaces the entries by those of source and writes the time it took to the debug log.
    void Build(IFileTypeSource& source);

    // Key to extension list, in byte order of the keys.
    const std::map<std::string, std::string>& GetEntries() const { return entries_; }
    // The entries as the type page lists them: the first two without the first three characters
    // of their keys ("(All Files)", then the type name of "*"), the others by their keys.
    std::vector<FileTypeChoice> GetChoices() const;

  private:
    void Add(const std::string& key, const std::string& value);
    void AddKey(IFileTypeSource& source, const std::string& key);

    std::map<std::string, std::string> entries_;
};

}  // namespace keldrin
