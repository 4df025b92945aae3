#include "PstResults.h"

#include "ParameterTable.h"
#include "PressureUnits.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

namespace orvx::simulator {

namespace parameter = device::parameter;

namespace {

constexpr double kMovedPercent = 0.1;  // a position change the device takes for movement

bool near(double position, double to)
{
    return std::abs(position - to) <= kMovedPercent;
}

// The pressure where the curve first passes 'position', on the line between two samples.
std::optional<double> pressureAt(std::span<const StrokeSample> curve, double position)
{
    for (std::size_t i = 1; i < curve.size(); ++i) {
        const StrokeSample& a = curve[i - 1];
        const StrokeSample& b = curve[i];
        if (a.position == b.position || (position - a.position) * (position - b.position) > 0)
            continue;
        return a.pressurePsi + (b.pressurePsi - a.pressurePsi) * (position - a.position) / (b.position - a.position);
    }
    return std::nullopt;
}

// The first sample at 'position'.
const StrokeSample* arrival(std::span<const StrokeSample> curve, double position)
{
    const auto it = std::ranges::find_if(curve, [&](const StrokeSample& s) { return near(s.position, position); });
    return it == curve.end() ? nullptr : &*it;
}

double reported(double psi, int unit)
{
    const double scale = std::pow(10.0, pressureDecimals(unit));
    return std::round(fromPsi(psi, unit) * scale) / scale;
}

}  // namespace

PstResults::PstResults(const StrokeSignature& signature)
{
    const auto exhaust = signature.Exhaust();
    const auto fill = signature.Fill();
    if (exhaust.empty())
        return;
    const StrokeSample start = exhaust.front();
    const double target = signature.TargetPosition();
    m_towardOpen = target > start.position;

    const auto moved = std::ranges::find_if(exhaust,
                                            [&](const StrokeSample& s) { return !near(s.position, start.position); });
    m_breakaway = start.pressurePsi - (moved != exhaust.end()
                                           ? moved->pressurePsi
                                           : std::ranges::min(exhaust, {}, &StrokeSample::pressurePsi).pressurePsi);
    m_moved = moved != exhaust.end();

    // Friction and the spring line are read at the middle of the stroke the valve made, which
    // is the travel asked for unless the test stopped short of it.
    const StrokeSample* held = arrival(exhaust, target);
    const double reached = held ? target : std::ranges::max(exhaust, {}, [&](const StrokeSample& s) {
                                               return std::abs(s.position - start.position);
                                           }).position;
    const double middle = (start.position + reached) / 2.0;
    const auto down = pressureAt(exhaust, middle);
    const auto up = pressureAt(fill, middle);
    if (m_moved && down && up) {
        m_frictionRead = true;
        m_friction = (*up - *down) / 2.0;
        // The spring line through the rest pressure at the start and the band's middle.
        const double slope = ((*up + *down) / 2.0 - start.pressurePsi) / (middle - start.position);
        const double atClosed = start.pressurePsi - slope * start.position;
        const double atOpen = atClosed + slope * 100.0;
        m_springLow = std::min(atClosed, atOpen);
        m_springHigh = std::max(atClosed, atOpen);
    }

    if (held) {
        // The largest fall of the pressure while held, from any high point to a later low one:
        // a positioner filling a leaking actuator back makes it a saw-tooth.
        double highest = held->pressurePsi;
        for (const StrokeSample& s : exhaust.subspan(static_cast<std::size_t>(held - exhaust.data()))) {
            highest = std::max(highest, s.pressurePsi);
            m_droop = std::max(m_droop, highest - s.pressurePsi);
        }
    }
    // A test stopped short of its travel took as long as the valve took to where it stopped.
    const StrokeSample* rested = held ? held : arrival(exhaust, reached);
    m_exhaustS = static_cast<double>((rested ? *rested : exhaust.back()).timeMs) / 1000.0;
    if (!fill.empty()) {
        const StrokeSample* back = arrival(fill, start.position);
        m_fillS = static_cast<double>((back ? *back : fill.back()).timeMs - fill.front().timeMs) / 1000.0;
        m_completed = held && back && near(fill.back().position, start.position) && !signature.Stopped();
    }
}

PstResults::Grade PstResults::GradeAgainst(const PstLimits& limits, int unit) const
{
    const double friction = reported(m_friction, unit);
    Grade grade;
    grade.frictionBelow = m_frictionRead && !(friction > limits.frictionLow);
    grade.frictionAbove = m_frictionRead && !(friction < limits.frictionHigh);
    grade.breakawayExceeded = !(reported(m_breakaway, unit) < limits.breakaway);
    grade.droopExceeded = !(reported(m_droop, unit) < limits.droop);
    grade.springTooWeak = m_completed && !(m_springLow > m_breakaway);
    grade.incomplete = !m_completed;
    if (!m_moved)
        grade.stuck = m_towardOpen ? FaultSet::kValveStuckClosed : FaultSet::kValveStuckOpened;
    return grade;
}

FaultSet PstResults::Grade::Faults() const
{
    FaultSet faults;
    faults.Raise(FaultSet::kNewPstData);
    const std::pair<bool, int> bits[] = {{!Passed(), FaultSet::kPstFailed},
                                         {frictionBelow, FaultSet::kFrictionBelowNormal},
                                         {frictionAbove, FaultSet::kFrictionAboveNormal},
                                         {breakawayExceeded, FaultSet::kBreakoutExceeded},
                                         {droopExceeded, FaultSet::kDroopAbnormal},
                                         {stuck != 0, stuck}};
    for (const auto& [raised, bit] : bits)
        if (raised)
            faults.Raise(bit);
    return faults;
}

void PstResults::Write(ParameterTable& table, const StrokeSignature& signature, const PstSettings& settings,
                       bool passed, int unit) const
{
    const int decimals = pressureDecimals(unit);
    const auto pressure = [&](const device::Parameter& p, double psi) {
        table.SetNumber(p, fromPsi(psi, unit), decimals);
    };
    const auto whole = [&](const device::Parameter& p, double value) { table.SetNumber(p, std::round(value)); };
    table.SetNumber(parameter::PstPassed, passed ? 0 : 1);
    pressure(parameter::PstFriction, m_friction);
    pressure(parameter::PstLowerSpring, m_springLow);
    pressure(parameter::PstUpperSpring, m_springHigh);
    pressure(parameter::PstBreakaway, m_breakaway);
    pressure(parameter::PstDroopResult, m_droop);
    table.SetNumber(parameter::PstExhaustTime, m_exhaustS, 1);
    table.SetNumber(parameter::PstFillTime, m_fillS, 1);

    table.SetText(parameter::FillCurve, signature.CurveText(2, unit));
    table.SetText(parameter::ExhaustCurve, signature.CurveText(1, unit));
    table.SetNumber(parameter::SampleInterval, static_cast<double>(signature.IntervalMs()));
    table.SetNumber(parameter::RecordPassed, passed ? 0 : 1);
    whole(parameter::RecordFriction, fromPsi(m_friction, unit));
    whole(parameter::RecordLowerSpring, fromPsi(m_springLow, unit));
    whole(parameter::RecordUpperSpring, fromPsi(m_springHigh, unit));
    whole(parameter::RecordBreakaway, fromPsi(m_breakaway, unit));
    whole(parameter::RecordDroop, fromPsi(m_droop, unit));
    whole(parameter::RecordExhaustTime, m_exhaustS);
    whole(parameter::RecordFillTime, m_fillS);
    table.SetNumber(parameter::RecordSamplesDown, static_cast<double>(signature.Exhaust().size()));
    table.SetNumber(parameter::RecordSamples, static_cast<double>(signature.Samples().size()));
    table.SetNumber(parameter::RecordInterval, static_cast<double>(signature.IntervalMs()));
    whole(parameter::RecordStart, signature.Samples().empty() ? 0.0 : signature.Samples().front().position);
    whole(parameter::RecordTravel, settings.travel);
    whole(parameter::RecordSpeed, settings.speed);
}

}  // namespace orvx::simulator
