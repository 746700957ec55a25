#include "platform/SoundCommandParser.h"

#include <vector>

namespace qw {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string Lower(std::string s) {
    for (char& c : s) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return s;
}

// Splits at blanks; a token in double quotes may hold blanks. An unclosed
// quote makes the whole command unreadable.
std::optional<std::vector<std::string>> Tokenize(const std::string& text) {
    std::vector<std::string> tokens;
    size_t i = 0;
    while (i < text.size()) {
        if (IsBlank(text[i])) {
            ++i;
            continue;
        }
        if (text[i] == '"') {
            size_t close = text.find('"', i + 1);
            if (close == std::string::npos) return std::nullopt;
            tokens.push_back(text.substr(i + 1, close - i - 1));
            i = close + 1;
            // A quote must end its token: `"a"b` is not a path.
            if (i < text.size() && !IsBlank(text[i])) return std::nullopt;
            continue;
        }
        size_t end = i;
        while (end < text.size() && !IsBlank(text[end])) {
            if (text[end] == '"') return std::nullopt;
            ++end;
        }
        tokens.push_back(text.substr(i, end - i));
        i = end;
    }
    return tokens;
}

}  // namespace

std::optional<SoundCommandText> ParseSoundCommand(const std::string& command) {
    auto tokens = Tokenize(command);
    if (!tokens || tokens->empty()) return std::nullopt;
    const std::vector<std::string>& t = *tokens;
    const std::string verb = Lower(t[0]);

    SoundCommandText result;
    if (verb == "open" && t.size() == 4 && Lower(t[2]) == "alias" && !t[1].empty() && !t[3].empty()) {
        result.verb = SoundCommandText::Verb::Open;
        result.path = t[1];
        result.alias = Lower(t[3]);
        return result;
    }
    if (verb == "play" && t.size() == 4 && Lower(t[2]) == "from" && t[3] == "0" && !t[1].empty()) {
        result.verb = SoundCommandText::Verb::Play;
        result.alias = Lower(t[1]);
        return result;
    }
    if (verb == "status" && t.size() == 3 && Lower(t[2]) == "mode" && !t[1].empty()) {
        result.verb = SoundCommandText::Verb::Status;
        result.alias = Lower(t[1]);
        return result;
    }
    return std::nullopt;
}

}  // namespace qw
