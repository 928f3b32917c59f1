// Little-endian reads of on-disk fields that answer 0 for any field outside the buffer, so a
// damaged structure can never make the reader touch memory it does not own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace keldrin::ext2 {

inline uint32_t LeField(std::span<const uint8_t> bytes, size_t offset, size_t width) {
    if (offset > bytes.size() || width > bytes.size() - offset) return 0;
    uint32_t value = 0;
    for (size_t i = 0; i < width; ++i) value |= uint32_t{bytes[offset + i]} << (8 * i);
    return value;
}

inline uint32_t Le32(std::span<const uint8_t> bytes, size_t offset) {
    return LeField(bytes, offset, 4);
}
inline uint16_t Le16(std::span<const uint8_t> bytes, size_t offset) {
    return static_cast<uint16_t>(LeField(bytes, offset, 2));
}
inline uint8_t Le8(std::span<const uint8_t> bytes, size_t offset) {
    return static_cast<uint8_t>(LeField(bytes, offset, 1));
}

}  // namespace keldrin::ext2
