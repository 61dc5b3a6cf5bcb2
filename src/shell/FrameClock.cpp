#include "shell/FrameClock.h"

#include <chrono>

#include "shell/Globals.h"
#include "world/Globals.h"

namespace {

using Ticks = std::chrono::duration<std::int64_t, std::ratio<1, 10'000'000>>; // 100 ns
constexpr std::int64_t nanosecondsPerTick = 100;
constexpr double secondsPerNanosecond = 1e-9;

template <typename Clock>
std::int64_t nanosecondsOf() {
    const auto ticks = std::chrono::duration_cast<Ticks>(Clock::now().time_since_epoch());
    return ticks.count() * nanosecondsPerTick;
}

} // namespace

std::int64_t monotonicNanoseconds() {
    return nanosecondsOf<std::chrono::steady_clock>();
}
std::int64_t wallClockNanoseconds() {
    return nanosecondsOf<std::chrono::system_clock>();
}

void updateDeltaTime() {
    previousFrameTime = currentFrameTime;
    currentFrameTime = monotonicNanoseconds();
    deltaTime = static_cast<double>(currentFrameTime - previousFrameTime) * secondsPerNanosecond;
}

void resumeFrameClock() {
    currentFrameTime = monotonicNanoseconds();
}
