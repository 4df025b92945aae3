#pragma once

#include "PstResults.h"
#include "StrokeSignature.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace orvx::simulator {

// Years of partial stroke tests on one valve, compressed: a test a month while the packing
// wears and friction creeps up, and for one month an air leak that fails the test on droop
// before it is mended.
struct HistoryPlan {
    int tests = 12;
    std::chrono::year_month_day first{std::chrono::year(2024), std::chrono::month(1), std::chrono::day(15)};
    double frictionStartPsi = 3.0;
    double frictionPerTestPsi = 0.75;        // sliding friction; breakaway keeps 10 % above it
    int leakAtTest = 6;                      // counted from 0; -1 for none
    int unit = 6;                            // the HART pressure unit the records are kept in
    PstLimits limits{2.0, 15.0, 20.0, 5.0};  // psi
    PstSettings settings;
};

// One test of the history: when it ran, its signature and what the device read off it.
struct HistoricPst {
    std::chrono::sys_seconds when;
    StrokeSignature signature;
    bool passed = false;
    // The record values after PstData in data file order (PstPassed to NumSamplesDown), as the
    // device reports them: pressures in the plan's unit, whole numbers.
    std::array<std::int32_t, 15> values{};
};

// Runs the plan's tests on a valve model, one a calendar month apart at 09:30.
std::vector<HistoricPst> simulatePstHistory(const HistoryPlan& plan);

// A diagnostic data file (.dgn) holding the tests as PST records of the device 'tag' and
// 'deviceId', each stamped with its own time: the bytes a file saved after each test would
// hold (docs/data-file-format.md).
std::string pstHistoryFile(const std::vector<HistoricPst>& tests, const std::string& tag, std::int32_t deviceId);

}  // namespace orvx::simulator
