#include "Commands.h"

#include <algorithm>
#include <cctype>

namespace qw::tool {

const std::vector<Command>& Commands() {
    static const std::vector<Command> commands{
        {"generate", "generate [--seed N] OUT.lev", "make a new world as the game does",
         "The figures stand at their start values. The same seed (a whole number\n"
         "from 0 to 18446744073709551615) gives the same world; without --seed the\n"
         "clock picks one. The file is written compressed.\n",
         RunGenerate},
        {"info", "info FILE.lev", "show the variant, the figure values and the cell counts",
         "Prints 'variant: compressed' or 'variant: raw', then one line per figure\n"
         "value (posx posy posz angle angle2 gposx gposy gposz gangle gangle2) and\n"
         "one line 'cells CODE: COUNT' per cell code present, ascending by code.\n",
         RunInfo},
        {"convert", "convert --raw|--compressed IN.lev OUT.lev", "rewrite a world in the given variant",
         "The world's cells and figure values stay exactly as they are. --raw refuses a\n"
         "world whose first cell equals the compressed file's magic: its raw file would\n"
         "read back as a compressed one.\n",
         RunConvert},
        {"map", "map [--scale N] FILE.lev OUT.png", "draw a top-down picture of a world",
         "One square of N x N pixels per column (N from 1 to 8, default 2),\n"
         "coloured by the topmost non-empty cell's code and darker the lower it\n"
         "lies. x grows to the right, z downwards; empty columns are black.\n",
         RunMap},
    };
    return commands;
}

const Command* FindCommand(const std::string& name) {
    for (const Command& command : Commands())
        if (name == command.name) return &command;
    return nullptr;
}

std::string CommandHelp(const Command& command) {
    std::string summary = command.summary;
    summary[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(summary[0])));
    std::string text = std::string("Usage: quaderwelt-world ") + command.usage + "\n" + summary + ".\n";
    if (*command.details != '\0') text += std::string("\n") + command.details;
    return text;
}

std::string ToolHelp() {
    std::string text =
        "Usage: quaderwelt-world COMMAND [OPTIONS] FILE...\n"
        "Works on the world files (.lev) of Quaderwelt.\n\nCommands:\n";
    for (const Command& command : Commands()) {
        std::string line = std::string("  ") + command.usage;
        line.resize(std::max<std::size_t>(line.size() + 2, 48), ' ');
        text += line + command.summary + "\n";
    }
    text += "\nRun 'quaderwelt-world COMMAND --help' for more about a command.\n"
            "Exit status: 0 done, 1 damaged input or failed write, 2 bad usage.\n";
    return text;
}

}  // namespace qw::tool
