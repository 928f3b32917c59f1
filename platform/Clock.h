// Millisecond tick from a steady clock (stands in for the system's tick count).
#pragma once

#include <cstdint>

namespace keldrin::platform {

uint64_t TickMs();

}  // namespace keldrin::platform
