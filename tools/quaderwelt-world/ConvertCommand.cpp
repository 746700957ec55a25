#include <algorithm>
#include <memory>

#include "Commands.h"
#include "RawWorldWriter.h"
#include "ToolArguments.h"
#include "WholeWorld.h"
#include "world/WorldFile.h"

namespace qw::tool {

int RunConvert(const std::vector<std::string>& args, std::ostream& out) {
    const ParsedArguments parsed = ParseArguments(args, {"--raw", "--compressed"}, {});
    if (parsed.help) {
        out << CommandHelp(*FindCommand("convert"));
        return 0;
    }
    const bool raw = std::count(parsed.flags.begin(), parsed.flags.end(), "--raw") > 0;
    const bool compressed = std::count(parsed.flags.begin(), parsed.flags.end(), "--compressed") > 0;
    if (raw == compressed) throw UsageError("give exactly one of --raw and --compressed");
    RequirePositional(parsed, 2);
    auto state = std::make_unique<TGameState>();
    LoadWholeWorld(*state, parsed.positional[0]);
    if (raw)
        SaveRawWorld(*state, parsed.positional[1]);
    else
        SaveWorld(*state, parsed.positional[1]);
    return 0;
}

}  // namespace qw::tool
