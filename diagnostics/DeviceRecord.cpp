#include "DeviceRecord.h"

#include "CurveText.h"
#include "device/DataFileLines.h"
#include "device/DeviceNames.h"

#include <stdexcept>

namespace orvx::diagnostics {

std::array<std::int32_t, kRecordValueCount> deviceRecordValues(DiagKind kind, const DeviceInteger& integer,
                                                               std::int32_t interval, std::int32_t unit)
{
    std::array<std::int32_t, kRecordValueCount> values{};
    const auto set = [&values](RecordValue which, std::int32_t value) {
        values[static_cast<std::size_t>(which)] = value;
    };
    if (kind == DiagKind::Pst) {
        for (int i = 0; i < kRecordValueCount; ++i) {
            const device::Parameter* source = device::datafile::kValueSources[static_cast<std::size_t>(i)];
            if (source && *source != device::parameter::MeasuredPressureUnit)
                set(RecordValue(i), integer(device::latin1(source->tag)));
        }
        set(RecordValue::NumSamplesUp,
            integer(device::tag::RecordSamples) - values[static_cast<std::size_t>(RecordValue::NumSamplesDown)]);
    } else {
        set(RecordValue::Interval, interval);  // so that a file of the event times its samples too
    }
    set(RecordValue::PresUnits, unit);
    return values;
}

std::optional<DiagRecord> readDeviceRecord(DiagKind kind, const DeviceText& text, QString* why)
{
    const auto integer = [&text](QLatin1StringView tag) {
        bool ok = false;
        const std::int32_t value = text(tag).trimmed().toInt(&ok);
        if (!ok)
            throw std::runtime_error("not a whole number");
        return value;
    };
    try {
        DiagRecord record;
        record.kind = kind;
        CurveTextResult exhaust = parseCurveText(text(device::tag::ExhaustCurve));
        CurveTextResult fill = parseCurveText(text(device::tag::FillCurve));
        if (!exhaust.Ok() || (kind == DiagKind::Pst && !fill.Ok())) {
            *why = kind == DiagKind::Pst ? QStringLiteral("the device holds no PST")
                                         : QStringLiteral("the device holds no ESD event");
            return std::nullopt;
        }
        record.curve1 = std::move(exhaust.curve);
        if (kind == DiagKind::Pst)
            record.curve2 = std::move(fill.curve);
        record.values = deviceRecordValues(kind, integer, integer(device::tag::SampleInterval),
                                           integer(device::tag::MeasuredPressureUnit));
        record.tag = text(device::tag::DeviceTag);
        record.deviceId = integer(device::tag::DeviceId);
        return record;
    } catch (const std::exception& error) {
        *why = QStringLiteral("a read from the device failed (%1)").arg(QString::fromUtf8(error.what()));
    }
    return std::nullopt;
}

}  // namespace orvx::diagnostics
