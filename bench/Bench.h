#pragma once

#include <benchmark/benchmark.h>

#include <QString>
#include <QStringList>

namespace orvx::bench {

// A smoke run (ORVX_BENCH_SMOKE=1) runs each benchmark once on small inputs, to prove they
// still build and run; its times mean nothing.
bool Smoke();
// The iterations of a benchmark that pays a set-up outside its timing for each one.
int SetUpIterations(int full);
// A benchmark timed as long as Google Benchmark likes, or once in a smoke run.
benchmark::internal::Benchmark* Timed(benchmark::internal::Benchmark* benchmark);
// A figure whose every run moves with what else the machine does: measured `runs` times and
// reported as the fastest, since a disturbance only ever adds time, so that disturbed runs do not
// decide whether a goal holds. Short figures take more runs: one disturbance weighs more there,
// and a run as short as `seconds` (when given) finds the machine quiet more often.
benchmark::internal::Benchmark* Steady(benchmark::internal::Benchmark* benchmark, int runs = 5, double seconds = 0);

// Registration of each group of figures; the page labels come from the real navigation tree.
void RegisterModuleBenchmarks(const QStringList& pageLabels);
void RegisterLibraryBenchmarks();
void RegisterDataFileBenchmarks();
void RegisterHartBenchmarks();
void RegisterLinkRefreshBenchmarks();
void RegisterPlantViewBenchmarks();
void RegisterStoreBenchmarks();
// What the benchmarks keep between runs goes before the application.
void ReleaseModuleBenchmarks();
void ReleaseDataFile();
void ReleaseStore();

}  // namespace orvx::bench
