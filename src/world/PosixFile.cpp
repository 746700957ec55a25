#include "world/PosixFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace qw {

UniqueFd& UniqueFd::operator=(UniqueFd&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = other.release();
    }
    return *this;
}

UniqueFd::~UniqueFd() {
    if (fd_ >= 0) ::close(fd_);
}

int UniqueFd::release() {
    int fd = fd_;
    fd_ = -1;
    return fd;
}

UniqueFd OpenRegularFile(const std::string& path) {
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (!fd) return {};
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) return {};
    return fd;
}

std::size_t ReadUpTo(int fd, void* buffer, std::size_t size) {
    auto* out = static_cast<unsigned char*>(buffer);
    std::size_t done = 0;
    while (done < size) {
        ssize_t got = ::read(fd, out + done, size - done);
        if (got == 0) break;
        if (got < 0) {
            if (errno == EINTR) continue;
            throw std::runtime_error(std::string("Read error: ") + std::strerror(errno));
        }
        done += static_cast<std::size_t>(got);
    }
    return done;
}

void SeekTo(int fd, int64_t offset) {
    if (::lseek(fd, static_cast<off_t>(offset), SEEK_SET) < 0)
        throw std::runtime_error(std::string("Seek error: ") + std::strerror(errno));
}

namespace {

FileIdentity IdentityFromStat(const struct stat& st) {
    FileIdentity id;
    id.device = static_cast<uint64_t>(st.st_dev);
    id.inode = static_cast<uint64_t>(st.st_ino);
    id.size = static_cast<int64_t>(st.st_size);
    id.mtimeNs = static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    return id;
}

}  // namespace

FileIdentity IdentityOf(int fd) {
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        throw std::runtime_error(std::string("Cannot examine file: ") + std::strerror(errno));
    return IdentityFromStat(st);
}

std::optional<FileIdentity> IdentityAt(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 || ::lstat(path.c_str(), &st) == 0) return IdentityFromStat(st);
    return std::nullopt;
}

std::string SystemErrorText(const std::string& what, const std::string& path, int error) {
    return what + " " + path + ": " + std::strerror(error);
}

}  // namespace qw
