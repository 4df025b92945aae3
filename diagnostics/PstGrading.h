#pragma once

#include <optional>

namespace orvx::diagnostics {

// The configured limits a partial stroke test is graded against, in the results' pressure unit.
struct PstLimits {
    double frictionLow = 0;
    double frictionHigh = 0;
    double breakout = 0;
    double droop = 0;
};

// The measured results of one test, in the results' pressure unit (times in seconds).
struct PstResults {
    int passedFlag = 0;  // 0 passed, anything else failed
    double friction = 0;
    double lowerSpring = 0;
    double upperSpring = 0;
    double breakaway = 0;
    double droop = 0;
    double exhaustTime = 0;
    double fillTime = 0;
};

enum class Grade { Passed, Failed };

// Each row is graded on its own; a value on a limit fails.
Grade gradePassedFlag(int passedFlag);
// Passes only strictly between the two limits.
Grade gradeFriction(double friction, double low, double high);
// Passes only strictly below the limit (breakout pressure, droop).
Grade gradeBelowLimit(double value, double limit);

// "Passed" or "Failed".
const char* gradeText(Grade grade);

}  // namespace orvx::diagnostics
