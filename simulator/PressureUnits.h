#pragma once

namespace orvx::simulator {

// HART unit codes of the device's pressures. The device works in psi and reports in the
// chosen unit; any other code counts as psi.
inline constexpr int kPsi = 6;
inline constexpr int kBar = 7;
inline constexpr int kKpa = 12;

inline bool isPressureUnit(int unit)
{
    return unit == kPsi || unit == kBar || unit == kKpa;
}

inline double unitsPerPsi(int unit)
{
    return unit == kBar ? 0.0689475729 : unit == kKpa ? 6.89475729 : 1.0;
}

inline double fromPsi(double psi, int unit)
{
    return psi * unitsPerPsi(unit);
}

inline double toPsi(double value, int unit)
{
    return value / unitsPerPsi(unit);
}

// Decimals the device reports a pressure with.
inline int pressureDecimals(int unit)
{
    return unit == kBar ? 3 : 1;
}

}  // namespace orvx::simulator
