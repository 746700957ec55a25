#pragma once
// Runs the built quaderwelt-world as a user would, with a time limit and an
// address-space limit, and collects its exit status and output.
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace qw::test {

struct ToolRun {
    int status = -1;  // exit status; -1 when killed or crashed
    bool timedOut = false;
    std::string out;
    std::string err;
    std::chrono::milliseconds elapsed{0};
};

inline std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The grid is 32 MB; the whole tool must fit well inside this.
inline constexpr rlim_t kToolAddressSpace = 256u << 20;

inline ToolRun RunTool(const std::vector<std::string>& args, const std::string& scratchDir,
                       std::chrono::milliseconds limit = std::chrono::seconds(10)) {
    const std::string outPath = scratchDir + "/.tool-stdout";
    const std::string errPath = scratchDir + "/.tool-stderr";
    std::vector<std::string> argv{QW_WORLD_TOOL};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> cargv;
    for (std::string& a : argv) cargv.push_back(a.data());
    cargv.push_back(nullptr);

    const auto start = std::chrono::steady_clock::now();
    pid_t child = fork();
    if (child == 0) {
        int in = open("/dev/null", O_RDONLY);
        int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (in < 0 || out < 0 || err < 0) _exit(126);
        dup2(in, 0);
        dup2(out, 1);
        dup2(err, 2);
#ifndef __SANITIZE_ADDRESS__  // AddressSanitizer reserves terabytes of shadow address space
        rlimit space{kToolAddressSpace, kToolAddressSpace};
        setrlimit(RLIMIT_AS, &space);
#endif
        execv(cargv[0], cargv.data());
        _exit(127);
    }
    ToolRun run;
    int status = 0;
    while (waitpid(child, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() - start > limit) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            run.timedOut = true;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    run.elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    if (!run.timedOut && WIFEXITED(status)) run.status = WEXITSTATUS(status);
    run.out = Slurp(outPath);
    run.err = Slurp(errPath);
    unlink(outPath.c_str());
    unlink(errPath.c_str());
    return run;
}

}  // namespace qw::test
