// The simulated device speaks the device vocabulary: it answers every parameter with a value of
// the parameter's type and range, however it got there, and knows every method; a method that
// cannot be cancelled runs to its end. Its valve comes to rest by one formula, which a spring
// without rate does not break.

#include "PositionerFixture.h"
#include "device/Vocabulary.h"
#include "simulator/ValveModel.h"

#include <functional>
#include <string>

using namespace orvx;
using namespace orvx::simtest;

namespace {

class SimulatorVocabulary : public SimulatedPositionerTest {
protected:
    // Every parameter whose value is no value of it, with the reason.
    std::string misfits()
    {
        std::string found;
        const int unit = std::stoi(get("4003"));
        for (const device::Parameter* p : device::parameters()) {
            Variant value;
            if (positioner->GetParameter(BStr::fromUtf8(p->tag), &value) != Status::Ok) {
                found += std::string(p->name) + " does not read; ";
                continue;
            }
            const std::string text = value.toText().toUtf8();
            if (const std::string problem = device::problemWith(*p, text, unit); !problem.empty())
                found += std::string(p->name) + " '" + text.substr(0, 40) + "': " + problem + "; ";
        }
        return found;
    }
    void run(const char* method, std::int64_t ms = 70'000)
    {
        ASSERT_EQ(set(method), Status::Ok) << method;
        scheduler.Advance(ms);
    }
    void changeMode(const char* mode)
    {
        ASSERT_EQ(set("1005", mode), Status::Ok);
        run("0", 1000);
    }
};

TEST_F(SimulatorVocabulary, EveryParameterHoldsAValueOfItsTypeWhateverTheDeviceDid)
{
    const std::pair<const char*, std::function<void()>> steps[] = {
        {"as it starts", [] {}},
        {"after a PST", [&] { run("4"); }},
        {"after a PST in bar",
         [&] {
             set("4003", "7");
             run("4");
         }},
        {"after a sticking valve's PST in kpa",
         [&] {
             set("4003", "12");
             positioner->SetFault(SimulatedFault::StickingValve, true);
             run("4");
             positioner->SetFault(SimulatedFault::StickingValve, false);
         }},
        {"with the ESD event loaded",
         [&] {
             positioner->SetFault(SimulatedFault::EsdTrip, true);
             run("33");
             positioner->SetFault(SimulatedFault::EsdTrip, false);
         }},
        {"calibrated in setup mode",
         [&] {
             set("4003", "6");
             changeMode("0");
             run("8", 120'000);
             run("12", 120'000);
         }},
        {"driven by hand, its output fixed",
         [&] {
             changeMode("1");
             set("9000", "30");
             run("16");
             set("10002", "12.5");
             run("17");
         }},
        {"reset, its schedule written",
         [&] {
             run("6");
             for (const auto& [tag, value] :
                  {std::pair{"16012", "7"}, {"16015", "3"}, {"16016", "600"}, {"16030", "1"}, {"16031", "1439"}})
                 set(tag, value);
             run("19");
         }},
    };
    for (const auto& [step, act] : steps) {
        act();
        EXPECT_EQ(misfits(), "") << step;
    }
}

TEST_F(SimulatorVocabulary, TheDeviceKnowsEveryMethodOfTheVocabulary)
{
    for (const device::Method* method : device::methods()) {
        run(std::string(method->tag).c_str());
        for (const Notification& n : control->takeResults())
            EXPECT_NE(n.code, -1) << method->name << " is unknown to the device";
    }
}

TEST_F(SimulatorVocabulary, AMethodThatCannotBeCancelledRunsToItsEndAndAnswersForItself)
{
    changeMode("0");
    const struct {
        const char* method;
        std::int64_t cancelAfter;
    } rows[] = {{"6", 200}, {"5", 1000}, {"13", 100}, {"0", 100}};
    for (const auto& [method, cancelAfter] : rows) {
        control->takeResults();
        ASSERT_EQ(set(method), Status::Ok);
        scheduler.Advance(cancelAfter);
        ASSERT_EQ(set("23"), Status::Ok);
        scheduler.Advance(5000);
        const Notifications results = control->takeResults();
        ASSERT_FALSE(results.empty()) << method;
        EXPECT_EQ(results.back(), (Notification{500 + std::stoi(method), ""})) << method;
        for (const Notification& n : results)
            EXPECT_TRUE(n.code != -6 && n.code != 523) << method << " answered " << n.code;
    }
    // With nothing under way a cancel is acknowledged at once.
    run("23", 100);
    EXPECT_EQ(control->takeResults(), (Notifications{{523, ""}}));
}

using simulator::ValveModel;

ValveModel valveWith(double springLow, double springHigh, double supply)
{
    ValveModel valve;
    ValveModel::Mechanics mechanics;
    mechanics.springLowPsi = springLow;
    mechanics.springHighPsi = springHigh;
    valve.SetMechanics(mechanics);
    valve.SetSupplyPressure(supply);
    return valve;
}

TEST(ValveRest, ASpringWithoutRateHoldsTheValveAtTheEndItsPressureTakesItTo)
{
    const struct {
        double springLow, springHigh, supply;
        double vented, loaded;  // the reach, as compressions
    } rows[] = {
        {15, 15, 10, 0, 0},    // a supply below spring and friction cannot lift it
        {15, 15, 60, 0, 100},  // any more takes it all the way
        {20, 10, 60, 0, 100},  // a spring wound the wrong way has no rate either
        {15, 35, 60, 0, 100},  // a healthy spring: friction seats it, the supply overcomes it
        {15, 35, 28, 0, 50},   // a low supply holds it half way: 28 - 3 friction = 15 + 10
    };
    for (const auto& row : rows) {
        const ValveModel valve = valveWith(row.springLow, row.springHigh, row.supply);
        EXPECT_DOUBLE_EQ(valve.Reachable().vented, row.vented) << row.springLow << " " << row.springHigh;
        EXPECT_DOUBLE_EQ(valve.Reachable().loaded, row.loaded) << row.springLow << " " << row.springHigh;
    }
    // The loop's setpoint is followed only as far as the supply reaches.
    ValveModel starved = valveWith(15, 15, 10);
    starved.SetPosition(50);
    starved.Advance(20'000, 80);
    EXPECT_NEAR(starved.Position(), 0.0, 0.01);
}

}  // namespace
