// Timing by the thread's CPU time: time lost to other processes on a shared
// machine is left out instead of landing on whichever part it happens to hit.
#pragma once

#include <benchmark/benchmark.h>
#include <ctime>

inline double threadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

template <typename Work>
double secondsOf(Work&& work) {
    const double start = threadSeconds();
    work();
    return threadSeconds() - start;
}

// Seconds summed over a benchmark's iterations, reported per iteration.
inline benchmark::Counter perPass(double seconds) {
    return benchmark::Counter(seconds, benchmark::Counter::kAvgIterations);
}
