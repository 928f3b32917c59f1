#include "platform/Worker.h"

#include <chrono>
#include <condition_variable>
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
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    std::thread worker([&] {
        work();
        std::lock_guard<std::mutex> lock(mutex);
        done = true;
        finished.notify_one();
    });
    const auto isDone = [&] { return done; };
    for (;;) {
        {
            std::lock_guard<std::mutex> lock(mutex);
            if (done) break;
        }
        PumpMessages();
        if (spin) {
            std::this_thread::yield();
            continue;
        }
        // Woken as soon as the work ends: a short build would otherwise wait out the interval.
        std::unique_lock<std::mutex> lock(mutex);
        finished.wait_for(lock, std::chrono::milliseconds(10), isDone);
    }
    worker.join();
}

}  // namespace keldrin::platform
