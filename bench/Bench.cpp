#include "Bench.h"

#include <QtGlobal>

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

benchmark::internal::Benchmark* Steady(benchmark::internal::Benchmark* benchmark)
{
    return Smoke() ? benchmark : benchmark->Repetitions(3)->ReportAggregatesOnly(true);
}

}  // namespace orvx::bench
