// tarvik-sim's commands besides flying a scenario with a session script:
// `fly` (one mission), `matrix` (a table of missions) and `capacity` (what
// each launcher carries to each orbit), listed in one
// table (CommandTable.cpp). Each takes the arguments after its name (argv[0]
// is the command's name) and returns the exit status; each reads its
// command line with a CommandLine, so that it answers --help, --version,
// -q and --modules as every command does.
#pragma once

#include <span>
#include <string_view>

namespace tarviksim {

int flyCommand(int argc, char** argv);
int matrixCommand(int argc, char** argv);
int capacityCommand(int argc, char** argv);

struct CommandEntry {
    const char* name;
    const char* summary;  // one line for tarvik-sim --help
    int (*run)(int argc, char** argv);
};

// Every command, in the order --help lists them (CommandTable.cpp).
std::span<const CommandEntry> commands();
const CommandEntry* findCommand(std::string_view name);

}  // namespace tarviksim
