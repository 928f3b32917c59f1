#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/Worker.h"

namespace keldrin::platform {
namespace {

TEST(Worker, PumpsOnTheCallingThreadUntilTheWorkerEnds) {
    const std::thread::id caller = std::this_thread::get_id();
    std::atomic<int> pumps{0};
    std::atomic<bool> pumpedOnCaller{true};
    SetMessagePump([&] {
        ++pumps;
        if (std::this_thread::get_id() != caller) pumpedOnCaller = false;
    });
    std::thread::id workerId;
    std::atomic<bool> release{false};
    RunWorker([&] {
        workerId = std::this_thread::get_id();
        // Wait until the caller has pumped at least twice, so the pump is seen to run meanwhile.
        while (pumps.load() < 2) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        release = true;
    });
    EXPECT_TRUE(release.load());
    EXPECT_NE(workerId, caller);
    EXPECT_TRUE(pumpedOnCaller.load());
    SetMessagePump({});
    PumpMessages();  // an empty pump does nothing
}

TEST(Worker, SpinModeRunsToo) {
    int result = 0;
    RunWorker([&] { result = 42; }, /*spin=*/true);
    EXPECT_EQ(result, 42);
}

}  // namespace
}  // namespace keldrin::platform
