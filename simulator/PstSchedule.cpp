#include "PstSchedule.h"

#include "ParameterTable.h"

#include <algorithm>

namespace orvx::simulator {

namespace {

constexpr std::int64_t kMinuteMs = 60'000;
constexpr std::int64_t kDayMinutes = 1440;

}  // namespace

void PstSchedule::Start(std::int64_t days, std::int64_t minutes, std::int64_t nowMs)
{
    m_dueMs = nowMs + (days * kDayMinutes + minutes) * kMinuteMs;
}

PstSchedule::Left PstSchedule::Remaining(std::int64_t nowMs, std::int64_t intervalDays)
{
    if (m_dueMs <= nowMs) {
        const std::int64_t period = std::max<std::int64_t>(intervalDays, 1) * kDayMinutes * kMinuteMs;
        m_dueMs += ((nowMs - m_dueMs) / period + 1) * period;
    }
    const std::int64_t minutes = (m_dueMs - nowMs + kMinuteMs - 1) / kMinuteMs;
    return {minutes / kDayMinutes, minutes % kDayMinutes};
}

bool PstSchedule::StartFrom(const ParameterTable& table, std::int64_t nowMs)
{
    const double days = table.Number("16030", -1);
    const double minutes = table.Number("16031", -1);
    if (days < 0 || minutes < 0 || days > 3650 || minutes > 1e6)
        return false;
    Start(static_cast<std::int64_t>(days), static_cast<std::int64_t>(minutes), nowMs);
    return true;
}

void PstSchedule::Show(ParameterTable& table, std::int64_t nowMs)
{
    const Left left = Remaining(nowMs, static_cast<std::int64_t>(table.Number("16012", 1)));
    table.SetNumber("16013", static_cast<double>(left.days));
    table.SetNumber("16014", static_cast<double>(left.minutes));
}

}  // namespace orvx::simulator
