#pragma once

#include <QDateTime>
#include <QString>

namespace orvx::framework {
class IUIController;
}

namespace orvx::views {

// The result of the last PST as the pages show it, the pressures in the results' pressure unit
// and the exhaust and fill times in seconds: "PST Passed = Passed\r\nFriction = 6 psi\r\n...
// Time Fill = 3.1 sec"; at most 511 characters. A failed read raises com::ComError.
QString pstResultText(framework::IUIController& controller);

// "Performed Time: 2026-12-06 14:05\r\n": when the last PST ran, worked out from the device's
// time counter now and at that test, against 'now'.
QString performedTimeLine(framework::IUIController& controller, const QDateTime& now);

}  // namespace orvx::views
