#pragma once
// Parses the game's sound command texts. Kept apart from the mixer so that
// the grammar can be checked without any audio.
#include <optional>
#include <string>

namespace qw {

struct SoundCommandText {
    enum class Verb { Open, Play, Status };
    Verb verb = Verb::Play;
    std::string alias;  // lower case: aliases ignore case, as the game's keywords do
    std::string path;   // only for Open
};

// Accepts exactly
//   open <path> alias <name>     (<path> in double quotes when it has blanks)
//   play <name> from 0
//   status <name> mode
// with keywords in any case. Anything else is nullopt.
std::optional<SoundCommandText> ParseSoundCommand(const std::string& command);

}  // namespace qw
