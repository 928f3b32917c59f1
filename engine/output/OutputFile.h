// A destination file of the recovery writer (and of the image writer): a POSIX descriptor with the
// open modes the writers use. Never opens a source device.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace keldrin::output {

enum class OpenMode {
    kRead = 0,          // existing
    kWrite = 1,         // existing
    kReadWrite = 2,     // existing
    kCreate = 3,        // read and write, created or truncated
    kOpenOrCreate = 4,  // read and write, opened or created
};

class COutputFile {
  public:
    COutputFile() = default;
    ~COutputFile() { Close(); }
    COutputFile(const COutputFile&) = delete;
    COutputFile& operator=(const COutputFile&) = delete;

    bool Open(const std::string& path, OpenMode mode);
    bool IsOpen() const { return fd_ >= 0; }
    // True only when every byte was written. A full device leaves errno ENOSPC in LastError.
    bool Write(const void* data, size_t size);
    // Copies size bytes from descriptor at offset in the kernel, without a pass through the
    // process; answers the bytes copied. Fewer when the source ends or fails early (LastError
    // says ENOSPC for a full destination); 0 with LastError 0 when the kernel cannot copy between
    // these two files, so the caller reads and writes instead.
    size_t CopyFrom(int descriptor, int64_t offset, size_t size);
    // Bytes read, 0 at the end, -1 on failure.
    int64_t Read(void* data, size_t size);
    bool Seek(int64_t offset);
    void Close();
    // The errno of the last failed call.
    int LastError() const { return error_; }

  private:
    int fd_ = -1;
    int error_ = 0;
};

// Creates path as a new file (fails when anything is there); 0 or the errno.
int CreateNewFile(const std::string& path);

}  // namespace keldrin::output
