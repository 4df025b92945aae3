#pragma once

#include <QString>

#include <cstdint>

namespace orvx::controls {

// HART engineering-unit codes of the pressures the device reports.
enum PressureUnit : std::uint32_t {
    PressurePsi = 6,
    PressureBar = 7,
    PressureKpa = 12,
};

// "psi", "bar" or "kpa"; the empty text for any other code.
QString pressureUnitName(std::uint32_t unitCode);
// The same, but "psi" for any other code, as the conversions below count it.
QString pressureUnitWord(std::uint32_t unitCode);

// A pressure in one unit expressed in another. Every conversion goes through psi; a code that
// is not one of the three counts as psi.
double convertPressure(double value, std::uint32_t fromUnit, std::uint32_t toUnit);

// Decimals a pressure is shown with: 1 for psi, 3 for bar, 0 for anything else.
int pressureDecimals(std::uint32_t unitCode);

}  // namespace orvx::controls
