#pragma once

#include "PstGrading.h"
#include "SignatureAnalysis.h"

#include <QLatin1StringView>
#include <QString>

#include <cstdint>
#include <optional>

namespace orvx::framework {
class IUIController;
}

namespace orvx::diagnostics {

// Reads the parameters of a test's result through the controller. A refused read, or a text
// that is not the number asked for, throws (com::ComError or std::runtime_error).
class CDeviceValues {
public:
    explicit CDeviceValues(framework::IUIController& controller) : m_controller(controller) {}

    QString Text(QLatin1StringView tag) const;
    std::int32_t Integer(QLatin1StringView tag) const;
    // Held by the device as a 32-bit float.
    float Number(QLatin1StringView tag) const;
    // None instead of throwing.
    std::optional<float> TryNumber(QLatin1StringView tag) const;
    std::optional<std::int32_t> TryInteger(QLatin1StringView tag) const;

    // The configured limits in the unit of the results (MeasuredPressureUnit), converted from the
    // unit of the settings (PressureUnit); none when one cannot be read.
    std::optional<PstLimits> Limits() const;

    // The figures read off the last PST's signature as the device keeps it: both curve texts, the
    // sample interval and the results' unit, read as the graph loads them. None, with the
    // failed read on the status line, when one cannot be read or a curve text does not read.
    std::optional<SignatureFigures> Figures() const;

private:
    framework::IUIController& m_controller;
};

}  // namespace orvx::diagnostics
