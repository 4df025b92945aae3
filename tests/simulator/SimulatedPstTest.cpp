// A PST on the simulated positioner: how it strokes the valve, what it reads off the signature,
// how each valve fault shows, and how the device keeps the test from harming the process.
#include "PositionerFixture.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

using namespace orvx;
using namespace orvx::simtest;

namespace {

// The mark a valve fault leaves on the exhaust curve of a PST started at 'start', against the
// fill time of the clean valve; 'number' reads a parameter.
void checkFaultedExhaust(SimulatedFault fault, const std::vector<Point>& exhaust, double start, double cleanFillTime,
                         const std::function<double(const char*)>& number)
{
    const auto lowest = std::ranges::min(exhaust, {}, &Point::pressure).pressure;
    if (fault == SimulatedFault::StickingValve) {
        EXPECT_EQ(std::ranges::max(exhaust, {}, &Point::position).position, start);
        EXPECT_NEAR(exhaust.front().pressure - lowest, number("16007"), 0.005);
    } else if (fault == SimulatedFault::AirLeak) {
        // The dwell after the target: the valve dips more than the dead zone and comes back.
        const auto held = std::ranges::find_if(exhaust, [&](const Point& p) { return p.position <= start - 10; });
        ASSERT_NE(held, exhaust.end());
        const auto dip = std::ranges::min(std::ranges::subrange(held, exhaust.end()), {}, &Point::position);
        EXPECT_LT(dip.position, start - 10.5);
        EXPECT_NEAR(exhaust.back().position, start - 10, 0.5);
        EXPECT_GT(number("16029"), 1.5 * cleanFillTime) << "the leak steals from the fill";
    } else if (fault == SimulatedFault::WeakSpring) {
        EXPECT_NEAR(exhaust.back().pressure, number("16001"), 0.005) << "stopped at the minimum";
        EXPECT_GT(exhaust.back().position, start - 10 + 1) << "short of its travel";
        EXPECT_NEAR(number("16023"), 3.0, 0.2) << "friction read over the stroke made";
    } else if (fault == SimulatedFault::LowSupply) {
        EXPECT_GT(number("16029"), 2 * cleanFillTime);
    }
}

// Each valve fault leaves its own mark on the signature and fails the test on a figure a user
// can read, with the default settings from where the valve rests.
TEST_F(SimulatedPositionerTest, EachValveFaultShowsInTheFiguresThatFailIt)
{
    using simulator::FaultSet;
    const struct {
        std::optional<SimulatedFault> fault;
        const char* failedRows;
        const char* springRange;  // "16024 16025"
        std::vector<int> raised;
    } rows[] = {
        {std::nullopt, "", "15.0 35.0", {}},
        // Never broke away: stopped after a fall of the breakout limit, nothing else to read.
        {SimulatedFault::StickingValve,
         "passed friction breakaway ",
         "0.0 0.0",
         {FaultSet::kPstFailed, FaultSet::kBreakoutExceeded, FaultSet::kValveStuckOpened}},
        // Saw-tooth in the dwell: slips, is filled back, slips again.
        {SimulatedFault::AirLeak, "passed droop ", "15.0 35.0", {FaultSet::kPstFailed, FaultSet::kDroopAbnormal}},
        // Needs less pressure everywhere: stopped at the minimum pressure part way.
        {SimulatedFault::WeakSpring, "passed ", "3.0 17.0", {FaultSet::kPstFailed}},
        {SimulatedFault::LowSupply, "", "15.0 35.0", {FaultSet::kLowSupply}},  // strokes, but fills slowly
        {std::nullopt, "", "15.0 35.0", {}},                                   // all mended again
    };
    double cleanFillTime = 0;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.fault ? simulator::nameOf(*row.fault) : "no fault");
        ASSERT_EQ(set("20"), Status::Ok);
        if (row.fault)
            positioner->SetFault(*row.fault, true);
        scheduler.Advance(10'000);  // settled, faults cleared
        const double start = number("2003");
        const double counter = number("16032");
        EXPECT_EQ(runPst(), (Notifications{{504, ""}}));
        EXPECT_EQ(failedRows(), row.failedRows);
        EXPECT_EQ(get("16024") + " " + get("16025"), row.springRange);
        EXPECT_EQ(get("16040"), get("16022"));
        EXPECT_TRUE(faultRaised(FaultSet::kNewPstData));
        for (int bit : row.raised)
            EXPECT_TRUE(faultRaised(bit)) << bit;
        EXPECT_FALSE(faultRaised(FaultSet::kFrictionBelowNormal)) << "a friction not read is not graded";
        EXPECT_EQ(number("16033") * 65536 + number("16034"), counter) << "stamped when it ran";
        EXPECT_NEAR(number("2003"), start, 0.1) << "back where it started";

        const auto exhaust = pointsOf(get("16038"));
        const auto lowest = std::ranges::min(exhaust, {}, &Point::pressure).pressure;
        EXPECT_GT(lowest, number("16001") - 0.005) << "never vented below the minimum pressure";
        if (!row.fault) {
            EXPECT_NEAR(number("16023"), 3.0, 0.2);
            EXPECT_EQ(get("16027"), "0.0") << "a tight actuator keeps its air";
            cleanFillTime = number("16029");
        } else {
            checkFaultedExhaust(*row.fault, exhaust, start, cleanFillTime,
                                [&](const char* tag) { return number(tag); });
        }
        if (row.fault)
            positioner->SetFault(*row.fault, false);
    }
}

// The positioner protects the process: it never vents below the minimum pressure nor tries past
// the breakout limit or the maximum time; it stops venting there, fills back to where the valve
// started and fails the test.
TEST_F(SimulatedPositionerTest, TheTestStopsAndFillsBackAtItsGuards)
{
    const struct {
        const char* what;
        std::optional<SimulatedFault> fault;
        std::vector<std::pair<const char*, const char*>> settings;
        double lowest;  // psi the exhaust curve ends at; NAN: it completes
    } rows[] = {
        {"the former defaults on a sticking valve",
         SimulatedFault::StickingValve,
         {{"16001", "20.0"}, {"16007", "20.0"}},
         20.0},
        {"a minimum above what the stroke needs", std::nullopt, {{"16001", "20.5"}}, 20.5},
        {"a minimum in bar", std::nullopt, {{"4003", "7"}, {"16001", "1.400"}}, 1.400},
        {"a minimum just below it", std::nullopt, {{"16001", "19.5"}}, NAN},
        {"a breakout limit below the breakaway", std::nullopt, {{"16007", "3.0"}}, 22.0},
        {"a maximum time inside the dwell", std::nullopt, {{"16004", "30"}, {"16002", "5"}}, NAN},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        ASSERT_EQ(set("6"), Status::Ok);  // a reset puts the default settings back
        scheduler.Advance(1000);
        ASSERT_EQ(set("20"), Status::Ok);
        scheduler.Advance(300);
        if (row.fault)
            positioner->SetFault(*row.fault, true);
        for (const auto& [tag, value] : row.settings)
            ASSERT_EQ(set(tag, value), Status::Ok);
        scheduler.Advance(10'000);
        const double start = number("2003");
        EXPECT_EQ(runPst(), (Notifications{{504, ""}}));
        const auto exhaust = pointsOf(get("16038"));
        const auto fill = pointsOf(get("16037"));
        ASSERT_FALSE(exhaust.empty() || fill.empty());
        EXPECT_NEAR(fill.back().position, start, 0.1) << "filled back to where it started";
        EXPECT_NEAR(number("2003"), start, 0.1);
        if (std::isnan(row.lowest)) {
            EXPECT_EQ(get("16022"), row.settings.front().first == std::string("16001") ? "0" : "1");
        } else {
            EXPECT_EQ(get("16022"), "1");
            EXPECT_NEAR(exhaust.back().pressure, row.lowest, 0.005);
            EXPECT_NEAR(std::ranges::min(exhaust, {}, &Point::pressure).pressure, row.lowest, 0.005);
        }
        if (row.settings.front().first == std::string("16004")) {
            EXPECT_LE(number("16039") * (static_cast<double>(exhaust.size()) - 1), 5000) << "stopped at 5 s";
        }
        if (row.fault)
            positioner->SetFault(*row.fault, false);
    }
}

TEST_F(SimulatedPositionerTest, ResultsAreGradedAgainstTheLimitsSetWhenTheTestRan)
{
    runPst();
    ASSERT_EQ(failedRows(), "");
    const std::string friction = get("16023");
    const std::string breakaway = get("16026");
    const std::string droop = get("16027");
    const auto above = [](const std::string& value) { return std::to_string(numberOf(value) + 0.1).substr(0, 5); };
    const struct {
        const char* tag;
        std::string limit;
        const char* failedRows;
    } rows[] = {
        {"16005", friction, "passed friction "},
        {"16006", friction, "passed friction "},
        {"16006", above(friction), ""},
        {"16007", breakaway, "passed breakaway "},
        {"16007", above(breakaway), ""},
        {"16008", droop, "passed droop "},
        {"16008", above(droop), ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.tag) + " at " + row.limit);
        ASSERT_EQ(set("6"), Status::Ok);  // a reset puts the default limits back
        scheduler.Advance(1000);
        ASSERT_EQ(set(row.tag, row.limit.c_str()), Status::Ok);
        runPst();
        EXPECT_EQ(failedRows(), row.failedRows);
    }
}

TEST_F(SimulatedPositionerTest, CurvesHoldTheHysteresisLoopOfBothStrokes)
{
    const struct {
        const char* travel;
        const char* speed;
        const char* interval;
        const char* unit;
        const char* airToOpen;
    } rows[] = {{"10.0", "5.0", "100", "6", "1"},
                {"20.0", "10.0", "50", "6", "1"},
                {"5.0", "2.5", "200", "7", "1"},
                {"10.0", "5.0", "100", "12", "0"}};  // exhausting opens the valve
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.travel) + "% at " + row.speed + "%/s, every " + row.interval + " ms, unit " +
                     row.unit + ", air to open " + row.airToOpen);
        for (const auto& [tag, value] : {std::pair{"16000", row.travel},
                                         {"16003", row.speed},
                                         {"16039", row.interval},
                                         {"4003", row.unit},
                                         {"3000", row.airToOpen}})
            ASSERT_EQ(set(tag, value), Status::Ok);
        scheduler.Advance(10'000);
        const double start = number("2003");
        const double target = start + (row.airToOpen == std::string("1") ? -1 : 1) * number("16000");
        runPst();
        const auto exhaust = pointsOf(get("16038"));
        const auto fill = pointsOf(get("16037"));
        ASSERT_FALSE(exhaust.empty() || fill.empty());
        const auto farthest = [&](const std::vector<Point>& curve) {
            return std::ranges::max(curve, {}, [&](const Point& p) { return std::abs(p.position - start); }).position;
        };
        EXPECT_NEAR(exhaust.front().position, start, 0.01);
        EXPECT_NEAR(farthest(exhaust), target, 0.01);
        EXPECT_NEAR(fill.front().position, target, 0.01);
        EXPECT_NEAR(farthest(fill), target, 0.01);
        EXPECT_NEAR(fill.back().position, start, 0.1);
        EXPECT_EQ(number("16051"), std::round(start));
        EXPECT_EQ(number("16048"), exhaust.size());
        EXPECT_EQ(number("16049"), exhaust.size() + fill.size());
        EXPECT_EQ(get("16050"), row.interval);
        EXPECT_EQ(get("16039"), row.interval);
        // Exhausting runs below filling by twice the friction, as the results say.
        const double middle = (start + target) / 2;
        EXPECT_NEAR(nearest(fill, middle).pressure - nearest(exhaust, middle).pressure, 2 * number("16023"),
                    0.05 * number("16023"));
        EXPECT_LT(exhaust.back().pressure, exhaust.front().pressure) << "the dwell comes after the exhaust stroke";
        EXPECT_EQ(failedRows(), "");
    }
}

TEST_F(SimulatedPositionerTest, APstMovesTheLiveValuesAndCanBeCancelledWhileOtherCommandsAreBusy)
{
    const double start = number("2003");
    const int before = control->newValues;
    ASSERT_EQ(set("4"), Status::Ok);
    scheduler.Advance(1500);
    EXPECT_LT(number("2003"), start - 0.5);
    EXPECT_GE(control->newValues - before, 5);
    ASSERT_EQ(set("3"), Status::Ok);
    scheduler.Advance(50);
    EXPECT_EQ(control->takeResults(), (Notifications{{-2, "3"}}));
    ASSERT_EQ(set("23"), Status::Ok);
    scheduler.Advance(50);
    EXPECT_EQ(control->takeResults(), (Notifications{{-6, "4"}, {523, ""}}));
    EXPECT_TRUE(faultRaised(simulator::FaultSet::kPstCancelled));
    scheduler.Advance(10'000);
    EXPECT_EQ(control->takeResults(), Notifications{}) << "nothing more of the cancelled PST";
    EXPECT_NEAR(number("2003"), start, 0.5) << "back at its setpoint";
    ASSERT_EQ(set("3"), Status::Ok);
    scheduler.Advance(1000);
    EXPECT_EQ(control->takeResults(), (Notifications{{503, ""}}));

    positioner->SetFault(SimulatedFault::DeviceBusy, true);
    for (const char* method : {"4", "23"})
        ASSERT_EQ(set(method), Status::Ok);
    scheduler.Advance(10'000);
    EXPECT_EQ(control->takeResults(), (Notifications{{-2, "4"}, {-2, "23"}}));
}

}  // namespace
