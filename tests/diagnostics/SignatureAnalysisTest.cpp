// Friction, breakaway, droop, the spring range and the response times read off a PST's curves.
#include "DrawnSignature.h"
#include "diagnostics/SignatureAnalysis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace orvx::test {
namespace {

using namespace diagnostics;

// Which figures are given, as letters: f friction, b breakaway, d droop, l and u the spring
// range, e and i the exhaust and fill time.
std::string given(const SignatureFigures& f)
{
    std::string letters;
    const std::pair<char, const std::optional<double>&> figures[] = {
        {'f', f.friction},    {'b', f.breakaway},   {'d', f.droop},   {'l', f.lowerSpring},
        {'u', f.upperSpring}, {'e', f.exhaustTime}, {'i', f.fillTime}};
    for (const auto& [letter, figure] : figures)
        if (figure)
            letters += letter;
    return letters;
}

TEST(SignatureAnalysis, GivesNoFigureTheCurvesCannotSay)
{
    const DrawnValve valve;
    const Curve exhaust = drawnExhaust(valve);
    const Curve fill = drawnFill(valve);
    Curve still = exhaust;  // the valve never leaves its start: every sample within 0.1 %
    for (std::size_t i = 0; i < still.position.size(); ++i)
        still.position[i] = static_cast<float>(valve.start + (i % 2 ? 0.08 : 0.0));
    Curve halfWayBack = fill;  // the fill stroke stops short of the middle
    halfWayBack.position.resize(3);
    halfWayBack.pressure.resize(3);
    Curve shortOfStart = fill;  // back to 0.2 % short of the start
    shortOfStart.position.back() -= 0.2f;
    Curve withNan = exhaust;
    withNan.pressure[4] = std::numeric_limits<float>::quiet_NaN();
    Curve unevenFill = fill;  // positions without their pressures count for nothing
    unevenFill.pressure.resize(2);

    const struct {
        const char* what;
        Curve exhaust;
        Curve fill;
        int intervalMs;
        const char* given;
    } rows[] = {
        {"curve 1 empty", {}, fill, 100, ""},
        {"the valve never moved: how far the pressure fell", still, fill, 100, "b"},
        {"a value that is no number", withNan, fill, 100, ""},
        {"curve 2 empty", exhaust, {}, 100, "bde"},
        {"curve 2 short of the middle", exhaust, halfWayBack, 100, "bde"},
        {"positions without pressures", exhaust, unevenFill, 100, "bde"},
        {"never back at the start", exhaust, shortOfStart, 100, "fbdlue"},
        {"an interval of 0", exhaust, fill, 0, "fbdlu"},
        {"a negative interval", exhaust, fill, -100, "fbdlu"},
        {"the whole signature", exhaust, fill, 100, "fbdluei"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(given(analyseSignature(row.exhaust, row.fill, row.intervalMs, 6)), row.given) << row.what;
}

TEST(SignatureAnalysis, ReadsEachFigureOffTheCurves)
{
    const struct {
        const char* what;
        DrawnValve valve;
        int intervalMs;
    } rows[] = {
        {"air to open, exhausting closes", {}, 100},
        {"air to close, exhausting opens", {.start = 40, .travel = 20, .springAtClosed = 30, .springAtOpen = 6}, 50},
        {"a sticking valve at the top", {.start = 100, .travel = -10, .friction = 17, .breakaway = 17.5}, 200},
        {"a leak and a weak spring", {.springAtClosed = 3, .springAtOpen = 17, .droop = 16}, 100},
        {"in bar",
         {.springAtClosed = 1.034, .springAtOpen = 2.413, .friction = 0.207, .breakaway = 0.228, .droop = 0.021},
         100},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        const DrawnValve& v = row.valve;
        const SignatureFigures f = analyseSignature(drawnExhaust(v), drawnFill(v), row.intervalMs, 7);
        ASSERT_EQ(given(f), "fbdluei");
        EXPECT_EQ(f.unitCode, 7u);
        EXPECT_NEAR(*f.friction, v.friction, 1e-4);
        EXPECT_NEAR(*f.breakaway, v.breakaway, 1e-4);
        EXPECT_NEAR(*f.droop, v.droop, 1e-4);
        EXPECT_NEAR(*f.lowerSpring, std::min(v.springAtClosed, v.springAtOpen), 1e-4);
        EXPECT_NEAR(*f.upperSpring, std::max(v.springAtClosed, v.springAtOpen), 1e-4);
        EXPECT_DOUBLE_EQ(*f.exhaustTime, v.ExhaustArrival() * row.intervalMs / 1000.0);
        EXPECT_DOUBLE_EQ(*f.fillTime, v.FillArrival() * row.intervalMs / 1000.0);
    }
}

TEST(SignatureAnalysis, ReadsARecordAtItsOwnIntervalAndUnit)
{
    const DrawnValve valve;
    const SignatureFigures f = analyseRecord(drawnRecord(valve, 12, 250));
    EXPECT_EQ(f.unitCode, 12u);
    EXPECT_DOUBLE_EQ(*f.exhaustTime, valve.ExhaustArrival() * 0.25);

    const SignatureFigures inPsi = convertFigures(f, 6);
    EXPECT_EQ(inPsi.unitCode, 6u);
    EXPECT_NEAR(*inPsi.friction, valve.friction / 6.89475729, 1e-5);
    EXPECT_NEAR(*inPsi.upperSpring, valve.springAtOpen / 6.89475729, 1e-5);
    EXPECT_EQ(inPsi.fillTime, f.fillTime) << "times stay as they are";
    EXPECT_EQ(convertFigures(SignatureFigures{}, 7).friction, std::nullopt) << "none stays none";
}

}  // namespace
}  // namespace orvx::test
