#pragma once

#include "device/Vocabulary.h"

namespace orvx::simulator {

// HART unit codes of the device's pressures. The device works in psi and reports in the
// chosen unit; any other code counts as psi.
inline constexpr int kPsi = device::pressure::Psi;
inline constexpr int kBar = device::pressure::Bar;
inline constexpr int kKpa = device::pressure::Kpa;

inline bool isPressureUnit(int unit)
{
    return unit == kPsi || unit == kBar || unit == kKpa;
}

inline double fromPsi(double psi, int unit)
{
    return psi * device::unitsPerPsi(unit);
}

inline double toPsi(double value, int unit)
{
    return value / device::unitsPerPsi(unit);
}

// Decimals the device reports a pressure with.
inline int pressureDecimals(int unit)
{
    return unit == kBar ? 3 : 1;
}

}  // namespace orvx::simulator
