#include "platform/IdleMemory.h"

#include <malloc.h>
#include <sys/mman.h>

#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <memory>

#include <unistd.h>

namespace qw {

namespace {

// The part of a path after its last '/'.
const char* FileNameOf(const char* path) {
    const char* slash = std::strrchr(path, '/');
    return slash ? slash + 1 : path;
}

}  // namespace

size_t ReleaseLibraryCode(const std::string& fileNamePrefix) {
    std::unique_ptr<FILE, int (*)(FILE*)> maps(std::fopen("/proc/self/maps", "re"), &std::fclose);
    if (!maps) return 0;
    size_t advised = 0;
    char line[4096];
    while (std::fgets(line, sizeof line, maps.get())) {
        uintmax_t start = 0, end = 0;
        char permissions[8] = {};
        int pathAt = 0;
        // start-end perms offset dev inode path
        if (std::sscanf(line, "%jx-%jx %7s %*s %*s %*s %n", &start, &end, permissions, &pathAt) != 3) continue;
        if (pathAt <= 0 || line[pathAt] != '/') continue;
        line[std::strcspn(line, "\n")] = '\0';
        // Only code that is never written: its pages are the file's, so
        // dropping them loses nothing. A writable or relocated (read-only
        // data) mapping holds the process's own changes and is left alone.
        if (std::strcmp(permissions, "r-xp") != 0 || end <= start) continue;
        if (std::strncmp(FileNameOf(line + pathAt), fileNamePrefix.c_str(), fileNamePrefix.size()) != 0) continue;
        if (madvise(reinterpret_cast<void*>(start), end - start, MADV_DONTNEED) == 0) advised += end - start;
    }
    return advised;
}

void ReleaseIdleMemory() {
    malloc_trim(0);
    ReleaseLibraryCode("libLLVM");
}

size_t ResidentBytes() {
    std::unique_ptr<FILE, int (*)(FILE*)> statm(std::fopen("/proc/self/statm", "re"), &std::fclose);
    if (!statm) return 0;
    uintmax_t size = 0, resident = 0;
    if (std::fscanf(statm.get(), "%ju %ju", &size, &resident) != 2) return 0;
    const long page = sysconf(_SC_PAGESIZE);
    return page > 0 ? static_cast<size_t>(resident) * static_cast<size_t>(page) : 0;
}

bool TIdleMemoryWatch::Check() {
    const size_t resident = ResidentBytes();
    if (resident == 0) return false;
    if (baseline_ != 0 && resident <= baseline_ + growth_) {
        // Shrinking moves the baseline down, so growth is counted from the low.
        if (resident < baseline_) baseline_ = resident;
        return false;
    }
    ReleaseIdleMemory();
    baseline_ = ResidentBytes();
    return true;
}

}  // namespace qw
