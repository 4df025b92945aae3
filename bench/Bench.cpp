#include "Bench.h"

#include <QtGlobal>

#include <algorithm>
#include <vector>

namespace orvx::bench {

bool Smoke()
{
    static const bool smoke = qEnvironmentVariableIntValue("ORVX_BENCH_SMOKE") != 0;
    return smoke;
}

int SetUpIterations(int full)
{
    return Smoke() ? 1 : full;
}

benchmark::internal::Benchmark* Timed(benchmark::internal::Benchmark* benchmark)
{
    return Smoke() ? benchmark->Iterations(1) : benchmark;
}

benchmark::internal::Benchmark* Steady(benchmark::internal::Benchmark* benchmark, int runs, double seconds)
{
    if (Smoke())
        return benchmark;
    if (seconds > 0)
        benchmark->MinTime(seconds);
    return benchmark->Repetitions(runs)
        ->ComputeStatistics("min",
                            [](const std::vector<double>& runs) { return *std::min_element(runs.begin(), runs.end()); })
        ->ReportAggregatesOnly(true);
}

}  // namespace orvx::bench
