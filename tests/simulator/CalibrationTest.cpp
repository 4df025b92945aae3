#include "PositionerFixture.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <string>

using namespace orvx;
using namespace orvx::simtest;
using simulator::FaultSet;

namespace {

const char* const kTuningTags[] = {"8000", "8001", "8002", "8003", "8004", "8005", "8006", "8007", "8008"};

class CalibrationTest : public SimulatedPositionerTest {
protected:
    CalibrationTest()
    {
        set("1005", "0");
        set("0");
        scheduler.Advance(300);
        control->takeResults();
    }

    // Runs a command until it answers something other than 524 and says what and after how
    // long, with the extremes of the live position and pressure on the way.
    struct Outcome {
        Notifications results;
        std::int64_t ms = 0;
        double lowestPosition = 1e9, highestPosition = -1e9;
        double lowestPressure = 1e9, highestPressure = -1e9;
    };
    Outcome run(const char* method, std::int64_t limitMs = 120'000)
    {
        control->takeResults();
        Outcome outcome;
        EXPECT_EQ(set(method), Status::Ok);
        const std::int64_t start = scheduler.Now();
        while (control->received.empty() && scheduler.Now() - start < limitMs) {
            scheduler.Advance(100);
            outcome.lowestPosition = std::min(outcome.lowestPosition, number("2003"));
            outcome.highestPosition = std::max(outcome.highestPosition, number("2003"));
            outcome.lowestPressure = std::min(outcome.lowestPressure, number("2006"));
            outcome.highestPressure = std::max(outcome.highestPressure, number("2006"));
        }
        outcome.ms = scheduler.Now() - start;
        outcome.results = control->takeResults();
        return outcome;
    }
    std::vector<std::string> tuning()
    {
        std::vector<std::string> values;
        for (const char* tag : kTuningTags)
            values.push_back(get(tag));
        return values;
    }
    bool historyRaised(int bit) { return FaultSet::FromHex(get("12001")).IsRaised(bit); }
};

TEST_F(CalibrationTest, FindStopsStrokesTheValveBothWaysAndStoresTheStopsOfEitherAirAction)
{
    for (const char* airAction : {"1", "0"}) {
        SCOPED_TRACE(std::string("air to open ") + airAction);
        ASSERT_EQ(set("3000", airAction), Status::Ok);
        ASSERT_EQ(set("13010", "512"), Status::Ok);
        ASSERT_EQ(set("13011", "3580"), Status::Ok);
        scheduler.Advance(5000);
        const double start = number("2003");
        const int before = control->newValues;

        const Outcome outcome = run("8");
        EXPECT_EQ(outcome.results, (Notifications{{508, ""}}));
        EXPECT_GE(outcome.ms, 20'000);
        EXPECT_LE(outcome.ms, 40'000);
        EXPECT_GE(control->newValues - before, outcome.ms / 500 - 1) << "progress twice a second";
        EXPECT_LT(outcome.lowestPosition, 0.5);
        EXPECT_GT(outcome.highestPosition, 99.5);
        EXPECT_LT(outcome.lowestPressure, 1.0) << "vented at one stop";
        EXPECT_GT(outcome.highestPressure, 55.0) << "loaded from the supply at the other";
        EXPECT_EQ(get("13010") + " " + get("13011"), "468 3655");
        scheduler.Advance(2000);
        EXPECT_NEAR(number("2003"), start, 0.5) << "back where it was";
    }
}

// Each fault fails the run the way the device would, after it has stroked the valve, and
// latches the run's fault bit; once mended, the next run succeeds and takes the bit off the
// current faults while the history keeps it.
TEST_F(CalibrationTest, ValveAndDeviceFaultsFailFindStopsAndAutotune)
{
    const struct {
        SimulatedFault fault;
        const char* method;
        int bit;
        bool nvmFault;
    } rows[] = {
        {SimulatedFault::StickingValve, "8", FaultSet::kFindStopsFailed, false},
        {SimulatedFault::WeakSpring, "8", FaultSet::kFindStopsFailed, false},
        {SimulatedFault::LowSupply, "8", FaultSet::kFindStopsFailed, false},
        {SimulatedFault::RefusesWrites, "8", FaultSet::kFindStopsFailed, true},
        {SimulatedFault::LowSupply, "12", FaultSet::kAutotuneFailed, false},
        {SimulatedFault::RefusesWrites, "12", FaultSet::kAutotuneFailed, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(simulator::nameOf(row.fault)) + ", method " + row.method);
        ASSERT_EQ(set("21"), Status::Ok);
        scheduler.Advance(300);
        positioner->SetFault(row.fault, true);
        scheduler.Advance(5000);
        const std::string stops = get("13010") + " " + get("13011");
        const auto tuned = tuning();

        const Outcome failed = run(row.method);
        EXPECT_EQ(failed.results, (Notifications{{-6, row.method}}));
        EXPECT_GE(failed.ms, 5000) << "it fails on the valve, not at once";
        EXPECT_TRUE(faultRaised(row.bit));
        EXPECT_EQ(faultRaised(FaultSet::kNvmWriteFault), row.nvmFault);
        EXPECT_EQ(get("13010") + " " + get("13011"), stops);
        EXPECT_EQ(tuning(), tuned);

        positioner->SetFault(row.fault, false);
        scheduler.Advance(5000);
        EXPECT_EQ(run(row.method).results, (Notifications{{500 + std::stoi(row.method), ""}}));
        EXPECT_FALSE(faultRaised(row.bit));
        EXPECT_TRUE(historyRaised(row.bit));
    }
}

TEST_F(CalibrationTest, CalibrationNeedsSetupModeAndAValveThatIsNotTripped)
{
    const struct {
        const char* mode;
        bool tripped;
    } rows[] = {{"3", false}, {"1", false}, {"0", true}};
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string("mode ") + row.mode + (row.tripped ? ", tripped" : ""));
        ASSERT_EQ(set("1005", row.mode), Status::Ok);
        ASSERT_EQ(set("0"), Status::Ok);
        positioner->SetFault(SimulatedFault::EsdTrip, row.tripped);
        scheduler.Advance(5000);
        control->takeResults();
        for (const char* method : {"8", "9", "12"}) {
            const double position = number("2003");
            const Outcome outcome = run(method);
            EXPECT_EQ(outcome.results, (Notifications{{-6, method}}));
            EXPECT_LE(outcome.ms, 100);
            EXPECT_NEAR(number("2003"), position, 0.5);
        }
    }
}

TEST_F(CalibrationTest, AutotuneDerivesTheTuningFromTheValve)
{
    const Outcome healthy = run("12");
    EXPECT_EQ(healthy.results, (Notifications{{512, ""}}));
    EXPECT_GE(healthy.ms, 20'000);
    EXPECT_LE(healthy.ms, 60'000);
    EXPECT_GT(healthy.highestPosition - healthy.lowestPosition, 15.0) << "stepped the valve";
    const auto tuned = tuning();
    EXPECT_NE(tuned, (std::vector<std::string>{"1200", "100", "20", "0", "0.5", "0", "10", "5", "0"}))
        << "the factory tuning is not this valve's";
    ASSERT_EQ(set("8000", "1"), Status::Ok);
    ASSERT_EQ(set("28"), Status::Ok);
    scheduler.Advance(500);
    EXPECT_EQ(tuning(), tuned) << "the device keeps what autotune found";

    // Against the healthy valve: +1 higher, -1 lower, 0 the same, for P, I, D, dead zone,
    // position compensation and boost.
    const struct {
        const char* name;
        std::function<void()> change;
        std::function<void()> undo;
        int p, i, d, deadZone, compensation, boost;
    } rows[] = {
        {"sticking valve", [&] { positioner->SetFault(SimulatedFault::StickingValve, true); },
         [&] { positioner->SetFault(SimulatedFault::StickingValve, false); }, 0, +1, 0, +1, 0, +1},
        {"weak spring", [&] { positioner->SetFault(SimulatedFault::WeakSpring, true); },
         [&] { positioner->SetFault(SimulatedFault::WeakSpring, false); }, -1, 0, -1, 0, -1, 0},
        {"higher supply", [&] { positioner->SetSupplyPressure(90.0); }, [&] { positioner->SetSupplyPressure(60.0); },
         -1, 0, 0, 0, 0, 0},
        {"aggressive", [&] { set("8008", "9"); }, [&] { set("8008", "0"); }, +1, +1, -1, 0, 0, 0},
        {"no overshoot", [&] { set("8008", "-9"); }, [&] { set("8008", "0"); }, -1, -1, +1, 0, 0, 0},
    };
    const auto sign = [](double later, double earlier) { return (later > earlier) - (later < earlier); };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        row.change();
        scheduler.Advance(5000);
        const std::string aggressiveness = get("8008");
        ASSERT_EQ(run("12").results, (Notifications{{512, ""}}));
        const auto now = tuning();
        const auto compare = [&](int index) { return sign(numberOf(now[index]), numberOf(tuned[index])); };
        EXPECT_EQ(compare(0), row.p) << now[0];
        EXPECT_EQ(compare(1), row.i) << now[1];
        EXPECT_EQ(compare(2), row.d) << now[2];
        EXPECT_EQ(compare(4), row.deadZone) << now[4];
        EXPECT_EQ(compare(6), row.compensation) << now[6];
        EXPECT_EQ(compare(7), row.boost) << now[7];
        EXPECT_EQ(now[8], aggressiveness) << "the user's choice stays";
        // Within what the Tuning Data page accepts.
        const double ranges[][2] = {{0, 5000}, {0, 1000}, {0, 200}, {-3000, 3000}, {0, 5},
                                    {-9, 9},   {2, 20},   {0, 20},  {-9, 9}};
        for (std::size_t i = 0; i < now.size(); ++i) {
            EXPECT_GE(numberOf(now[i]), ranges[i][0]) << kTuningTags[i];
            EXPECT_LE(numberOf(now[i]), ranges[i][1]) << kTuningTags[i];
        }
        row.undo();
    }
}

TEST_F(CalibrationTest, ManualFindStopsDrivesToEachStopAndStoresThemWhenFinished)
{
    ASSERT_EQ(set("4005", "1"), Status::Ok);
    const struct {
        const char* method;
        Notification answer;
        double position;  // where the valve rests afterwards, or NAN where it stays
    } steps[] = {
        {"9", {509, ""}, 0.0},
        {"11", {511, ""}, NAN},
        {"10", {510, ""}, 100.0},
        {"31", {531, ""}, NAN},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.method);
        const double before = number("2003");
        const Outcome outcome = run(step.method);
        EXPECT_EQ(outcome.results, Notifications{step.answer});
        EXPECT_NEAR(number("2003"), std::isnan(step.position) ? before : step.position, 0.5);
        if (step.answer.code != 531) {
            EXPECT_EQ(get("4005"), "0") << "trips stay unlatched while the stops are found";
        }
    }
    EXPECT_EQ(get("13010") + " " + get("13011"), "468 3655");
    EXPECT_EQ(get("4005"), "1");
}

TEST_F(CalibrationTest, ManualFindStopsOutOfOrderFailsAndStartsOver)
{
    const struct {
        std::vector<const char*> methods;
        Notifications answers;
    } rows[] = {
        {{"11"}, {{-6, "11"}}},
        {{"10"}, {{-6, "10"}}},
        {{"31"}, {{-6, "31"}}},
        {{"9", "10"}, {{509, ""}, {-6, "10"}}},
        {{"9", "31"}, {{509, ""}, {-6, "31"}}},
        {{"9", "11", "31"}, {{509, ""}, {511, ""}, {-6, "31"}}},
        {{"9", "11", "10", "11"}, {{509, ""}, {511, ""}, {510, ""}, {-6, "11"}}},
        {{"9", "31", "11"}, {{509, ""}, {-6, "31"}, {-6, "11"}}},  // the failure ended the procedure
        {{"9", "9", "11", "10", "31"}, {{509, ""}, {509, ""}, {511, ""}, {510, ""}, {531, ""}}},
    };
    for (const auto& row : rows) {
        std::string sequence;
        for (const char* method : row.methods)
            sequence += std::string(method) + " ";
        SCOPED_TRACE(sequence);
        ASSERT_EQ(set("13010", "512"), Status::Ok);
        Notifications answers;
        for (const char* method : row.methods)
            for (const Notification& n : run(method).results)
                answers.push_back(n);
        EXPECT_EQ(answers, row.answers);
        EXPECT_EQ(get("13010") == "468", row.answers.back().code == 531);
        EXPECT_FALSE(faultRaised(FaultSet::kFindStopsFailed)) << "a step out of order calibrates nothing";
    }
}

TEST_F(CalibrationTest, ManualStopsTooCloseOrNotWrittenFailTheFinish)
{
    const struct {
        std::vector<SimulatedFault> faults;
        bool nvmFault;
    } rows[] = {
        {{SimulatedFault::RefusesWrites}, true},
        // It sticks 10 % short of the low stop, and the supply cannot lift it from there.
        {{SimulatedFault::StickingValve, SimulatedFault::LowSupply}, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.nvmFault ? "refused writes" : "stops too close");
        for (SimulatedFault fault : row.faults)
            positioner->SetFault(fault, true);
        Notifications answers;
        for (const char* method : {"9", "11", "10", "31"})
            for (const Notification& n : run(method).results)
                answers.push_back(n);
        EXPECT_EQ(answers, (Notifications{{509, ""}, {511, ""}, {510, ""}, {-6, "31"}}));
        EXPECT_TRUE(faultRaised(FaultSet::kFindStopsFailed));
        EXPECT_EQ(faultRaised(FaultSet::kNvmWriteFault), row.nvmFault);
        EXPECT_EQ(get("13010") + " " + get("13011"), "512 3580");
        for (SimulatedFault fault : row.faults)
            positioner->SetFault(fault, false);
        ASSERT_EQ(set("21"), Status::Ok);
        scheduler.Advance(5000);
    }
}

TEST_F(CalibrationTest, ARunningCalibrationIsCancelledWhereItStandsAndKeepsOthersBusy)
{
    const struct {
        const char* method;
        std::int64_t cancelAfter;  // once it has moved the valve
    } rows[] = {{"8", 2000}, {"12", 11'000}, {"9", 2000}};
    for (const auto& [method, cancelAfter] : rows) {
        SCOPED_TRACE(method);
        ASSERT_EQ(set("6"), Status::Ok);
        scheduler.Advance(5000);
        const auto before = tuning();
        const double start = number("2003");
        control->takeResults();
        ASSERT_EQ(set(method), Status::Ok);
        scheduler.Advance(cancelAfter);
        for (const char* other : {"8", "12", "6", "4"})
            ASSERT_EQ(set(other), Status::Ok);
        scheduler.Advance(100);
        EXPECT_EQ(control->takeResults(), (Notifications{{-2, "8"}, {-2, "12"}, {-2, "6"}, {-2, "4"}}));
        ASSERT_EQ(set("23"), Status::Ok);
        scheduler.Advance(500);
        EXPECT_EQ(control->takeResults(), (Notifications{{-6, method}, {523, ""}}));
        const double moved = number("2003");
        EXPECT_GT(std::abs(moved - start), 5.0);
        scheduler.Advance(60'000);
        EXPECT_EQ(control->takeResults(), Notifications{}) << "nothing more of the cancelled run";
        EXPECT_NEAR(number("2003"), moved, 0.1) << "held where the run stopped";
        EXPECT_EQ(get("13010"), "512");
        EXPECT_EQ(tuning(), before);
        EXPECT_FALSE(positioner->RunningOperation());
    }
    EXPECT_EQ(run("11").results, (Notifications{{-6, "11"}})) << "a cancelled drive reached no stop";
}

TEST_F(CalibrationTest, ResetPutsTheFactoryTuningBackAfterAutotune)
{
    ASSERT_EQ(run("12").results, (Notifications{{512, ""}}));
    ASSERT_EQ(run("9").results, (Notifications{{509, ""}}));
    ASSERT_EQ(get("4005"), "0");
    ASSERT_EQ(run("6").results, (Notifications{{506, ""}}));
    EXPECT_EQ(tuning(), (std::vector<std::string>{"1200", "100", "20", "0", "0.5", "0", "10", "5", "0"}));
    EXPECT_EQ(get("4005"), "1");
    EXPECT_EQ(run("11").results, (Notifications{{-6, "11"}})) << "the manual procedure ended";
    ASSERT_EQ(set("28"), Status::Ok);
    scheduler.Advance(500);
    EXPECT_EQ(get("8000"), "1200") << "in the device too";
}

TEST_F(CalibrationTest, WriteParametersSendsTheIdentityAndAirAction)
{
    ASSERT_EQ(set("1006", "FV-7"), Status::Ok);
    ASSERT_EQ(set("1007", "FEED VALVE"), Status::Ok);
    ASSERT_EQ(set("3001", "NEW ACTUATOR"), Status::Ok);
    ASSERT_EQ(set("3000", "0"), Status::Ok);
    scheduler.Advance(100);
    const Outcome outcome = run("5");
    EXPECT_EQ(outcome.results, (Notifications{{525, ""}, {505, ""}}));
    EXPECT_EQ(get("1001") + "/" + get("1002"), "FV-7/FEED VALVE");

    const struct {
        const char* tag;
        const char* value;
    } refused[] = {{"1006", "FV-70001X"}, {"1007", "A DESCRIPTOR TOO LONG"}, {"3000", "2"}};
    for (const auto& row : refused) {
        SCOPED_TRACE(row.tag);
        ASSERT_EQ(set("6"), Status::Ok);
        scheduler.Advance(1000);
        ASSERT_EQ(set("1006", "FV-7"), Status::Ok);
        ASSERT_EQ(set("1007", "FEED VALVE"), Status::Ok);
        ASSERT_EQ(set(row.tag, row.value), Status::Ok);
        scheduler.Advance(100);
        EXPECT_EQ(run("5").results, (Notifications{{-6, "5"}}));
    }
    ASSERT_EQ(set("6"), Status::Ok);
    scheduler.Advance(1000);
    positioner->SetFault(SimulatedFault::RefusesWrites, true);
    EXPECT_EQ(run("5").results, (Notifications{{-6, "5"}}));
}

}  // namespace
