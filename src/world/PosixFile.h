#pragma once
// Small, checked wrappers around POSIX file calls for the world files.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "world/WorldOrigin.h"

namespace qw {

// Owns one file descriptor and closes it.
class UniqueFd {
public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : fd_(fd) {}
    UniqueFd(UniqueFd&& other) noexcept : fd_(other.release()) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept;
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    ~UniqueFd();

    int get() const { return fd_; }
    explicit operator bool() const { return fd_ >= 0; }
    int release();

private:
    int fd_ = -1;
};

// Opens path for reading when it is a regular file. A FIFO, a device or a
// folder is refused without ever blocking: it is opened non-blocking and
// checked before a single byte is read. Empty when refused or not there.
UniqueFd OpenRegularFile(const std::string& path);

// Reads up to size bytes; fewer only at the end of the file. Throws
// std::runtime_error on a read error.
std::size_t ReadUpTo(int fd, void* buffer, std::size_t size);

// Moves the read position; throws when the file cannot seek.
void SeekTo(int fd, int64_t offset);

// The identity of the open file.
FileIdentity IdentityOf(int fd);

// The identity of whatever is at path (links followed; a dangling link gives
// the link's own), or none when nothing is there.
std::optional<FileIdentity> IdentityAt(const std::string& path);

// "<what> <path>: <system error text>" for exceptions.
std::string SystemErrorText(const std::string& what, const std::string& path, int error);

}  // namespace qw
