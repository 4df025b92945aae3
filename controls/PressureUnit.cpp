#include "PressureUnit.h"

namespace orvx::controls {

namespace {

// Units of the code per psi.
double perPsi(std::uint32_t unitCode)
{
    switch (unitCode) {
    case PressureBar: return 0.0689475729;
    case PressureKpa: return 6.89475729;
    default: return 1.0;
    }
}

}  // namespace

QString pressureUnitName(std::uint32_t unitCode)
{
    switch (unitCode) {
    case PressurePsi: return QStringLiteral("psi");
    case PressureBar: return QStringLiteral("bar");
    case PressureKpa: return QStringLiteral("kpa");
    default: return QString();
    }
}

QString pressureUnitWord(std::uint32_t unitCode)
{
    const QString name = pressureUnitName(unitCode);
    return name.isEmpty() ? QStringLiteral("psi") : name;
}

double convertPressure(double value, std::uint32_t fromUnit, std::uint32_t toUnit)
{
    if (fromUnit == toUnit)
        return value;
    return value / perPsi(fromUnit) * perPsi(toUnit);
}

int pressureDecimals(std::uint32_t unitCode)
{
    return unitCode == PressurePsi ? 1 : unitCode == PressureBar ? 3 : 0;
}

}  // namespace orvx::controls
