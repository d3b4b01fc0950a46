#pragma once
#include <chrono>

namespace bench {

// Benchmarks and the crash test run each posting in a fresh process of their own binary:
//   BINARY --child post|floor FOLDER DATE RATE MINIMUM FIRSTMON(0|1)
// It prints the seconds the run took. Returns -1 when argv is not a child's; any
// invocation with --child is a child's, and wrong arguments are an error, never the parent's work.
int childMain(int argc, char** argv);

// Runs this binary as such a child and waits; fills the seconds it printed, the processor time
// it printed after them (zero when it printed none) and its peak resident memory in kilobytes.
// Returns the child's exit status.
int runChild(const char* mode, const char* folder, const char* date, bool firstmon, double* seconds, long* peakKb,
             double* cpuSeconds = nullptr);

// The processor time of this process so far, its threads' (those ended too) added up.
double processCpuSeconds();
// What a child prints: the seconds since `start`, then the processor time since `cpuAtStart`.
void printTimes(std::chrono::steady_clock::time_point start, double cpuAtStart);

} // namespace bench
