#include "DeviceValues.h"

#include "CurveText.h"
#include "controls/PressureUnit.h"
#include "device/DeviceNames.h"
#include "device/StringBridge.h"
#include "frameworkapi/ParameterRead.h"

#include <stdexcept>

namespace orvx::diagnostics {

QString CDeviceValues::Text(QLatin1StringView tag) const
{
    return device::variantText(m_controller.GetParameterValue(tag));
}

std::int32_t CDeviceValues::Integer(QLatin1StringView tag) const
{
    return m_controller.GetParameterValue(tag).toInt32();
}

float CDeviceValues::Number(QLatin1StringView tag) const
{
    bool ok = false;
    const float value = Text(tag).trimmed().toFloat(&ok);
    if (!ok)
        throw std::runtime_error("not a number");
    return value;
}

std::optional<float> CDeviceValues::TryNumber(QLatin1StringView tag) const
{
    try {
        return Number(tag);
    } catch (const std::exception& error) {
        framework::showReadFailure(m_controller, tag, QString::fromLocal8Bit(error.what()));
        return std::nullopt;
    }
}

std::optional<std::int32_t> CDeviceValues::TryInteger(QLatin1StringView tag) const
{
    return framework::readParameter(&m_controller, tag, &com::Variant::toInt32);
}

std::optional<PstLimits> CDeviceValues::Limits() const
{
    QLatin1StringView tag = device::tag::PressureUnit;  // the one being read
    try {
        const auto from = static_cast<std::uint32_t>(Integer(tag));
        const auto to = static_cast<std::uint32_t>(Integer(tag = device::tag::MeasuredPressureUnit));
        const auto limit = [&](QLatin1StringView limitTag) {
            return controls::convertPressure(Number(tag = limitTag), from, to);
        };
        return PstLimits{limit(device::tag::PstFrictionLow), limit(device::tag::PstFrictionHigh),
                         limit(device::tag::PstBreakout), limit(device::tag::PstDroop)};
    } catch (const std::exception& error) {
        framework::showReadFailure(m_controller, tag, QString::fromLocal8Bit(error.what()));
        return std::nullopt;
    }
}

std::optional<SignatureFigures> CDeviceValues::Figures() const
{
    QLatin1StringView tag = device::tag::ExhaustCurve;  // the one being read
    try {
        const auto curve = [&](QLatin1StringView curveTag) {
            CurveTextResult read = parseCurveText(Text(tag = curveTag));
            if (!read.Ok())
                throw std::runtime_error("the curve text does not read");
            return std::move(read.curve);
        };
        const Curve exhaust = curve(device::tag::ExhaustCurve);
        const Curve fill = curve(device::tag::FillCurve);
        const std::int32_t interval = Integer(tag = device::tag::SampleInterval);
        const auto unit = static_cast<std::uint32_t>(Integer(tag = device::tag::MeasuredPressureUnit));
        return analyseSignature(exhaust, fill, interval, unit);
    } catch (const std::exception& error) {
        framework::showReadFailure(m_controller, tag, QString::fromLocal8Bit(error.what()));
        return std::nullopt;
    }
}

}  // namespace orvx::diagnostics
