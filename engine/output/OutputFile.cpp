#include "engine/output/OutputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace keldrin::output {

bool COutputFile::Open(const std::string& path, OpenMode mode) {
    Close();
    int flags = O_CLOEXEC;
    switch (mode) {
        case OpenMode::kRead:
            flags |= O_RDONLY;
            break;
        case OpenMode::kWrite:
            flags |= O_WRONLY;
            break;
        case OpenMode::kReadWrite:
            flags |= O_RDWR;
            break;
        case OpenMode::kCreate:
            // Truncated below only when not empty: ext4 flushes a file that open truncated when it
            // is closed, which would make every recovered file wait for the disk.
            flags |= O_RDWR | O_CREAT;
            break;
        case OpenMode::kOpenOrCreate:
            flags |= O_RDWR | O_CREAT;
            break;
    }
    fd_ = ::open(path.c_str(), flags, 0666);
    error_ = fd_ < 0 ? errno : 0;
    if (fd_ >= 0 && mode == OpenMode::kCreate) {
        struct stat st {};
        if (::fstat(fd_, &st) != 0 || (st.st_size != 0 && ::ftruncate(fd_, 0) != 0)) {
            error_ = errno;
            Close();
        }
    }
    return fd_ >= 0;
}

bool COutputFile::Write(const void* data, size_t size) {
    if (fd_ < 0) return false;
    const auto* p = static_cast<const uint8_t*>(data);
    while (size > 0) {
        const ssize_t n = ::write(fd_, p, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            error_ = errno;
            return false;
        }
        if (n == 0) {
            error_ = ENOSPC;
            return false;
        }
        p += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

size_t COutputFile::CopyFrom(int descriptor, int64_t offset, size_t size) {
    error_ = 0;
    if (fd_ < 0) return 0;
    loff_t from = offset;
    size_t copied = 0;
    while (copied < size) {
        const ssize_t n = ::copy_file_range(descriptor, &from, fd_, nullptr, size - copied, 0);
        if (n < 0) {
            if (errno == EINTR) continue;
            const bool unsupported =
                errno == EXDEV || errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP || errno == EBADF;
            error_ = unsupported ? 0 : errno;
            break;
        }
        if (n == 0) break;
        copied += static_cast<size_t>(n);
    }
    return copied;
}

int64_t COutputFile::Read(void* data, size_t size) {
    if (fd_ < 0) return -1;
    for (;;) {
        const ssize_t n = ::read(fd_, data, size);
        if (n >= 0) return n;
        if (errno != EINTR) {
            error_ = errno;
            return -1;
        }
    }
}

bool COutputFile::Seek(int64_t offset) {
    if (fd_ < 0) return false;
    if (::lseek(fd_, offset, SEEK_SET) < 0) {
        error_ = errno;
        return false;
    }
    return true;
}

void COutputFile::Close() {
    if (fd_ >= 0) {
        if (::close(fd_) != 0) error_ = errno;
        fd_ = -1;
    }
}

int CreateNewFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return errno;
    ::close(fd);
    return 0;
}

}  // namespace keldrin::output
