#include <charconv>
#include <memory>

#include "Commands.h"
#include "ToolArguments.h"
#include "world/GameState.h"
#include "world/Random.h"
#include "world/RoundSetup.h"
#include "world/WorldFile.h"

namespace qw::tool {

namespace {

uint64_t ParseSeed(const std::string& text) {
    uint64_t seed = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seed);
    if (error != std::errc() || end != text.data() + text.size()) throw UsageError("bad seed " + text);
    return seed;
}

}  // namespace

int RunGenerate(const std::vector<std::string>& args, std::ostream& out) {
    const ParsedArguments parsed = ParseArguments(args, {}, {"--seed"});
    if (parsed.help) {
        out << CommandHelp(*FindCommand("generate"));
        return 0;
    }
    RequirePositional(parsed, 1);
    const auto seed = parsed.values.find("--seed");
    GameRandom rng(seed == parsed.values.end() ? GameRandom::ClockSeed() : ParseSeed(seed->second));
    auto state = std::make_unique<TGameState>();
    NewGame(*state, true, rng);
    SaveWorld(*state, parsed.positional[0]);
    return 0;
}

}  // namespace qw::tool
