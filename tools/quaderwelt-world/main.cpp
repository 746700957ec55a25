// quaderwelt-world: a command-line companion of the game for its world files.
#include <iostream>
#include <new>
#include <string>
#include <vector>

#include "Commands.h"
#include "ToolArguments.h"

namespace {

// Messages go out on one line, whatever a library put into them.
std::string OneLine(std::string text) {
    for (char& c : text)
        if (c == '\n' || c == '\r') c = ' ';
    return text;
}

int Run(const std::vector<std::string>& args) {
    using namespace qw::tool;
    const Command* command = nullptr;
    try {
        if (args.empty()) throw UsageError("no command given");
        if (args[0] == "--help" || args[0] == "-h") {
            std::cout << ToolHelp();
        } else {
            command = FindCommand(args[0]);
            if (command == nullptr) throw UsageError("unknown command " + args[0]);
            const int status = command->run(std::vector<std::string>(args.begin() + 1, args.end()), std::cout);
            if (status != 0) return status;
        }
        if (!std::cout.flush()) throw std::runtime_error("cannot write the output");
        return 0;
    } catch (const UsageError& e) {
        std::cerr << "quaderwelt-world: " << OneLine(e.what()) << "\n"
                  << (command != nullptr ? CommandHelp(*command) : ToolHelp());
        return 2;
    } catch (const std::bad_alloc&) {
        std::cerr << "quaderwelt-world: out of memory\n";
        return 1;
    } catch (const std::exception& e) {
        std::cerr << "quaderwelt-world: " << OneLine(e.what()) << "\n";
        return 1;
    }
}

}  // namespace

int main(int argc, char** argv) { return Run(std::vector<std::string>(argv + 1, argv + argc)); }
