#pragma once

#include "platform/ui/Clock.h"

namespace orvx::test {

// A clock that moves only when the test moves it. Installed for its lifetime.
class ManualClock : public ui::ISteadyClock {
public:
    explicit ManualClock(std::int64_t start = 1000) : m_now(start) { m_previous = ui::setSteadyClock(this); }
    ~ManualClock() override { ui::setSteadyClock(m_previous); }
    std::int64_t milliseconds() const override { return m_now; }
    void advance(std::int64_t ms) { m_now += ms; }

private:
    std::int64_t m_now;
    ui::ISteadyClock* m_previous = nullptr;
};

}  // namespace orvx::test
