#pragma once
// Reads one entry of the XDG user-dirs.dirs file (lines like
// XDG_PICTURES_DIR="$HOME/Bilder"). The file is the user's to edit, so it is
// read as untrusted text.
#include <optional>
#include <string>

namespace qw {

// The folder named by key in the file's text, with a leading "$HOME"
// replaced by home. nullopt when the key is missing or its value is not an
// absolute path. The last line for a key wins, as when a shell sources it,
// even when that line is unusable.
std::optional<std::string> ParseUserDirsEntry(const std::string& text, const std::string& key, const std::string& home);

}  // namespace qw
