// A regular file's bytes seen where they lie in the page cache, so that a scan looks at them
// without copying them out first. Mapped PROT_READ only: the source can never be written through
// it.
#pragma once

#include <cstddef>
#include <cstdint>

namespace keldrin {

class CReadOnlyMapping {
  public:
    CReadOnlyMapping() = default;
    ~CReadOnlyMapping() { Unmap(); }
    CReadOnlyMapping(const CReadOnlyMapping&) = delete;
    CReadOnlyMapping& operator=(const CReadOnlyMapping&) = delete;

    // Maps length bytes of the regular file open as descriptor, from byteOffset. False, with
    // nothing mapped, when the range is empty or not wholly inside the file, the descriptor is no
    // regular file, or the kernel cannot check pages before they are touched (see Populate).
    bool Map(int descriptor, int64_t byteOffset, int64_t length);
    void Unmap();

    // Null when nothing is mapped.
    const uint8_t* Data() const { return data_; }
    int64_t Size() const { return size_; }

    // Makes the pages of [offset, offset + length) present without copying them. False when any
    // of them cannot be read (the file shrank, the disk failed) or the range is not mapped:
    // touching them then would kill the process, so the caller reads them another way.
    bool Populate(int64_t offset, int64_t length) const;

  private:
    uint8_t* base_ = nullptr;  // page-aligned start of the mapping
    size_t mappedBytes_ = 0;
    size_t page_ = 0;
    const uint8_t* data_ = nullptr;
    int64_t size_ = 0;
};

}  // namespace keldrin
