#pragma once
// The subcommands of quaderwelt-world. Each takes the arguments after its
// name, writes its normal output to `out`, and returns the exit status.
// Damaged input and failed writes throw std::runtime_error (exit status 1),
// bad usage throws UsageError (exit status 2).
#include <ostream>
#include <string>
#include <vector>

namespace qw::tool {

struct Command {
    const char* name;
    const char* usage;    // one line: name and arguments
    const char* summary;  // one line: what it does
    const char* details;  // further lines for its --help, may be empty
    int (*run)(const std::vector<std::string>& args, std::ostream& out);
};

int RunGenerate(const std::vector<std::string>& args, std::ostream& out);
int RunInfo(const std::vector<std::string>& args, std::ostream& out);
int RunConvert(const std::vector<std::string>& args, std::ostream& out);
int RunMap(const std::vector<std::string>& args, std::ostream& out);

const std::vector<Command>& Commands();
const Command* FindCommand(const std::string& name);

// "Usage: quaderwelt-world ..." for one command, with its details.
std::string CommandHelp(const Command& command);
// The whole tool's usage: every command in one line each.
std::string ToolHelp();

}  // namespace qw::tool
