// Little-endian fields of FAT structures, read from buffers whose size the caller has checked.
#pragma once

#include <cstddef>
#include <cstdint>

namespace keldrin::fat {

inline uint16_t Le16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
inline uint32_t Le32(const uint8_t* p) {
    return uint32_t{p[0]} | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) | (uint32_t{p[3]} << 24);
}

}  // namespace keldrin::fat
