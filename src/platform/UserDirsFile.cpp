#include "platform/UserDirsFile.h"

#include <string_view>

namespace qw {
namespace {

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
    return s;
}

// The value part of one line: in double quotes with backslash escapes, or
// bare up to the first blank. nullopt for an unclosed quote.
std::optional<std::string> UnquoteValue(std::string_view raw) {
    std::string value;
    if (!raw.empty() && raw.front() == '"') {
        for (size_t i = 1; i < raw.size(); ++i) {
            char c = raw[i];
            if (c == '"') return value;
            if (c == '\\' && i + 1 < raw.size()) c = raw[++i];
            value.push_back(c);
        }
        return std::nullopt;
    }
    for (char c : raw) {
        if (c == ' ' || c == '\t') break;
        value.push_back(c);
    }
    return value;
}

std::optional<std::string> ExpandHome(const std::string& value, const std::string& home) {
    const std::string_view prefix = "$HOME";
    if (value.compare(0, prefix.size(), prefix) == 0) {
        std::string rest = value.substr(prefix.size());
        // "$HOMEX" is some other variable, not the home folder.
        if (!rest.empty() && rest.front() != '/') return std::nullopt;
        if (home.empty() || home.front() != '/') return std::nullopt;
        return home + rest;
    }
    if (value.empty() || value.front() != '/') return std::nullopt;  // relative paths are not allowed
    return value;
}

}  // namespace

std::optional<std::string> ParseUserDirsEntry(const std::string& text, const std::string& key, const std::string& home) {
    std::optional<std::string> found;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string_view line = TrimBlanks(std::string_view(text).substr(start, end - start));
        start = end + 1;

        if (line.empty() || line.front() == '#') continue;
        const size_t equals = line.find('=');
        if (equals == std::string_view::npos || TrimBlanks(line.substr(0, equals)) != key) continue;
        auto value = UnquoteValue(TrimBlanks(line.substr(equals + 1)));
        found = value ? ExpandHome(*value, home) : std::nullopt;
    }
    return found;
}

}  // namespace qw
