// Benchmark entry with a headless QApplication, for benchmarks that need widgets.
#pragma once

#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdlib>
#include <sys/resource.h>

inline long PeakResidentKiB() {
  rusage ru {};
  getrusage(RUSAGE_SELF, &ru);
  return ru.ru_maxrss;
}

#define ZQ_BENCHMARK_MAIN()                                                       \
  int main(int argc, char** argv) {                                               \
    if (!std::getenv("DISPLAY")) setenv("QT_QPA_PLATFORM", "offscreen", 1);       \
    QApplication app(argc, argv);                                                 \
    ::benchmark::Initialize(&argc, argv);                                         \
    ::benchmark::RunSpecifiedBenchmarks();                                        \
    ::benchmark::Shutdown();                                                      \
    return 0;                                                                     \
  }
