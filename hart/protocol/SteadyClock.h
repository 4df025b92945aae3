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

}  // namespace orvx::hart
