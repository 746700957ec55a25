#include "platform/Folders.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <vector>

#include "platform/UserDirsFile.h"

namespace qw {
namespace {

namespace fs = std::filesystem;

// More than any real user-dirs.dirs; a bigger file is not read past this.
constexpr std::streamsize kUserDirsMaxBytes = 1 << 20;

std::optional<std::string> AbsoluteEnv(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || value[0] != '/') return std::nullopt;
    return std::string(value);
}

std::optional<std::string> HomeDir() {
    if (auto home = AbsoluteEnv("HOME")) return home;
    long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<size_t>(size) : 16384);
    passwd entry{};
    passwd* result = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &result) != 0 || result == nullptr) {
        return std::nullopt;
    }
    if (result->pw_dir == nullptr || result->pw_dir[0] != '/') return std::nullopt;
    return std::string(result->pw_dir);
}

std::optional<std::string> AppDataDir() {
    if (auto data = AbsoluteEnv("XDG_DATA_HOME")) return data;
    if (auto home = HomeDir()) return *home + "/.local/share";
    return std::nullopt;
}

std::string ReadSmallRegularFile(const fs::path& path) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) return {};
    std::ifstream in(path, std::ios::binary);
    std::string text(static_cast<size_t>(kUserDirsMaxBytes), '\0');
    in.read(text.data(), kUserDirsMaxBytes);
    text.resize(static_cast<size_t>(in.gcount()));
    return text;
}

std::optional<std::string> ConfigDir() {
    if (auto config = AbsoluteEnv("XDG_CONFIG_HOME")) return config;
    if (auto home = HomeDir()) return *home + "/.config";
    return std::nullopt;
}

std::optional<std::string> PicturesDir() {
    auto home = HomeDir();
    if (auto config = ConfigDir()) {
        const std::string text = ReadSmallRegularFile(fs::path(*config) / "user-dirs.dirs");
        if (auto pictures = ParseUserDirsEntry(text, "XDG_PICTURES_DIR", home.value_or(""))) return pictures;
    }
    if (home) return *home + "/Pictures";
    return std::nullopt;
}

std::string WithTrailingSlash(std::string path) {
    if (!path.empty() && path.back() != '/') path.push_back('/');
    return path;
}

}  // namespace

std::string ExecutableDir() {
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec) return "./";
    return WithTrailingSlash(exe.parent_path().string());
}

std::string GetSpecialFolderPath(int csidl, bool& wasfound) {
    std::optional<std::string> folder;
    if (csidl == CSIDL_APPDATA) folder = AppDataDir();
    if (csidl == CSIDL_MYPICTURES) folder = PicturesDir();
    wasfound = folder.has_value();
    return folder.value_or("");
}

std::string UserConfigDir(bool& wasfound) {
    auto config = ConfigDir();
    wasfound = config.has_value();
    return config.value_or("");
}

std::string DataFolderPath(const std::string& programDir, bool create, bool& wasfound) {
    std::string path = GetSpecialFolderPath(CSIDL_APPDATA, wasfound);
    if (!wasfound) return WithTrailingSlash(programDir);
    path = WithTrailingSlash(path) + "Korland/Quaderwelt 1/";
    if (create) {
        // A failure shows later, when the world file itself cannot be written.
        std::error_code ec;
        fs::create_directories(path, ec);
    }
    return path;
}

}  // namespace qw
