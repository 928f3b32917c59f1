#include "engine/devices/ReadOnlyMapping.h"

#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <limits>

namespace keldrin {

bool CReadOnlyMapping::Map(int descriptor, int64_t byteOffset, int64_t length) {
    Unmap();
    struct stat st {};
    if (descriptor < 0 || byteOffset < 0 || length <= 0 || fstat(descriptor, &st) != 0 ||
        !S_ISREG(st.st_mode) || byteOffset > st.st_size || length > st.st_size - byteOffset)
        return false;
    const long page = sysconf(_SC_PAGESIZE);
    if (page <= 0) return false;
    page_ = static_cast<size_t>(page);
    const int64_t lead = byteOffset % page;
    if (static_cast<uint64_t>(length) > std::numeric_limits<size_t>::max() - static_cast<uint64_t>(lead))
        return false;
    const auto bytes = static_cast<size_t>(lead + length);
    void* p = mmap(nullptr, bytes, PROT_READ, MAP_SHARED, descriptor, byteOffset - lead);
    if (p == MAP_FAILED) return false;
    base_ = static_cast<uint8_t*>(p);
    mappedBytes_ = bytes;
    data_ = base_ + lead;
    size_ = length;
    // Without MADV_POPULATE_READ (kernels before 5.14) a page that cannot be read is found only by
    // touching it, which is not survivable; such kernels keep to plain reads.
    if (!Populate(0, 1)) {
        Unmap();
        return false;
    }
    return true;
}

void CReadOnlyMapping::Unmap() {
    if (base_) munmap(base_, mappedBytes_);
    base_ = nullptr;
    mappedBytes_ = 0;
    data_ = nullptr;
    size_ = 0;
}

bool CReadOnlyMapping::Populate(int64_t offset, int64_t length) const {
#ifdef MADV_POPULATE_READ
    if (!base_ || offset < 0 || length <= 0 || offset > size_ || length > size_ - offset) return false;
    const auto start = static_cast<size_t>(data_ - base_ + offset);
    const size_t from = start - start % page_;
    return madvise(base_ + from, start + static_cast<size_t>(length) - from, MADV_POPULATE_READ) == 0;
#else
    (void)offset;
    (void)length;
    return false;
#endif
}

}  // namespace keldrin
