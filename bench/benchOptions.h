// Options and outcome of the benchmark program beyond Google Benchmark's own.
#pragma once

#include <benchmark/benchmark.h>

#include <string>

// --pello_quick: the smallest sizes and a few iterations only, so that a
// smoke test can run every benchmark in seconds.
bool quickRun();

// Ends a benchmark with an error and makes the program exit non-zero.
void failBenchmark(benchmark::State &state, const std::string &why);
