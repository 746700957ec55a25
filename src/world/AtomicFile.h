#pragma once
// Replaces a file so that it holds either its old content or the whole new
// one, never a mix: the data goes to a temporary file in the same folder
// (its name never ends in ".lev", so no world list shows it), every write is
// checked, the file is synced and then renamed over the target, and the
// folder is synced where it can be. Whatever fails, the temporary file is removed and the
// target is left as it was.
#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "world/PosixFile.h"
#include "world/WorldOrigin.h"

namespace qw {

// The write(2) used for the data. Tests pass one that fails part of the way.
using WriteCall = std::function<ssize_t(int fd, const void* data, std::size_t size)>;

class AtomicFile {
public:
    // Creates the temporary file beside target; throws std::runtime_error.
    explicit AtomicFile(std::string target, WriteCall write = {});
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;
    ~AtomicFile();

    void Write(const void* data, std::size_t size);
    // Overwrites bytes already written, then goes on at the end.
    void WriteAt(int64_t offset, const void* data, std::size_t size);

    // Syncs, renames over the target and syncs the folder. Returns the identity
    // the target has from now on.
    FileIdentity Commit();

    const std::string& TemporaryPath() const { return temporary_; }

private:
    void Seek(int64_t offset, int whence);
    [[noreturn]] void Fail(const std::string& what, int error);

    std::string target_;
    std::string folder_;
    std::string temporary_;
    WriteCall write_;
    UniqueFd fd_;
    bool committed_ = false;
};

}  // namespace qw
