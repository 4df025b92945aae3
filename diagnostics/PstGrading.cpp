#include "PstGrading.h"

namespace orvx::diagnostics {

Grade gradePassedFlag(int passedFlag)
{
    return passedFlag == 0 ? Grade::Passed : Grade::Failed;
}

Grade gradeFriction(double friction, double low, double high)
{
    return low < friction && friction < high ? Grade::Passed : Grade::Failed;
}

Grade gradeBelowLimit(double value, double limit)
{
    return value < limit ? Grade::Passed : Grade::Failed;
}

const char* gradeText(Grade grade)
{
    return grade == Grade::Passed ? "Passed" : "Failed";
}

}  // namespace orvx::diagnostics
