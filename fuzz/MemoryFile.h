#pragma once
// The loaders take file names; a memory file gives the fuzz input one
// without touching the disk.
#include <string>

#include "FuzzTargets.h"

namespace qw::fuzz {

class MemoryFile {
public:
    explicit MemoryFile(Bytes bytes);
    ~MemoryFile();
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;

    // A path that opens a fresh reader on the bytes (a regular file).
    const std::string& path() const { return path_; }

private:
    int fd_;
    std::string path_;
};

}  // namespace qw::fuzz
