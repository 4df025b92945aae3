#include "PstSchedule.h"

namespace orvx::views {

namespace {

constexpr std::int64_t kDay = 86400;

std::int64_t hoursOf(std::int64_t seconds)
{
    return seconds / 3600 - (seconds / kDay) * 24;
}

std::int64_t minutesOf(std::int64_t seconds)
{
    return seconds / 60 - (seconds / 3600) * 60;
}

}  // namespace

PstSchedule computePstSchedule(const QDateTime& chosen, const QDateTime& now, std::int64_t intervalDays)
{
    const QDateTime anchor(QDate(2006, 1, 1), QTime(0, 0), chosen.timeSpec());
    const std::int64_t sinceAnchor = anchor.secsTo(chosen);
    PstSchedule schedule;
    const std::int64_t dayIndex = (sinceAnchor / kDay) % intervalDays;
    const std::int64_t minuteOfDay = (hoursOf(sinceAnchor) * 60 + minutesOf(sinceAnchor)) % 1440;
    schedule.dayIndex = static_cast<std::int32_t>(dayIndex);
    schedule.minuteOfDay = static_cast<std::int32_t>(minuteOfDay);

    const std::int64_t offset = dayIndex * kDay + (minuteOfDay / 60) * 3600 + (minuteOfDay % 60) * 60;
    const std::int64_t lead = now.secsTo(chosen);
    const std::int64_t remaining = lead <= offset ? offset - lead : offset + intervalDays * kDay - lead;
    schedule.remainingDays = static_cast<std::int32_t>(remaining / kDay);
    schedule.remainingMinutes = static_cast<std::int32_t>(hoursOf(remaining) * 60 + minutesOf(remaining));
    return schedule;
}

}  // namespace orvx::views
