#pragma once
// A small benchmark harness: each case lives in its own file, registers itself
// with QW_BENCH_CASE and prints its figures (median, min, max milliseconds)
// and ratios through the helpers below.
#include <chrono>
#include <string>
#include <vector>

namespace qw::bench {

struct Figure {
    double median = 0;  // milliseconds
    double min = 0;
    double max = 0;
    int runs = 0;
};

// The milliseconds of the repeated runs of one figure.
class Samples {
public:
    template <class Fn>
    double Time(Fn&& fn) {
        auto start = std::chrono::steady_clock::now();
        fn();
        std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - start;
        Add(elapsed.count());
        return elapsed.count();
    }
    void Add(double ms) { ms_.push_back(ms); }
    Figure Summary() const;

private:
    std::vector<double> ms_;
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
