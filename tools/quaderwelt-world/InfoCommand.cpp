#include <charconv>
#include <memory>

#include "CellCensus.h"
#include "Commands.h"
#include "ToolArguments.h"
#include "WholeWorld.h"
#include "world/FigureBlock.h"

namespace qw::tool {

namespace {

// The shortest text that reads back as the same double.
std::string ExactText(double value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

}  // namespace

int RunInfo(const std::vector<std::string>& args, std::ostream& out) {
    const ParsedArguments parsed = ParseArguments(args, {}, {});
    if (parsed.help) {
        out << CommandHelp(*FindCommand("info"));
        return 0;
    }
    RequirePositional(parsed, 1);
    auto state = std::make_unique<TGameState>();
    const WorldVariant variant = LoadWholeWorld(*state, parsed.positional[0]);
    out << "variant: " << (variant == WorldVariant::Compressed ? "compressed" : "raw") << "\n";
    for (const FigureField& field : kFigureFields) out << field.name << ": " << ExactText(state.get()->*field.field) << "\n";
    CountCellCodes(state->level,
                   [&](int32_t code, uint64_t count) { out << "cells " << code << ": " << count << "\n"; });
    return 0;
}

}  // namespace qw::tool
