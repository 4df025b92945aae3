#include "DiagnosticRecords.h"

#include "PressureUnits.h"

#include <algorithm>

namespace orvx::simulator {

namespace parameter = device::parameter;

namespace {

constexpr const device::Parameter* kCurves[] = {&parameter::FillCurve, &parameter::ExhaustCurve,
                                                &parameter::SampleInterval};

int unitOf(const ParameterTable& table)
{
    return static_cast<int>(table.Number(parameter::PressureUnit, kPsi));
}

}  // namespace

DiagnosticRecords::DiagnosticRecords(const ParameterTable& table)
{
    SetSampleInterval(static_cast<std::int64_t>(table.Number(parameter::SampleInterval, 100)));
    for (const device::Parameter* curve : kCurves)
        m_curvesAtStart[curve] = table.Value(*curve);
}

PstSettings DiagnosticRecords::SettingsOf(const ParameterTable& table) const
{
    PstSettings settings;
    settings.travel = std::clamp(table.Number(parameter::PstTravel, settings.travel), 0.5, 100.0);
    settings.speed = std::clamp(table.Number(parameter::PstSpeed, settings.speed), 0.05, 100.0);
    settings.dwellS = std::clamp(table.Number(parameter::PstDwellTime, settings.dwellS), 0.0, 600.0);
    settings.maxTimeS = std::clamp(table.Number(parameter::PstMaximumTime, settings.maxTimeS), 1.0, 3600.0);
    settings.intervalMs = m_sampleIntervalMs;
    const int unit = unitOf(table);
    settings.minimumPsi = toPsi(table.Number(parameter::PstMinimumPressure, fromPsi(settings.minimumPsi, unit)), unit);
    settings.breakoutLimitPsi = toPsi(table.Number(parameter::PstBreakout, fromPsi(settings.breakoutLimitPsi, unit)),
                                      unit);
    return settings;
}

PstResults::Grade DiagnosticRecords::StorePst(const StrokeSignature& signature, const PstSettings& settings,
                                              ParameterTable& table)
{
    const PstResults results(signature);
    const PstLimits limits{table.Number(parameter::PstFrictionLow), table.Number(parameter::PstFrictionHigh),
                           table.Number(parameter::PstBreakout), table.Number(parameter::PstDroop)};
    const PstResults::Grade grade = results.GradeAgainst(limits, unitOf(table));
    m_lastPst = Pst{signature, settings, results, grade.Passed()};
    LoadPst(table);
    return grade;
}

void DiagnosticRecords::LoadPst(ParameterTable& table)
{
    m_esdLoaded = false;
    if (m_lastPst) {
        m_lastPst->results.Write(table, m_lastPst->signature, m_lastPst->settings, m_lastPst->passed, unitOf(table));
        return;
    }
    for (const auto& [curve, value] : m_curvesAtStart)
        table.Set(*curve, value);
}

bool DiagnosticRecords::LoadEsdEvent(ParameterTable& table)
{
    if (!m_esdEvent)
        return false;
    m_esdLoaded = true;
    table.SetText(parameter::FillCurve, "");
    table.SetText(parameter::ExhaustCurve, m_esdEvent->CurveText(1, unitOf(table)));
    table.SetNumber(parameter::SampleInterval, static_cast<double>(m_esdEvent->IntervalMs()));
    return true;
}

void DiagnosticRecords::Reload(ParameterTable& table)
{
    if (m_esdLoaded)
        LoadEsdEvent(table);
    else if (m_lastPst)
        LoadPst(table);
}

}  // namespace orvx::simulator
