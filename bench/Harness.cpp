#include "Harness.h"

#include <algorithm>
#include <cstdio>

namespace qw::bench {

namespace {
int runsOverride = 0;
}

Figure Samples::Summary() const {
    Figure figure;
    if (ms_.empty()) return figure;
    std::vector<double> sorted = ms_;
    std::sort(sorted.begin(), sorted.end());
    size_t n = sorted.size();
    figure.median = n % 2 == 1 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2;
    figure.min = sorted.front();
    figure.max = sorted.back();
    figure.runs = static_cast<int>(n);
    return figure;
}

void PrintFigure(const std::string& name, const Figure& figure) {
    std::printf("%-44s median %9.2f ms   min %9.2f ms   max %9.2f ms   (%d runs)\n", name.c_str(),
                figure.median, figure.min, figure.max, figure.runs);
    std::fflush(stdout);
}

void PrintRatio(const std::string& name, double ratio) {
    std::printf("%-44s ratio  %9.2f\n", name.c_str(), ratio);
    std::fflush(stdout);
}

int Runs(int caseDefault) { return runsOverride > 0 ? runsOverride : caseDefault; }

void SetRunsOverride(int runs) { runsOverride = runs; }

std::vector<BenchCase>& RegisteredCases() {
    static std::vector<BenchCase> cases;
    return cases;
}

}  // namespace qw::bench
