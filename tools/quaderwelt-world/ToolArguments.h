#pragma once
// Command-line parsing shared by the subcommands of quaderwelt-world.
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace qw::tool {

// Bad usage: the caller prints the message and the usage, and exits with 2.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct ParsedArguments {
    bool help = false;
    std::vector<std::string> flags;                // options without a value, as given
    std::map<std::string, std::string> values;     // options with a value
    std::vector<std::string> positional;
};

// Splits args into options and file names. `flagNames` take no value,
// `valueNames` take the next argument (or "--name=value"); "--help"/"-h" is
// always known; "--" ends the options. Anything else starting with "-" is a
// UsageError.
ParsedArguments ParseArguments(const std::vector<std::string>& args, const std::vector<std::string>& flagNames,
                               const std::vector<std::string>& valueNames);

// Exactly `count` file names, or a UsageError.
void RequirePositional(const ParsedArguments& parsed, std::size_t count);

}  // namespace qw::tool
