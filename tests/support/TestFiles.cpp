#include "tests/support/TestFiles.h"

#include <fcntl.h>
#include <unistd.h>
#include <zlib.h>

#include <atomic>
#include <system_error>
#include <vector>

namespace keldrin::testing {

ScopedTempDir::ScopedTempDir() {
    static std::atomic<int> counter{0};
    path_ = std::filesystem::temp_directory_path() /
            ("keldrin-test-" + std::to_string(getpid()) + "-" + std::to_string(counter++));
    std::filesystem::create_directories(path_);
}

ScopedTempDir::~ScopedTempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

bool GunzipTo(const std::filesystem::path& source, const std::filesystem::path& target) {
    gzFile in = gzopen(source.c_str(), "rb");
    if (!in) return false;
    const int out = ::open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (out < 0) {
        gzclose(in);
        return false;
    }
    std::vector<char> buffer(1 << 16);
    off_t position = 0;
    bool ok = true;
    for (;;) {
        const int n = gzread(in, buffer.data(), static_cast<unsigned>(buffer.size()));
        if (n < 0) {
            ok = false;
            break;
        }
        if (n == 0) break;
        bool zero = true;
        for (int i = 0; i < n && zero; ++i) zero = buffer[i] == 0;
        if (!zero && ::pwrite(out, buffer.data(), n, position) != n) {
            ok = false;
            break;
        }
        position += n;
    }
    ok = ok && ::ftruncate(out, position) == 0;
    ::close(out);
    gzclose(in);
    return ok;
}

std::filesystem::path UnpackSample(const std::filesystem::path& dir) {
    const std::filesystem::path target = dir / "sample-ntfs.img";
    if (!GunzipTo(std::filesystem::path(KELDRIN_SOURCE_DIR) / "samples" / "sample-ntfs.img.gz", target))
        return {};
    return target;
}

std::filesystem::path CorpusDir() {
    std::error_code ec;
    const std::filesystem::path dir(KELDRIN_CORPUS_DIR);
    return std::filesystem::is_directory(dir, ec) ? dir : std::filesystem::path();
}

}  // namespace keldrin::testing
