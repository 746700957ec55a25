// quaderwelt-bench [--runs N] [--list] [name-part ...]
// Runs every registered case, or those whose name contains one of the parts.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <vector>

#include "Harness.h"

int main(int argc, char** argv) {
    using namespace qw::bench;
    std::vector<std::string> parts;
    bool listOnly = false;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--list") {
            listOnly = true;
        } else if (arg == "--runs" && i + 1 < argc) {
            SetRunsOverride(std::atoi(argv[++i]));
        } else {
            parts.push_back(arg);
        }
    }

    std::vector<BenchCase> cases = RegisteredCases();
    std::sort(cases.begin(), cases.end(), [](const BenchCase& a, const BenchCase& b) { return a.name < b.name; });
    for (const BenchCase& c : cases) {
        bool wanted = parts.empty() || std::any_of(parts.begin(), parts.end(), [&](const std::string& part) {
                          return c.name.find(part) != std::string::npos;
                      });
        if (!wanted) continue;
        std::printf("== %s\n", c.name.c_str());
        std::fflush(stdout);
        if (listOnly) continue;
        try {
            c.run();
        } catch (const std::exception& e) {
            std::fprintf(stderr, "%s failed: %s\n", c.name.c_str(), e.what());
            return 1;
        }
    }
    return 0;
}
