#pragma once

#include <chrono>
#include <cstdint>

namespace orvx::hart {

// Milliseconds on the monotonic clock: the HART timers count with it, never with the date.
inline std::uint64_t steadyNowMs()
{
    using namespace std::chrono;
    return static_cast<std::uint64_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

// What is left of the time until `deadline`, in whole milliseconds, never below zero: a poll's
// time-out.
inline int remainingMs(std::chrono::steady_clock::time_point deadline)
{
    using namespace std::chrono;
    const auto left = duration_cast<milliseconds>(deadline - steady_clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

}  // namespace orvx::hart
