#include "Harness.h"

#include <algorithm>
#include <cstdio>

namespace qw::bench {

namespace {

int runsOverride = 0;

}  // namespace

double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double ProcessCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

Figure Samples::Summary() const {
    Figure figure;
    if (wallMs_.empty()) return figure;
    figure.median = Median(wallMs_);
    figure.min = *std::min_element(wallMs_.begin(), wallMs_.end());
    figure.max = *std::max_element(wallMs_.begin(), wallMs_.end());
    figure.cpuMedian = Median(cpuMs_);
    figure.runs = static_cast<int>(wallMs_.size());
    return figure;
}

void PrintFigure(const std::string& name, const Figure& figure) {
    std::printf("%-44s median %9.2f ms  min %9.2f ms  max %9.2f ms  (cpu median %9.2f ms, %d runs)\n",
                name.c_str(), figure.median, figure.min, figure.max, figure.cpuMedian, figure.runs);
    std::fflush(stdout);
}

void PrintRatio(const std::string& name, double ratio) {
    std::printf("%-44s ratio   %9.2f\n", name.c_str(), ratio);
    std::fflush(stdout);
}

int Runs(int caseDefault) { return runsOverride > 0 ? runsOverride : caseDefault; }

void SetRunsOverride(int runs) { runsOverride = runs; }

std::vector<BenchCase>& RegisteredCases() {
    static std::vector<BenchCase> cases;
    return cases;
}

}  // namespace qw::bench
