#pragma once
// A small benchmark harness: each case lives in its own file, registers itself
// with QW_BENCH_CASE and prints its figures (median, min, max milliseconds)
// and ratios through the helpers below.
#include <chrono>
#include <ctime>
#include <string>
#include <vector>

namespace qw::bench {

struct Figure {
    double median = 0;  // milliseconds
    double min = 0;
    double max = 0;
    double cpuMedian = 0;  // process CPU milliseconds, all threads
    int runs = 0;
};

// Process CPU time in milliseconds. Printed beside the wall time because the
// machines we measure on are shared: a loaded machine stretches the wall time
// far more than the CPU time.
double ProcessCpuMs();

// The middle value (the mean of the two middle ones for an even count), 0 for none.
double Median(std::vector<double> values);

// The milliseconds of the repeated runs of one figure.
class Samples {
public:
    template <class Fn>
    double Time(Fn&& fn) {
        double cpuStart = ProcessCpuMs();
        auto start = std::chrono::steady_clock::now();
        fn();
        std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - start;
        Add(elapsed.count(), ProcessCpuMs() - cpuStart);
        return elapsed.count();
    }
    void Add(double wallMs, double cpuMs) {
        wallMs_.push_back(wallMs);
        cpuMs_.push_back(cpuMs);
    }
    Figure Summary() const;

private:
    std::vector<double> wallMs_, cpuMs_;
};

void PrintFigure(const std::string& name, const Figure& figure);
void PrintRatio(const std::string& name, double ratio);

// Runs per figure: the case's own choice unless the command line gave --runs.
int Runs(int caseDefault);

using CaseFunction = void (*)();

struct BenchCase {
    std::string name;
    CaseFunction run;
};

std::vector<BenchCase>& RegisteredCases();
void SetRunsOverride(int runs);

struct RegisterCase {
    RegisterCase(const char* name, CaseFunction run) { RegisteredCases().push_back({name, run}); }
};

}  // namespace qw::bench

#define QW_BENCH_CASE(name)                                                       \
    static void name();                                                           \
    static const ::qw::bench::RegisterCase name##Registration(#name, name);       \
    static void name()
