#pragma once
// A fresh folder under the system's temporary folder, removed with everything
// in it when the test ends.
#include <filesystem>
#include <string>

#include <stdlib.h>

namespace qw::test {

class TempFolder {
public:
    TempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "qw-shell-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
    }
    ~TempFolder() {
        std::error_code ignored;
        if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // Ends in "/", as the game's folder strings do.
    std::string Path() const { return path_ + "/"; }

private:
    std::string path_;
};

}  // namespace qw::test
