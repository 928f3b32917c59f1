#include "engine/raw/RawByteReader.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <vector>

namespace keldrin {
namespace {

// One window per thread, shared by the readers of that thread: only one is in use at a time, and
// a reader that finds another one's bytes there reads its window again.
struct SharedWindow {
    std::vector<uint8_t> bytes;
    const CRawByteReader* owner = nullptr;
    size_t valid = 0;  // bytes read into the buffer
};

SharedWindow& Window() {
    thread_local SharedWindow window;
    return window;
}

}  // namespace

CRawByteReader::~CRawByteReader() {
    SharedWindow& w = Window();
    if (w.owner == this) w.owner = nullptr;
}

bool CRawByteReader::Load(int64_t window) {
    SharedWindow& w = Window();
    if (w.owner == this && window_ == window) return w.valid > 0;
    w.owner = nullptr;
    window_ = -1;
    if (!device_ || start_ < 0 ||
        window > (std::numeric_limits<int64_t>::max() - start_) / kRawWindowSectors - 1)
        return false;
    if (w.bytes.empty()) {
        try {
            w.bytes.assign(static_cast<size_t>((kRawWindowSectors + 1) * kSectorSize), 0);
        } catch (const std::exception&) {
            return false;
        }
    }
    const int64_t sector = start_ + window * kRawWindowSectors;
    int64_t count = kRawWindowSectors + 1;
    if (!device_->ReadSectors(w.bytes.data(), sector, count)) {
        // Near the end of the device: what is left of it, at most one window.
        count = std::min(device_->GetTotalSectors() - sector, kRawWindowSectors);
        if (count <= 0 || !device_->ReadSectors(w.bytes.data(), sector, count)) return false;
    }
    w.owner = this;
    w.valid = static_cast<size_t>(count * kSectorSize);
    window_ = window;
    return true;
}

const uint8_t* CRawByteReader::GetByte(int64_t offset) {
    if (offset < 0 || !Load(offset / kRawWindowBytes)) return nullptr;
    const size_t inside = static_cast<size_t>(offset % kRawWindowBytes);
    SharedWindow& w = Window();
    return inside < w.valid ? w.bytes.data() + inside : nullptr;
}

size_t CRawByteReader::GetAvailable(int64_t offset) {
    if (!GetByte(offset)) return 0;
    return Window().valid - static_cast<size_t>(offset % kRawWindowBytes);
}

bool CRawByteReader::ReadBytes(int64_t offset, void* out, size_t count) {
    auto* to = static_cast<uint8_t*>(out);
    while (count > 0) {
        const uint8_t* from = GetByte(offset);
        if (!from) return false;
        const size_t inWindow = static_cast<size_t>(kRawWindowBytes - offset % kRawWindowBytes);
        const size_t n = std::min({count, inWindow, GetAvailable(offset)});
        std::memcpy(to, from, n);
        to += n;
        count -= n;
        offset += static_cast<int64_t>(n);
    }
    return true;
}

}  // namespace keldrin
