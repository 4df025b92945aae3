#include "Clock.h"

#include <chrono>
#include <utility>

namespace orvx::ui {

namespace {

class SystemClock : public ISteadyClock {
public:
    std::int64_t milliseconds() const override
    {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }
};

SystemClock g_system;
ISteadyClock* g_clock = &g_system;

}  // namespace

ISteadyClock& steadyClock()
{
    return *g_clock;
}

ISteadyClock* setSteadyClock(ISteadyClock* clock)
{
    return std::exchange(g_clock, clock ? clock : &g_system);
}

}  // namespace orvx::ui
