#include "SimulatedHistory.h"

#include "ParameterTable.h"
#include "PressureUnits.h"
#include "ValveModel.h"
#include "device/DataFileLines.h"

#include <cmath>
#include <cstdio>

namespace orvx::simulator {

namespace {

using namespace std::chrono;
namespace datafile = device::datafile;

std::string format(const char* pattern, auto... args)
{
    char buffer[256];
    const int n = std::snprintf(buffer, sizeof buffer, pattern, args...);
    return std::string(buffer, static_cast<std::size_t>(std::max(0, std::min<int>(n, sizeof buffer - 1))));
}

struct Stamp {
    int year, month, day, hour, minute, second;
};

Stamp stampOf(sys_seconds when)
{
    const auto days = floor<std::chrono::days>(when);
    const year_month_day date(days);
    const hh_mm_ss time(when - days);
    return {static_cast<int>(date.year()),
            static_cast<int>(static_cast<unsigned>(date.month())),
            static_cast<int>(static_cast<unsigned>(date.day())),
            static_cast<int>(time.hours().count()),
            static_cast<int>(time.minutes().count()),
            static_cast<int>(time.seconds().count())};
}

std::string point(double position, double pressure)
{
    return format("%.4f, %.4f", static_cast<double>(static_cast<float>(position)),
                  static_cast<double>(static_cast<float>(pressure)));
}

}  // namespace

std::vector<HistoricPst> simulatePstHistory(const HistoryPlan& plan)
{
    const PstLimits limits{fromPsi(plan.limits.frictionLow, plan.unit), fromPsi(plan.limits.frictionHigh, plan.unit),
                           fromPsi(plan.limits.breakaway, plan.unit), fromPsi(plan.limits.droop, plan.unit)};
    std::vector<HistoricPst> tests;
    ParameterTable table;
    for (int i = 0; i < plan.tests; ++i) {
        ValveModel::Mechanics mechanics;
        mechanics.frictionPsi = plan.frictionStartPsi + plan.frictionPerTestPsi * i;
        mechanics.breakawayPsi = mechanics.frictionPsi * 1.1;
        if (i == plan.leakAtTest)
            mechanics.leakPerS = 0.2;  // the dwell droops through the friction band, past the droop limit
        ValveModel valve;
        valve.SetMechanics(mechanics);
        valve.SetInputSignal(20.0);
        valve.SetPosition(valve.SignalSetpoint());

        const sys_days day = sys_days(plan.first + months(i));
        HistoricPst test{day + hours(9) + minutes(30), StrokeSignature::PartialStroke(valve, plan.settings)};
        const PstResults results(test.signature);
        test.passed = results.GradeAgainst(limits, plan.unit).Passed();
        results.Write(table, test.signature, plan.settings, test.passed, plan.unit);
        // The record as the device would report it in the plan's unit.
        table.SetNumber(device::parameter::MeasuredPressureUnit, plan.unit);
        for (std::size_t v = 0; v < datafile::kValueCount; ++v)
            if (const device::Parameter* source = datafile::kValueSources[v])
                test.values[v] = static_cast<std::int32_t>(std::lround(table.Number(*source)));
        test.values[datafile::kSamplesUp] = static_cast<std::int32_t>(
                                                std::lround(table.Number(device::parameter::RecordSamples))) -
                                            test.values[datafile::kValueCount - 1];
        tests.push_back(std::move(test));
    }
    return tests;
}

std::string pstHistoryFile(const std::vector<HistoricPst>& tests, const std::string& tag, std::int32_t deviceId)
{
    std::string out;
    if (tests.empty())
        return out;
    const Stamp first = stampOf(tests.front().when);
    const std::string end(datafile::kLineEnd);
    out += format("%-9s, %02d/%02d/%02d %02d:%02d", std::string(datafile::kVersionTag).c_str(), first.month, first.day,
                  first.year - 2000, first.hour, first.minute) +
           end;
    const std::string shortTag = tag.substr(0, 128);
    for (const HistoricPst& test : tests) {
        const Stamp s = stampOf(test.when);
        out += format("%-3s, %-8s, %07d, %02d/%02d/%04d %02d:%02d:%02d", std::string(datafile::kPstKind).c_str(),
                      shortTag.c_str(), deviceId, s.month, s.day, s.year, s.hour, s.minute, s.second) +
               end;
        out += std::string(datafile::kNamesLine) + end;
        out += "1";  // PstData: a PST
        for (const std::int32_t value : test.values)
            out += format(", %d", value);
        out += end + std::string(datafile::kColumnsLine) + end;
        const int unit = test.values[datafile::kPresUnits];
        const auto exhaust = test.signature.Exhaust();
        const auto fill = test.signature.Fill();
        for (std::size_t i = 0; i < std::max(exhaust.size(), fill.size()); ++i) {
            out += i < exhaust.size() ? point(exhaust[i].position, fromPsi(exhaust[i].pressurePsi, unit)) + ", "
                                      : std::string(", , ");
            out += i < fill.size() ? point(fill[i].position, fromPsi(fill[i].pressurePsi, unit)) : std::string(", ");
            out += end;
        }
        out += std::string(datafile::kEndLine) + end;
    }
    return out;
}

}  // namespace orvx::simulator
