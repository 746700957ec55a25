#pragma once
// Where the game keeps its files on Linux. No wxWidgets here, so the rules
// can be tested with a private HOME.
#include <string>

namespace qw {

// Shell folder numbers the game asks for.
inline constexpr int CSIDL_APPDATA = 26;     // per-user application data: $XDG_DATA_HOME or ~/.local/share
inline constexpr int CSIDL_MYPICTURES = 39;  // the XDG pictures folder

// Folder of the running executable, ending in "/".
std::string ExecutableDir();

// Path of a shell folder; wasfound tells whether it could be located. The
// result is empty when it was not.
std::string GetSpecialFolderPath(int csidl, bool& wasfound);

// The per-user config folder: $XDG_CONFIG_HOME, else ~/.config. No trailing
// "/"; empty with wasfound false when no home folder can be determined.
std::string UserConfigDir(bool& wasfound);

// The data folder for world files: the application-data folder plus
// "Korland/Quaderwelt 1/", or programDir when that folder cannot be located.
// With create it makes every missing folder of the path (never the program
// folder's). Always ends in "/".
std::string DataFolderPath(const std::string& programDir, bool create, bool& wasfound);

}  // namespace qw
