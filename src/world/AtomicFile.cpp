#include "world/AtomicFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <stdexcept>

namespace qw {

namespace {

std::string FolderOf(const std::string& path) {
    auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string BaseNameOf(const std::string& path) {
    auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::atomic<unsigned> temporaryCounter{0};

}  // namespace

AtomicFile::AtomicFile(std::string target, WriteCall write)
    : target_(std::move(target)), folder_(FolderOf(target_)), write_(std::move(write)) {
    if (!write_) write_ = [](int fd, const void* data, std::size_t size) { return ::write(fd, data, size); };
    // Hidden, and ending in a number: nothing that lists "*.lev" sees it.
    const std::string prefix = folder_ + "/." + BaseNameOf(target_) + ".save-" + std::to_string(::getpid()) + "-";
    for (int attempt = 0; attempt < 100 && !fd_; ++attempt) {
        temporary_ = prefix + std::to_string(temporaryCounter++);
        fd_ = UniqueFd(::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666));
        if (!fd_ && errno != EEXIST) {
            int error = errno;
            temporary_.clear();
            throw std::runtime_error(SystemErrorText("Cannot create a file in", folder_, error));
        }
    }
    if (!fd_) {
        temporary_.clear();
        throw std::runtime_error("Cannot create a temporary file in " + folder_);
    }
}

AtomicFile::~AtomicFile() {
    if (committed_) return;
    fd_ = UniqueFd();
    if (!temporary_.empty()) ::unlink(temporary_.c_str());
}

void AtomicFile::Fail(const std::string& what, int error) {
    throw std::runtime_error(SystemErrorText(what, target_, error));
}

void AtomicFile::Write(const void* data, std::size_t size) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    while (size > 0) {
        ssize_t done = write_(fd_.get(), bytes, size);
        if (done < 0) {
            if (errno == EINTR) continue;
            Fail("Cannot write", errno);
        }
        // A write that takes nothing would loop for ever; the disk is full.
        if (done == 0) Fail("Cannot write", ENOSPC);
        bytes += done;
        size -= static_cast<std::size_t>(done);
    }
}

void AtomicFile::Seek(int64_t offset, int whence) {
    if (::lseek(fd_.get(), static_cast<off_t>(offset), whence) < 0) Fail("Cannot write", errno);
}

void AtomicFile::WriteAt(int64_t offset, const void* data, std::size_t size) {
    Seek(offset, SEEK_SET);
    Write(data, size);
    Seek(0, SEEK_END);
}

FileIdentity AtomicFile::Commit() {
    if (::fsync(fd_.get()) != 0) Fail("Cannot write", errno);
    FileIdentity identity = IdentityOf(fd_.get());
    if (::close(fd_.release()) != 0) Fail("Cannot write", errno);
    if (::rename(temporary_.c_str(), target_.c_str()) != 0) Fail("Cannot replace", errno);
    committed_ = true;
    // Syncing the folder makes the new name survive a crash too. It is done
    // on a best-effort basis: the world is already in place under its name,
    // and calling the save failed now would send the next save to a new
    // file and keep a creative window from closing.
    UniqueFd folder(::open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder) ::fsync(folder.get());
    return identity;
}

}  // namespace qw
