#include "platform/Clock.h"

#include <chrono>

namespace keldrin::platform {

uint64_t TickMs() {
    using namespace std::chrono;
    return static_cast<uint64_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

}  // namespace keldrin::platform
