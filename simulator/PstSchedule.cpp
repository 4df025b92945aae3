#include "PstSchedule.h"

#include "ParameterTable.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace orvx::simulator {

namespace parameter = device::parameter;

namespace {

constexpr std::int64_t kMinuteMs = 60'000;
constexpr std::int64_t kDayMinutes = 1440;
constexpr std::int64_t kLongestIntervalDays = 365;

// The table's value under 'tag' when it is a whole number in [0, limit).
std::optional<std::int64_t> wholeBelow(const ParameterTable& table, const device::Parameter& p, std::int64_t limit)
{
    const double value = table.Number(p, -1);
    if (value < 0 || value >= static_cast<double>(limit) || value != std::floor(value))
        return std::nullopt;
    return static_cast<std::int64_t>(value);
}

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

bool PstSchedule::StartFrom(const ParameterTable& table, std::int64_t writtenMs)
{
    const auto interval = wholeBelow(table, parameter::PstInterval, kLongestIntervalDays + 1);
    if (!interval || *interval < 1)
        return false;
    const auto startDay = wholeBelow(table, parameter::PstStartDay, *interval);
    const auto startMinute = wholeBelow(table, parameter::PstStartMinute, kDayMinutes);
    const auto elapsedDays = wholeBelow(table, parameter::PstElapsedDays, *interval);
    const auto elapsedMinutes = wholeBelow(table, parameter::PstElapsedMinutes, kDayMinutes);
    if (!startDay || !startMinute || !elapsedDays || !elapsedMinutes)
        return false;
    const std::int64_t cycle = *interval * kDayMinutes;
    const std::int64_t start = *startDay * kDayMinutes + *startMinute;
    const std::int64_t elapsed = *elapsedDays * kDayMinutes + *elapsedMinutes;
    const std::int64_t wait = ((start - elapsed) % cycle + cycle) % cycle;
    Start(0, wait, writtenMs);
    return true;
}

void PstSchedule::Show(ParameterTable& table, std::int64_t nowMs)
{
    const Left left = Remaining(nowMs, static_cast<std::int64_t>(table.Number(parameter::PstInterval, 1)));
    table.SetNumber(parameter::PstDaysToNext, static_cast<double>(left.days));
    table.SetNumber(parameter::PstMinutesToNext, static_cast<double>(left.minutes));
}

}  // namespace orvx::simulator
