#include "DiagnosticRecords.h"

#include "PressureUnits.h"

#include <algorithm>

namespace orvx::simulator {

namespace {

const char* const kCurveTags[] = {"16037", "16038", "16039"};

int unitOf(const ParameterTable& table)
{
    return static_cast<int>(table.Number("4003", kPsi));
}

}  // namespace

DiagnosticRecords::DiagnosticRecords(const ParameterTable& table)
{
    SetSampleInterval(static_cast<std::int64_t>(table.Number("16039", 100)));
    for (const char* tag : kCurveTags)
        m_curvesAtStart[tag] = *table.Find(tag);
}

PstSettings DiagnosticRecords::SettingsOf(const ParameterTable& table) const
{
    PstSettings settings;
    settings.travel = std::clamp(table.Number("16000", settings.travel), 0.5, 100.0);
    settings.speed = std::clamp(table.Number("16003", settings.speed), 0.05, 100.0);
    settings.dwellS = std::clamp(table.Number("16004", settings.dwellS), 0.0, 600.0);
    settings.maxTimeS = std::clamp(table.Number("16002", settings.maxTimeS), 1.0, 3600.0);
    settings.intervalMs = m_sampleIntervalMs;
    const int unit = unitOf(table);
    settings.minimumPsi = toPsi(table.Number("16001", fromPsi(settings.minimumPsi, unit)), unit);
    settings.breakoutLimitPsi = toPsi(table.Number("16007", fromPsi(settings.breakoutLimitPsi, unit)), unit);
    return settings;
}

PstResults::Grade DiagnosticRecords::StorePst(const StrokeSignature& signature, const PstSettings& settings,
                                              ParameterTable& table)
{
    const PstResults results(signature);
    const PstLimits limits{table.Number("16005"), table.Number("16006"), table.Number("16007"), table.Number("16008")};
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
    for (const auto& [tag, value] : m_curvesAtStart)
        table.Set(tag, value);
}

bool DiagnosticRecords::LoadEsdEvent(ParameterTable& table)
{
    if (!m_esdEvent)
        return false;
    m_esdLoaded = true;
    table.SetText("16037", "");
    table.SetText("16038", m_esdEvent->CurveText(1, unitOf(table)));
    table.SetNumber("16039", static_cast<double>(m_esdEvent->IntervalMs()));
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
