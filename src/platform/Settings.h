#pragma once
// Per-user settings that survive a restart (the two skin file names), kept in
// a small file under the XDG config folder.
#include <string>

namespace qw {

std::string LoadSetting(const std::string& key);
void SaveSetting(const std::string& key, const std::string& value);

}  // namespace qw
