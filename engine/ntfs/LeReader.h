// Little-endian reads over a byte span that never leave it: a read that does not fit yields 0, and
// Has() tells whether it would fit. Every on-disk field of the NTFS reader goes through here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace keldrin::ntfs {

class LeReader {
  public:
    constexpr LeReader() = default;
    constexpr explicit LeReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

    constexpr size_t Size() const { return bytes_.size(); }
    constexpr bool Has(size_t offset, size_t count) const {
        return offset <= bytes_.size() && count <= bytes_.size() - offset;
    }

    // Reads count (0 to 8) bytes as an unsigned little-endian number.
    constexpr uint64_t Uint(size_t offset, size_t count) const {
        if (count > 8 || !Has(offset, count)) return 0;
        uint64_t v = 0;
        for (size_t i = 0; i < count; ++i) v |= uint64_t{bytes_[offset + i]} << (8 * i);
        return v;
    }
    constexpr uint8_t U8(size_t offset) const { return static_cast<uint8_t>(Uint(offset, 1)); }
    constexpr uint16_t U16(size_t offset) const { return static_cast<uint16_t>(Uint(offset, 2)); }
    constexpr uint32_t U32(size_t offset) const { return static_cast<uint32_t>(Uint(offset, 4)); }
    constexpr uint64_t U64(size_t offset) const { return Uint(offset, 8); }
    constexpr int64_t I64(size_t offset) const { return static_cast<int64_t>(Uint(offset, 8)); }

    // The bytes [offset, offset + count), or an empty span when they do not fit.
    constexpr std::span<const uint8_t> Sub(size_t offset, size_t count) const {
        if (!Has(offset, count)) return {};
        return bytes_.subspan(offset, count);
    }

  private:
    std::span<const uint8_t> bytes_;
};

// References to records: the low 48 bits are the record number, the high 16 bits its sequence.
constexpr int64_t RecordNumberOf(uint64_t reference) {
    return static_cast<int64_t>(reference & 0xFFFFFFFFFFFFull);
}
constexpr uint16_t SequenceOf(uint64_t reference) {
    return static_cast<uint16_t>(reference >> 48);
}

}  // namespace keldrin::ntfs
