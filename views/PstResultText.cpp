#include "PstResultText.h"

#include "controls/PressureUnit.h"
#include "device/DeviceNames.h"
#include "device/StringBridge.h"
#include "frameworkapi/IUIController.h"

namespace orvx::views {

namespace {

constexpr int kLongest = 511;

QString text(framework::IUIController& controller, QLatin1StringView tag)
{
    return device::variantText(controller.GetParameterValue(tag));
}

}  // namespace

QString pstResultText(framework::IUIController& controller)
{
    const std::uint32_t unit = controller.GetParameterValue(device::tag::MeasuredPressureUnit).toUInt32();
    const QString word = controls::pressureUnitWord(unit);
    const bool passed = text(controller, device::tag::PstPassed).trimmed() == QLatin1String("0");
    QString result =
        QStringLiteral("PST Passed = %1\r\nFriction = %2 %9\r\nLSpringRange = %3 %9\r\nUSpringRange = %4 %9\r\n"
                       "BreakAwayPressure = %5 %9\r\nDroop = %6 %9\r\nTime Exhaust = %7 sec\r\nTime Fill = %8 sec")
            .arg(passed ? QStringLiteral("Passed") : QStringLiteral("Failed"),
                 text(controller, device::tag::PstFriction), text(controller, device::tag::PstLowerSpring),
                 text(controller, device::tag::PstUpperSpring), text(controller, device::tag::PstBreakaway),
                 text(controller, device::tag::PstDroopResult), text(controller, device::tag::PstExhaustTime),
                 text(controller, device::tag::PstFillTime), word);
    result.truncate(kLongest);
    return result;
}

QString performedTimeLine(framework::IUIController& controller, const QDateTime& now)
{
    const std::uint32_t high = controller.GetParameterValue(device::tag::PstCounterHigh).toUInt32();
    const std::uint32_t low = controller.GetParameterValue(device::tag::PstCounterLow).toUInt32();
    const std::uint32_t counter = controller.GetParameterValue(device::tag::DeviceCounter).toUInt32();
    const std::uint32_t stamp = high * 65536u + low;
    // A stamp from before the counter last wrapped or restarted counts from the counter's start.
    const qint64 ago = stamp < counter ? qint64(counter) - qint64(stamp) : qint64(counter);
    return now.addSecs(-ago).toLocalTime().toString(QStringLiteral("'Performed Time: 'yyyy-MM-dd HH:mm'\r\n'"));
}

}  // namespace orvx::views
