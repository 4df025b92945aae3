#include "PositionerFixture.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>
#include <regex>
#include <string>
#include <utility>
#include <vector>

using namespace orvx;
using namespace orvx::simtest;

namespace {

TEST(ManualScheduler, RunsDueTasksInTimeOrderIncludingTheOnesTheyPost)
{
    ManualScheduler scheduler;
    std::vector<std::string> ran;
    scheduler.Post(200, [&] { ran.push_back("200@" + std::to_string(scheduler.Now())); });
    scheduler.Post(100, [&] { scheduler.Post(50, [&] { ran.push_back("150@" + std::to_string(scheduler.Now())); }); });
    scheduler.Cancel(scheduler.Post(120, [&] { ran.push_back("cancelled"); }));
    scheduler.Advance(300);
    EXPECT_EQ(ran, (std::vector<std::string>{"150@150", "200@200"}));
    EXPECT_EQ(scheduler.Now(), 300);
}

TEST_F(SimulatedPositionerTest, CommandsAnswerWithTheirCodeWhenDone)
{
    ASSERT_EQ(set("1005", "0"), Status::Ok);
    struct Case {
        const char* method;
        std::int64_t after;
        Notification expected;
    };
    for (const Case& c : std::initializer_list<Case>{{"0", 300, {500, ""}},
                                                     {"6", 1000, {506, ""}},
                                                     {"13", 500, {513, ""}},
                                                     {"28", 500, {528, ""}},
                                                     {"20", 300, {520, ""}},
                                                     {"21", 300, {521, ""}},
                                                     {"23", 50, {523, ""}},
                                                     {"77", 50, {-1, "77"}}}) {
        ASSERT_EQ(set(c.method), Status::Ok);
        scheduler.Advance(c.after - 1);
        EXPECT_EQ(control->takeResults(), Notifications{}) << c.method;
        EXPECT_EQ(get("1000"), c.method == std::string("0") ? "3" : "0");  // the mode changes when done
        scheduler.Advance(1);
        EXPECT_EQ(control->takeResults(), Notifications{c.expected}) << c.method;
    }
}

TEST_F(SimulatedPositionerTest, CommandsAreRefusedWhileAnotherRunsAndWhileOffline)
{
    ASSERT_EQ(set("6"), Status::Ok);
    ASSERT_EQ(set("0"), Status::Ok);
    scheduler.Advance(50);
    EXPECT_EQ(control->takeResults(), (Notifications{{-2, "0"}}));
    positioner->Disconnect();
    const auto results = control->takeResults();
    ASSERT_EQ(results.size(), 2u);
    EXPECT_EQ(results[0].code, 1);
    EXPECT_NE(results[0].value.find("state=\"Offline\""), std::string::npos);
    EXPECT_EQ(results[1], (Notification{-6, "6"}));  // the reset in progress failed
    EXPECT_EQ(get("15000"), "0");
    ASSERT_EQ(set("0"), Status::Ok);
    ASSERT_EQ(set("20"), Status::Ok);
    scheduler.Advance(2000);
    EXPECT_EQ(control->takeResults(), (Notifications{{-2, "0"}, {-2, "20"}}));
    positioner->Connect();
    EXPECT_NE(control->takeResults().at(0).value.find("state=\"Online\""), std::string::npos);
    EXPECT_EQ(get("15000"), "1");
}

TEST_F(SimulatedPositionerTest, LiveValuesComeTwiceASecondOnlyWhileConnectedAndWatched)
{
    positioner->SetInputSignal(16.0);
    std::vector<std::string> positions{get("2003")};
    for (int i = 0; i < 4; ++i) {
        scheduler.Advance(500);
        positions.push_back(get("2003"));
    }
    EXPECT_EQ(control->newValues, 4);
    EXPECT_EQ(std::ranges::adjacent_find(positions), positions.end());  // the valve is still opening
    positioner->Disconnect();
    scheduler.Advance(2000);
    EXPECT_EQ(control->newValues, 4);
    EXPECT_EQ(get("2003"), positions.back());
    positioner->Connect();
    bool dropped = false;
    registry()->UnregisterControl(u"main", true, &dropped);
    EXPECT_TRUE(dropped);
    scheduler.Advance(2000);
    EXPECT_EQ(control->newValues, 4);
    EXPECT_EQ(scheduler.PendingCount(), 0u);
}

TEST_F(SimulatedPositionerTest, ResetRestoresSettingsAndTuningReadUndoesUnwrittenEdits)
{
    ASSERT_EQ(set("5005", "55.0"), Status::Ok);
    ASSERT_EQ(set("4003", "7"), Status::Ok);
    EXPECT_EQ(get("4007"), "7");
    EXPECT_EQ(get("5005"), "3.792");  // held in the new unit
    set("8000", "1500");
    set("13");
    scheduler.Advance(500);
    set("8000", "999");
    set("28");
    scheduler.Advance(500);
    EXPECT_EQ(get("8000"), "1500");
    ASSERT_EQ(set("1006", "FV-7"), Status::Ok);
    ASSERT_EQ(set("6"), Status::Ok);
    scheduler.Advance(1000);
    EXPECT_EQ(get("5005"), "40.0");
    EXPECT_EQ(get("4003"), "6");
    EXPECT_EQ(get("8000"), "1200");
    EXPECT_EQ(get("1001"), "FV-7");  // identity survives a reset
}

TEST_F(SimulatedPositionerTest, LowSupplyLatchesAFaultUntilCleared)
{
    positioner->SetSupplyPressure(25.0);
    scheduler.Advance(500);
    EXPECT_EQ(get("12000"), "080000000000000000");
    positioner->SetSupplyPressure(60.0);
    ASSERT_EQ(set("20"), Status::Ok);
    scheduler.Advance(300);
    EXPECT_EQ(get("12000"), "000000000000000000");
    EXPECT_EQ(get("12001"), "080000000000000000");
    ASSERT_EQ(set("21"), Status::Ok);
    scheduler.Advance(300);
    EXPECT_EQ(get("12001"), "000000000000000000");
}

TEST_F(SimulatedPositionerTest, SupplyReadingsAndLimitsFollowThePressureUnit)
{
    // Limits 40 and 100 psi, carried over into each unit; either unit tag sets both.
    const char* none = "000000000000000000";
    const char* low = "080000000000000000";
    const char* high = "004000000000000000";
    const struct {
        const char* tag;
        const char* unit;
        double psi;
        const char* reading;
        const char* faults;
    } rows[] = {
        {"4003", "6", 39.9, "39.9", low},    {"4003", "6", 40.0, "40.0", none},   {"4003", "6", 100.0, "100.0", none},
        {"4003", "6", 100.1, "100.1", high}, {"4003", "7", 39.0, "2.689", low},   {"4003", "7", 41.0, "2.827", none},
        {"4003", "7", 99.0, "6.826", none},  {"4003", "7", 101.0, "6.964", high}, {"4007", "12", 39.0, "268.9", low},
        {"4007", "12", 41.0, "282.7", none}, {"4007", "12", 99.0, "682.6", none}, {"4007", "12", 101.0, "696.4", high},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.unit) + " at " + std::to_string(row.psi) + " psi");
        ASSERT_EQ(set(row.tag, row.unit), Status::Ok);
        ASSERT_EQ(set("12000", none), Status::Ok);
        positioner->SetSupplyPressure(row.psi);
        scheduler.Advance(500);
        EXPECT_EQ(get("4003") + get("4007"), std::string(row.unit) + row.unit);
        EXPECT_EQ(get("2009"), row.reading);
        EXPECT_EQ(get("12000"), row.faults);
    }
}

TEST_F(SimulatedPositionerTest, UnknownTagsFailRefusedControlsStayToldAndTextsFallBack)
{
    Variant value;
    for (Status status : {positioner->GetParameter(u"99999", &value), set("99999", "1"), set("x1"), set("4003", "8")})
        EXPECT_TRUE(com::failed(status));
    positioner->SetRefuseRegistration(true);
    const auto other = com::makeComObject<RecordingControl>();
    EXPECT_FALSE(enrol(other, u"trend"));
    positioner->SetUserLevel(u"observer");
    const auto toldOther = other->takeResults();
    EXPECT_EQ(toldOther.size(), 1u);
    EXPECT_EQ(toldOther, control->takeResults());
    positioner->LoadTexts({{u"UI_TEXT_0", u"Verbunden"}});
    BStr found, missing;
    com::queryInterface<device::IDtmUiEarlier>(positioner)->GetText(u"UI_TEXT_0", &found);
    com::queryInterface<device::IDtmUiCurrent>(positioner)->GetText(u"UI_TEXT_1", &missing);
    EXPECT_EQ(found.toUtf8() + " " + missing.toUtf8(), "Verbunden ##UI_TEXT_1");
}

// A written value is stored by the device's rules; what the page headers show is announced.
TEST_F(SimulatedPositionerTest, WritesFollowTheDevicesRulesAndAnIdentityChangeIsAnnounced)
{
    const struct {
        const char* tag;
        const char* value;
        const char* readTag;  // where the write shows
        const char* read;
        Notifications told;
    } rows[] = {
        {"4003", "8", "4007", "6", {}},  // no pressure unit: refused, nothing changes
        {"1006", "FV-7", "1001", "FV-7", {{525, ""}}},
        {"1007", "NEW DESCRIPTOR", "1002", "NEW DESCRIPTOR", {{525, ""}}},
        {"1008", "42", "1004", "42", {{525, ""}}},
        {"15001", "1", "15001", "1", {}},
        {"15001", "-1", "15001", "0", {}},  // the pages count their invalid entries up and down
        {"4007", "12", "4003", "12", {}},   // one unit for settings and measurements
        {"3001", "IN SERVICE", "3001", "IN SERVICE", {}},
    };
    for (const auto& row : rows) {
        control->takeResults();
        EXPECT_EQ(set(row.tag, row.value) == Status::Ok, std::string(row.value) != "8") << row.tag;
        scheduler.Advance(100);
        EXPECT_EQ(get(row.readTag), row.read) << row.tag << " " << row.value;
        EXPECT_EQ(control->takeResults(), row.told) << row.tag << " " << row.value;
    }
}

// A schedule write names where the test starts in the cycle and where the writer's clock stands
// in it; the device waits the difference. One it cannot place in the cycle changes nothing.
TEST_F(SimulatedPositionerTest, TheScheduleWaitsFromWhereTheWriterStoodToTheStartAndRepeats)
{
    const struct {
        const char* interval;
        const char* startDay;
        const char* startMinute;
        const char* nowDay;
        const char* nowMinute;
        const char* left;  // "16013 16014" after the write; empty: refused
    } rows[] = {
        {"7", "7", "0", "0", "0", ""},
        {"7", "0", "1440", "0", "0", ""},
        {"7", "0", "0", "7", "0", ""},
        {"7", "0", "0", "0", "1440", ""},
        {"0", "0", "0", "0", "0", ""},
        {"366", "0", "0", "0", "0", ""},
        {"7", "-1", "0", "0", "0", ""},
        {"7", "1.5", "0", "0", "0", ""},
        {"2.5", "0", "0", "0", "0", ""},
        {"7", "2", "510", "1", "600", "0 1350"},  // later in the same cycle
        {"7", "0", "60", "6", "1380", "0 120"},   // early in the next one
        {"1", "0", "5", "0", "1430", "0 15"},     // past midnight of a daily cycle
        {"365", "364", "1439", "0", "0", "364 1439"},
        {"2", "1", "0", "1", "0", "2 0"},  // due as it was written: the next one a cycle on
    };
    std::string before = get("16013") + " " + get("16014");
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.interval) + " days: start " + row.startDay + "/" + row.startMinute + ", now " +
                     row.nowDay + "/" + row.nowMinute);
        for (const auto& [tag, value] : {std::pair{"16012", row.interval},
                                         {"16015", row.startDay},
                                         {"16016", row.startMinute},
                                         {"16030", row.nowDay},
                                         {"16031", row.nowMinute}})
            ASSERT_EQ(set(tag, value), Status::Ok);
        ASSERT_EQ(set("19"), Status::Ok);
        scheduler.Advance(500);
        const std::string left = get("16013") + " " + get("16014");
        if (*row.left) {
            EXPECT_EQ(control->takeResults(), (Notifications{{519, ""}}));
            EXPECT_EQ(left, row.left);
        } else {
            EXPECT_EQ(control->takeResults(), (Notifications{{100, ""}, {-6, "19"}}));
            EXPECT_EQ(left, before) << "a refused schedule changes nothing";
        }
        before = left;
    }
    // The last one runs on: a minute less a minute later, and once due, the next a cycle on.
    scheduler.Advance(60'000);
    EXPECT_EQ(get("16013") + " " + get("16014"), "1 1439");
    bool dropped = false;
    registry()->UnregisterControl(u"main", true, &dropped);  // two days of live values spared
    scheduler.Advance(2 * 1440 * 60'000LL - 60'000);
    EXPECT_EQ(get("16013") + " " + get("16014"), "2 0");
    ASSERT_TRUE(enrol(control, u"main"));

    positioner->SetFault(SimulatedFault::RefusesWrites, true);
    EXPECT_TRUE(com::failed(set("16031", "90")));
    ASSERT_EQ(set("19"), Status::Ok);
    scheduler.Advance(500);
    EXPECT_EQ(control->takeResults(), (Notifications{{100, ""}, {-6, "19"}}));
    EXPECT_EQ(get("16013") + " " + get("16014"), "2 0");
}

// A test the device cannot run is answered -6 with its method number, and nothing runs: a PST
// outside normal mode, a terminal board test with the ESD circuit tripped, an ESD event that never
// happened.
TEST_F(SimulatedPositionerTest, TestsTheDeviceCannotRunAreRefusedWithTheirMethod)
{
    const struct {
        const char* mode;
        bool tripped;
        const char* method;
        Notification answer;
    } rows[] = {
        {"3", false, "33", {-6, "33"}},  // never tripped: no event
        {"0", false, "4", {-6, "4"}},   {"1", false, "4", {-6, "4"}}, {"3", true, "3", {-6, "3"}},
        {"3", true, "33", {533, ""}},   {"3", false, "4", {504, ""}}, {"3", false, "3", {503, ""}},
        {"3", false, "33", {533, ""}},  // the event stays once the trip is reset
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string("mode ") + row.mode + (row.tripped ? ", tripped, " : ", ") + "method " + row.method);
        ASSERT_EQ(set("1005", row.mode), Status::Ok);
        ASSERT_EQ(set("0"), Status::Ok);
        positioner->SetFault(SimulatedFault::EsdTrip, row.tripped);
        scheduler.Advance(10'000);
        control->takeResults();
        const std::string position = get("2003");
        ASSERT_EQ(set(row.method), Status::Ok);
        scheduler.Advance(60'000);
        EXPECT_EQ(control->takeResults(), Notifications{row.answer});
        if (row.answer.code < 0) {
            EXPECT_EQ(get("2003"), position) << "the valve was not stroked";
        }
    }
}

TEST_F(SimulatedPositionerTest, AnEsdTripVentsTheValveAndRecordsTheEvent)
{
    const double start = number("2003");
    positioner->SetFault(SimulatedFault::EsdTrip, true);
    EXPECT_EQ(get("2012") + " " + get("2003") + " " + get("2006"), "1 0.00 0.0");
    EXPECT_TRUE(faultRaised(simulator::FaultSet::kEsdTripped));
    control->takeResults();
    EXPECT_EQ(runPst(), (Notifications{{-6, "4"}})) << "a tripped valve is not stroked";

    ASSERT_EQ(set("33"), Status::Ok);
    scheduler.Advance(300);
    EXPECT_EQ(control->takeResults(), (Notifications{{533, ""}}));
    const auto event = pointsOf(get("16038"));
    ASSERT_FALSE(event.empty());
    EXPECT_NEAR(event.front().position, start, 0.5);
    EXPECT_NEAR(event.back().position, 0.0, 0.01);
    EXPECT_LT(event.back().pressure, 0.5);
    EXPECT_EQ(get("16037"), "");
    ASSERT_EQ(set("27"), Status::Ok);
    scheduler.Advance(300);
    EXPECT_EQ(pointsOf(get("16037")).size(), 20u) << "the stored PST again";

    positioner->SetFault(SimulatedFault::EsdTrip, false);
    scheduler.Advance(10'000);
    EXPECT_EQ(get("2012"), "0");
    EXPECT_NEAR(number("2003"), start, 0.5);
}

}  // namespace

// Manual mode: the valve holds until driven by hand, each drive travels at the relay's speed and
// answers when it arrives; outside manual mode the drives are refused.
TEST_F(SimulatedPositionerTest, ManualDrivesStrokeTheValveAndAnswerWhenItArrives)
{
    ASSERT_EQ(set("14"), Status::Ok);  // normal mode
    scheduler.Advance(100);
    EXPECT_EQ(control->takeResults(), (Notifications{{-6, "14"}}));

    ASSERT_EQ(set("1005", "1"), Status::Ok);
    ASSERT_EQ(set("0"), Status::Ok);
    scheduler.Advance(300);
    control->takeResults();
    const double held = number("2003");
    ASSERT_EQ(set("9000", "80"), Status::Ok);
    scheduler.Advance(5000);
    EXPECT_NEAR(number("2003"), held, 0.01) << "a written setpoint alone moves nothing";

    const struct {
        const char* method;
        const char* setpoint;
        double arrives;
    } drives[] = {{"15", nullptr, 0.0}, {"14", nullptr, 100.0}, {"16", "37.5", 37.5}};
    for (const auto& drive : drives) {
        if (drive.setpoint) {
            ASSERT_EQ(set("9000", drive.setpoint), Status::Ok);
        }
        const double from = number("2003");
        ASSERT_EQ(set(drive.method), Status::Ok);
        scheduler.Advance(1000);
        const double underway = number("2003");
        EXPECT_GT(std::abs(underway - from), 1.0) << drive.method << ": moving";
        EXPECT_GT(std::abs(drive.arrives - underway), 1.0) << drive.method << ": not there at once";
        EXPECT_EQ(control->takeResults(), Notifications{}) << drive.method;
        scheduler.Advance(15'000);
        EXPECT_EQ(control->takeResults(), (Notifications{{500 + std::stoi(drive.method), ""}})) << drive.method;
        EXPECT_NEAR(number("2003"), drive.arrives, 0.5) << drive.method;
        scheduler.Advance(5000);
        EXPECT_NEAR(number("2003"), drive.arrives, 0.5) << drive.method << ": held there";
    }
}

TEST_F(SimulatedPositionerTest, TheRetransmitterFollowsThePositionUntilAnOutputIsFixed)
{
    ASSERT_EQ(set("10001", "20"), Status::Ok);
    ASSERT_EQ(set("10000", "60"), Status::Ok);
    const double position = number("2003");
    EXPECT_NEAR(positioner->RetransmittedOutput(), std::clamp(4 + 16 * (position - 20) / 40, 3.8, 20.5), 1e-9);

    const struct {
        const char* output;
        const char* method;
        Notification answer;
        double fixed;  // NAN: follows the position
    } steps[] = {
        {"12.5", "17", {517, ""}, 12.5}, {"2", "17", {-6, "17"}, 12.5},  // no loop carries 2 mA: the fixed output stays
        {"0", "17", {517, ""}, NAN},     {"22", "17", {517, ""}, 22},   {"22", "18", {518, ""}, NAN},
    };
    for (const auto& step : steps) {
        ASSERT_EQ(set("10002", step.output), Status::Ok);
        ASSERT_EQ(set(step.method), Status::Ok);
        scheduler.Advance(300);
        EXPECT_EQ(control->takeResults(), Notifications{step.answer}) << step.output << " " << step.method;
        EXPECT_EQ(positioner->OutputFixed(), !std::isnan(step.fixed)) << step.output << " " << step.method;
        if (!std::isnan(step.fixed)) {
            EXPECT_EQ(positioner->RetransmittedOutput(), step.fixed);
        }
    }
    EXPECT_EQ(get("10002"), "0") << "Finished leaves normal mode entered";
}
