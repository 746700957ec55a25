#include "MemoryFile.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace qw::fuzz {

void Require(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "fuzz target: broken promise: %s\n", what);
    std::abort();
}

MemoryFile::MemoryFile(Bytes bytes) : fd_(memfd_create("qw-fuzz-input", MFD_CLOEXEC)) {
    Require(fd_ >= 0, "memfd_create");
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
        Require(n > 0, "write to the memory file");
        done += static_cast<size_t>(n);
    }
    path_ = "/proc/self/fd/" + std::to_string(fd_);
}

MemoryFile::~MemoryFile() { ::close(fd_); }

}  // namespace qw::fuzz
