#include "platform/BlockDevice.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <linux/hdreg.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <limits>
#include <utility>

namespace keldrin::platform {
namespace {

// Keeps each pread below the kernel's per-call limit.
constexpr size_t kMaxChunk = size_t{1} << 30;

bool IsReadableKind(mode_t mode) {
    return S_ISREG(mode) || S_ISBLK(mode);
}

}  // namespace

BlockDevice::~BlockDevice() {
    Close();
}

BlockDevice::BlockDevice(BlockDevice&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), isBlock_(std::exchange(other.isBlock_, false)) {}

BlockDevice& BlockDevice::operator=(BlockDevice&& other) noexcept {
    if (this != &other) {
        Close();
        fd_ = std::exchange(other.fd_, -1);
        isBlock_ = std::exchange(other.isBlock_, false);
    }
    return *this;
}

bool BlockDevice::Open(const std::string& path) {
    Close();
    if (path.empty()) return false;
    // Checked before the open as well as after it: opening a FIFO read-only waits for a writer.
    struct stat st {};
    if (stat(path.c_str(), &st) != 0 || !IsReadableKind(st.st_mode)) return false;
    int fd;
    do {
        fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) return false;
    if (fstat(fd, &st) != 0 || !IsReadableKind(st.st_mode)) {
        close(fd);
        return false;
    }
    fd_ = fd;
    isBlock_ = S_ISBLK(st.st_mode);
    return true;
}

void BlockDevice::Close() {
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
    isBlock_ = false;
}

int64_t BlockDevice::ReadAt(void* buffer, size_t size, int64_t offset) const {
    if (fd_ < 0 || offset < 0) return -1;
    if (size > static_cast<size_t>(std::numeric_limits<int64_t>::max() - offset)) return -1;
    auto* out = static_cast<unsigned char*>(buffer);
    size_t done = 0;
    while (done < size) {
        const size_t want = size - done < kMaxChunk ? size - done : kMaxChunk;
        const ssize_t got =
            pread(fd_, out + done, want, static_cast<off_t>(offset + static_cast<int64_t>(done)));
        if (got < 0) {
            if (errno == EINTR) continue;
            return done > 0 ? static_cast<int64_t>(done) : -1;
        }
        if (got == 0) break;
        done += static_cast<size_t>(got);
    }
    return static_cast<int64_t>(done);
}

int64_t BlockDevice::SizeBytes() const {
    if (fd_ < 0) return -1;
    if (isBlock_) {
        uint64_t bytes = 0;
        if (ioctl(fd_, BLKGETSIZE64, &bytes) != 0) return -1;
        if (bytes > static_cast<uint64_t>(std::numeric_limits<int64_t>::max())) return -1;
        return static_cast<int64_t>(bytes);
    }
    struct stat st {};
    if (fstat(fd_, &st) != 0) return -1;
    return static_cast<int64_t>(st.st_size);
}

bool BlockDevice::GetGeometry(BlockGeometry& geometry) const {
    const int64_t bytes = SizeBytes();
    if (bytes < 0) return false;
    uint32_t heads = kFallbackHeads;
    uint32_t sectors = kFallbackSectorsPerTrack;
    if (isBlock_) {
        hd_geometry g{};
        if (ioctl(fd_, HDIO_GETGEO, &g) == 0 && g.heads != 0 && g.sectors != 0) {
            heads = g.heads;
            sectors = g.sectors;
        }
    }
    geometry.heads = heads;
    geometry.sectorsPerTrack = sectors;
    geometry.bytesPerSector = 512;
    geometry.cylinders = bytes / 512 / (static_cast<int64_t>(heads) * sectors);
    return true;
}

}  // namespace keldrin::platform
