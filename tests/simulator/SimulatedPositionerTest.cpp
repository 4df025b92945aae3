#include "device/IUpdateUI.h"
#include "simulator/ManualScheduler.h"
#include "simulator/SimulatedPositioner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

using namespace orvx;
using com::BStr;
using com::Status;
using com::Variant;
using simulator::ManualScheduler;

namespace {

struct Notification {
    std::int32_t code;
    std::string value;
    bool operator==(const Notification&) const = default;
};
using Notifications = std::vector<Notification>;

// A control that records what the business object tells it: the periodic 524 as a count,
// everything else in order.
class RecordingControl : public com::ComObject<host::IDtmActiveXControl, host::IUpdateUI> {
public:
    int newValues = 0;
    Notifications received;
    Status Init(const BStr&, const BStr&, com::IUnknown*, bool*) override { return Status::Ok; }
    Status PrepareToRelease(bool*) override { return Status::Ok; }
    Status Notify(std::int32_t code, const Variant& value) override
    {
        if (code == 524)
            ++newValues;
        else
            received.push_back({code, value.toText().toUtf8()});
        return Status::Ok;
    }
    Notifications takeResults() { return std::exchange(received, {}); }
};

class SimulatedPositionerTest : public ::testing::Test {
protected:
    SimulatedPositionerTest() { enrol(control, u"main"); }
    bool enrol(const com::ComPtr<RecordingControl>& c, const char16_t* callerTag)
    {
        bool accepted = false;
        return succeeded(registry()->RegisterControl(u"Orvx.Main.1", callerTag, c.get(), true, &accepted)) && accepted;
    }
    com::ComPtr<host::IDtmUiRegistry> registry() { return com::queryInterface<host::IDtmUiRegistry>(positioner); }
    std::string get(const char* tag)
    {
        Variant value;
        EXPECT_EQ(positioner->GetParameter(BStr::fromUtf8(tag), &value), Status::Ok) << tag;
        return value.toText().toUtf8();
    }
    Status set(const char* tag, const char* text = nullptr)
    {
        std::uint32_t word = 0;
        return positioner->SetParameter(BStr::fromUtf8(tag), text ? Variant::text(BStr::fromUtf8(text)) : Variant(),
                                        &word);
    }

    ManualScheduler scheduler;
    com::ComPtr<simulator::SimulatedPositioner> positioner = com::makeComObject<simulator::SimulatedPositioner>(
        scheduler);
    com::ComPtr<RecordingControl> control = com::makeComObject<RecordingControl>();
};

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
    com::queryInterface<host::IDtmUiEarlier>(positioner)->GetText(u"UI_TEXT_0", &found);
    com::queryInterface<host::IDtmUiCurrent>(positioner)->GetText(u"UI_TEXT_1", &missing);
    EXPECT_EQ(found.toUtf8() + " " + missing.toUtf8(), "Verbunden ##UI_TEXT_1");
}

}  // namespace
