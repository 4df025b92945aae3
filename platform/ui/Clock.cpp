#include "Clock.h"

#include <QDateTime>

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

class SystemWallClock : public IWallClock {
public:
    std::int64_t msecsSinceEpoch() const override { return QDateTime::currentMSecsSinceEpoch(); }
};

SystemClock g_system;
ISteadyClock* g_clock = &g_system;
SystemWallClock g_systemWall;
IWallClock* g_wallClock = &g_systemWall;

}  // namespace

ISteadyClock& steadyClock()
{
    return *g_clock;
}

ISteadyClock* setSteadyClock(ISteadyClock* clock)
{
    return std::exchange(g_clock, clock ? clock : &g_system);
}

IWallClock& wallClock()
{
    return *g_wallClock;
}

IWallClock* setWallClock(IWallClock* clock)
{
    return std::exchange(g_wallClock, clock ? clock : &g_systemWall);
}

QDateTime currentDateTime()
{
    return QDateTime::fromMSecsSinceEpoch(g_wallClock->msecsSinceEpoch());
}

QDate currentDate()
{
    return currentDateTime().date();
}

}  // namespace orvx::ui
