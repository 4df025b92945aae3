#pragma once

#include "platform/ui/Clock.h"

#include <QDateTime>

namespace orvx::test {

// The wall clock stopped at one moment for as long as this lives; the clock before it comes
// back after. Tests that show, store or compute with dates set it, so they pass on any day.
class FixedWallClock : public ui::IWallClock {
public:
    explicit FixedWallClock(const QDateTime& moment)
        : m_msecs(moment.toMSecsSinceEpoch()), m_previous(ui::setWallClock(this))
    {
    }
    ~FixedWallClock() override { ui::setWallClock(m_previous); }
    FixedWallClock(const FixedWallClock&) = delete;
    FixedWallClock& operator=(const FixedWallClock&) = delete;

    void Set(const QDateTime& moment) { m_msecs = moment.toMSecsSinceEpoch(); }
    std::int64_t msecsSinceEpoch() const override { return m_msecs; }

private:
    std::int64_t m_msecs;
    ui::IWallClock* m_previous;
};

}  // namespace orvx::test
