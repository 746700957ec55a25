#include <charconv>
#include <memory>

#include "Commands.h"
#include "PngWriter.h"
#include "ToolArguments.h"
#include "TopDownMap.h"
#include "WholeWorld.h"

namespace qw::tool {

namespace {

int ParseScale(const std::string& text) {
    int scale = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), scale);
    if (error != std::errc() || end != text.data() + text.size() || scale < 1 || scale > kMaxMapScale)
        throw UsageError("scale must be a whole number from 1 to " + std::to_string(kMaxMapScale));
    return scale;
}

}  // namespace

int RunMap(const std::vector<std::string>& args, std::ostream& out) {
    const ParsedArguments parsed = ParseArguments(args, {}, {"--scale"});
    if (parsed.help) {
        out << CommandHelp(*FindCommand("map"));
        return 0;
    }
    const auto scale = parsed.values.find("--scale");
    const int side = scale == parsed.values.end() ? 2 : ParseScale(scale->second);
    RequirePositional(parsed, 2);
    auto state = std::make_unique<TGameState>();
    LoadWholeWorld(*state, parsed.positional[0]);
    SavePng(RenderTopDownMap(state->level, side), parsed.positional[1]);
    return 0;
}

}  // namespace qw::tool
