#include "shell/WorldFiles.h"

#include <cerrno>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace qw {
namespace {

constexpr char kWorldExtension[] = ".lev";
constexpr std::size_t kExtensionLength = sizeof(kWorldExtension) - 1;

bool HasWorldExtension(const std::string& name) {
    return name.size() >= kExtensionLength &&
           name.compare(name.size() - kExtensionLength, kExtensionLength, kWorldExtension) == 0;
}

// Renames without replacing: renameat2 where the file system offers it,
// otherwise a hard link (which refuses an existing target) and an unlink.
bool MoveWithoutReplacing(const std::string& from, const std::string& to) {
    if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
    if (errno != EINVAL && errno != ENOSYS) return false;
    if (link(from.c_str(), to.c_str()) != 0) return false;
    if (unlink(from.c_str()) != 0) {
        // Both names now point at the world; drop the new one so nothing changed.
        unlink(to.c_str());
        return false;
    }
    return true;
}

}  // namespace

std::vector<std::string> ListWorldFiles(const std::string& folder) {
    std::vector<std::string> names;
    std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(folder.c_str()), closedir);
    if (!dir) return names;
    while (const dirent* entry = readdir(dir.get())) {
        std::string name = entry->d_name;
        if (!HasWorldExtension(name)) continue;
        // stat follows links, so a link to a world is listed and a link to a FIFO is not.
        struct stat info {};
        if (fstatat(dirfd(dir.get()), entry->d_name, &info, 0) != 0) continue;
        if (S_ISREG(info.st_mode)) names.push_back(std::move(name));
    }
    return names;
}

bool DeleteWorldFile(const std::string& folder, const std::string& entry) {
    return unlink((folder + entry).c_str()) == 0;
}

std::string RenameProposal(const std::string& entry) {
    return entry.size() > kExtensionLength ? entry.substr(0, entry.size() - kExtensionLength) : std::string();
}

TRenameResult RenameWorldFile(const std::string& folder, const std::string& entry,
                              const std::string& newName) {
    if (newName == entry) return TRenameResult::Unchanged;
    if (newName.find('/') != std::string::npos || newName.find('\0') != std::string::npos)
        return TRenameResult::Failed;
    const std::string from = folder + entry;
    const std::string to = folder + newName + kWorldExtension;
    if (from == to) {
        // Confirming the proposal moves the file onto itself: it only has to exist.
        return access(from.c_str(), F_OK) == 0 ? TRenameResult::Renamed : TRenameResult::Failed;
    }
    return MoveWithoutReplacing(from, to) ? TRenameResult::Renamed : TRenameResult::Failed;
}

}  // namespace qw
