#include "ToolArguments.h"

#include <algorithm>

namespace qw::tool {

namespace {

bool Contains(const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

}  // namespace

ParsedArguments ParseArguments(const std::vector<std::string>& args, const std::vector<std::string>& flagNames,
                               const std::vector<std::string>& valueNames) {
    ParsedArguments parsed;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            parsed.positional.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--help" || arg == "-h") {
            parsed.help = true;
        } else if (Contains(flagNames, arg)) {
            parsed.flags.push_back(arg);
        } else if (const auto eq = arg.find('='); eq != std::string::npos && Contains(valueNames, arg.substr(0, eq))) {
            parsed.values[arg.substr(0, eq)] = arg.substr(eq + 1);
        } else if (Contains(valueNames, arg)) {
            if (i + 1 == args.size()) throw UsageError("option " + arg + " needs a value");
            parsed.values[arg] = args[++i];
        } else {
            throw UsageError("unknown option " + arg);
        }
    }
    return parsed;
}

void RequirePositional(const ParsedArguments& parsed, std::size_t count) {
    if (parsed.positional.size() < count) throw UsageError("missing file name");
    if (parsed.positional.size() > count) throw UsageError("unexpected argument " + parsed.positional[count]);
}

}  // namespace qw::tool
