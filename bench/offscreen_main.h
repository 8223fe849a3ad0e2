#pragma once
// The benchmarks' main: the program's windows are made on the offscreen platform.
#include <benchmark/benchmark.h>

#include <cstdlib>

namespace benchnight {

inline int RunOffscreenBenchmarks(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

}  // namespace benchnight
