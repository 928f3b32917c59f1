// Temporary folders and unpacked images for tests.
#pragma once

#include <filesystem>
#include <string>

namespace keldrin::testing {

// A fresh folder under the system's temporary folder, removed with everything in it.
class ScopedTempDir {
  public:
    ScopedTempDir();
    ~ScopedTempDir();
    ScopedTempDir(const ScopedTempDir&) = delete;
    ScopedTempDir& operator=(const ScopedTempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

// Unpacks a gzip file to target, keeping runs of zeros as holes. False when it cannot be read.
bool GunzipTo(const std::filesystem::path& source, const std::filesystem::path& target);

// The bundled sample volume, unpacked into dir; empty when it cannot be unpacked.
std::filesystem::path UnpackSample(const std::filesystem::path& dir);

// The corpus folder when it exists, else empty.
std::filesystem::path CorpusDir();

}  // namespace keldrin::testing
