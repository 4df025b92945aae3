#include "EsdSampling.h"

#include <algorithm>
#include <map>
#include <utility>

namespace orvx::diagnostics {

namespace {

using Device = std::pair<QString, std::int32_t>;

std::map<Device, int>& intervals()
{
    static std::map<Device, int> known;
    return known;
}

}  // namespace

void rememberEsdInterval(const QString& tag, std::int32_t deviceId, int intervalMs)
{
    // A device that reports no interval leaves what it reported before.
    if (intervalMs > 0)
        intervals()[{tag.trimmed(), deviceId}] = intervalMs;
}

int samplingIntervalOf(const DiagRecord& record)
{
    const int own = record.Value(RecordValue::Interval);
    if (own > 0 || record.kind != DiagKind::Esd)
        return std::max(own, 0);
    const auto known = intervals().find({record.tag.trimmed(), record.deviceId});
    return known == intervals().end() ? 0 : known->second;
}

}  // namespace orvx::diagnostics
