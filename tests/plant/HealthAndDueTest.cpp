// A valve's NE 107 category from its faults and mode, and when its next PST is due.
#include "plant/DeviceHealth.h"
#include "plant/PstDue.h"

#include <gtest/gtest.h>

#include <QTimeZone>

namespace orvx::plant {
namespace {

struct HealthCase {
    const char* faults;
    int mode;
    DeviceHealth expected;
    const char* what;
};

// Bit n lies in byte (n-1)/8 at bit (n-1)%8, so the bytes below are written out by hand.
const HealthCase kHealthCases[] = {
    {"", 3, DeviceHealth::Unknown, "no faults read"},
    {"00000000000000000", 3, DeviceHealth::Unknown, "17 digits"},
    {"00000000000000000g", 3, DeviceHealth::Unknown, "not hexadecimal"},
    {"+00000000000000000", 0, DeviceHealth::Unknown, "a sign, in setup mode"},
    {"000000000000000000", 3, DeviceHealth::Good, "none raised, normal mode"},
    {" 000000000000000000 ", 3, DeviceHealth::Good, "blanks around it"},
    {"000000000000000000", 0, DeviceHealth::FunctionCheck, "setup mode"},
    {"000000000000000000", -1, DeviceHealth::Unknown, "none raised, mode unknown"},
    {"010000000000000000", 3, DeviceHealth::Good, "bit 1, Reset, only informs"},
    {"080000000000000000", 3, DeviceHealth::OutOfRange, "bit 4, Low Air Supply Warning"},
    {"000000000000000800", 3, DeviceHealth::MaintenanceRequired, "bit 60, Friction Above Normal"},
    {"000000000000000080", 3, DeviceHealth::MaintenanceRequired, "bit 72, PST Out Of Schedule"},
    {"080000000000000800", 3, DeviceHealth::OutOfRange, "bits 4 and 60: the worse counts"},
    {"000000000000010000", 3, DeviceHealth::FunctionCheck, "bit 49, ESD Valve Tripped"},
    {"000000000000080000", 3, DeviceHealth::Failure, "bit 52, PST Failed"},
    {"000000000000080000", 0, DeviceHealth::Failure, "a failure outweighs setup mode"},
    {"000000000000000800", 1, DeviceHealth::FunctionCheck, "manual mode outweighs maintenance"},
    {"000000000000000800", -1, DeviceHealth::MaintenanceRequired, "mode unknown, a fault raised"},
    {"040000000000000000", 3, DeviceHealth::Failure, "bit 3, Actuator Error: the first byte is bits 1 to 8"},
    {"000400000000000000", 3, DeviceHealth::MaintenanceRequired, "bit 11, Autotune Failed"},
    {"0000000000000000C0", 3, DeviceHealth::MaintenanceRequired, "bits 71 and 72, upper case"},
    {"000000000000000000", 2, DeviceHealth::Unknown, "a mode the device has not"},
};

TEST(DeviceHealth, EachFaultAndModeGivesItsCategory)
{
    for (const HealthCase& c : kHealthCases)
        EXPECT_EQ(healthOf(QString::fromLatin1(c.faults), c.mode), c.expected) << c.what;
}

const QDateTime kLast(QDate(2026, 1, 10), QTime(8, 0), Qt::UTC);

ValveRow tested(std::optional<QDateTime> last, int interval)
{
    ValveRow row;
    row.key = QStringLiteral("k");
    row.lastPst = last;
    row.pstIntervalDays = interval;
    return row;
}

TEST(PstDue, AValveWithoutAKeptPstIsOverdueAnUnknownIntervalIsNot)
{
    for (const int interval : {0, 30})
        EXPECT_TRUE(pstDue(tested(std::nullopt, interval), kLast).overdue) << interval;
    const PstDue unknown = pstDue(tested(kLast, 0), kLast.addYears(3));
    EXPECT_FALSE(unknown.overdue);
    EXPECT_FALSE(unknown.due);
}

TEST(PstDue, OverdueOnlyAfterTheDueInstant)
{
    const QDateTime due(QDate(2026, 2, 9), QTime(8, 0), Qt::UTC);
    EXPECT_EQ(pstDue(tested(kLast, 30), due).due, due);
    EXPECT_FALSE(pstDue(tested(kLast, 30), due.addSecs(-1)).overdue);
    EXPECT_FALSE(pstDue(tested(kLast, 30), due).overdue);
    EXPECT_TRUE(pstDue(tested(kLast, 30), due.addSecs(1)).overdue);
}

TEST(PstDue, TheSameInstantInAnotherOffsetGivesTheSameDue)
{
    // 10:00 at UTC+2 is 08:00 UTC; now is given at UTC-5.
    const QDateTime lastAbroad(QDate(2026, 1, 10), QTime(10, 0), QTimeZone(2 * 3600));
    const QDateTime nowAbroad(QDate(2026, 2, 9), QTime(3, 0, 1), QTimeZone(-5 * 3600));
    const PstDue due = pstDue(tested(lastAbroad, 30), nowAbroad);
    EXPECT_EQ(due.due->toMSecsSinceEpoch(), QDateTime(QDate(2026, 2, 9), QTime(8, 0), Qt::UTC).toMSecsSinceEpoch());
    EXPECT_TRUE(due.overdue);
}

}  // namespace
}  // namespace orvx::plant
