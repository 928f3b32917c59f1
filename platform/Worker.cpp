#include "platform/Worker.h"

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

namespace keldrin::platform {
namespace {

std::mutex g_pumpMutex;
MessagePump g_pump;

}  // namespace

void SetMessagePump(MessagePump pump) {
    std::lock_guard<std::mutex> lock(g_pumpMutex);
    g_pump = std::move(pump);
}

void PumpMessages() {
    MessagePump pump;
    {
        std::lock_guard<std::mutex> lock(g_pumpMutex);
        pump = g_pump;
    }
    if (pump) pump();
}

void RunWorker(const std::function<void()>& work, bool spin) {
    std::atomic<bool> done{false};
    std::thread worker([&] {
        work();
        done.store(true, std::memory_order_release);
    });
    while (!done.load(std::memory_order_acquire)) {
        PumpMessages();
        if (spin) {
            std::this_thread::yield();
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    worker.join();
}

}  // namespace keldrin::platform
