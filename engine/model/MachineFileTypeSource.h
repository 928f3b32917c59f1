// The file types of this machine as a catalogue source: the shared MIME-info database.
#pragma once

#include <string>

#include "engine/model/FileTypeCatalogue.h"
#include "platform/MimeTypeSource.h"

namespace keldrin {

class CMachineFileTypeSource final : public IFileTypeSource {
  public:
    // Reads the database's package files in folder at once.
    explicit CMachineFileTypeSource(const std::string& folder = platform::kMimePackagesFolder);

    // False when no package file could be read; the source then has "*" only.
    bool IsLoaded() const { return loaded_; }

    int GetKey(uint32_t index, std::string& name) override;
    std::string GetTypeName(const std::string& key) override;

  private:
    platform::MimeTypeSource types_;
    bool loaded_ = false;
};

}  // namespace keldrin
