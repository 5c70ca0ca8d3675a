// tarvik-sim's commands besides flying a scenario with a session script:
// `fly` (one mission), `matrix` (a table of missions) and `capacity` (what
// each launcher carries to each orbit), listed in one
// table (CommandTable.cpp). Each takes the arguments after its name (argv[0]
// is the command's name) and returns the exit status; each reads its
// command line with a CommandLine, so that it answers --help, --version,
// -q and --modules as every command does.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace tarviksim {

int flyCommand(int argc, char** argv);
int matrixCommand(int argc, char** argv);
int capacityCommand(int argc, char** argv);
int dispersionsCommand(int argc, char** argv);

// A seed argument: a whole number that fits 64 bits; throws MissionError.
uint64_t seedArgument(const std::string& text);

// A dispersion file as given, or else in DATA/dispersions/ ("default" for
// DATA/dispersions/default.txt).
std::string findDispersions(const std::string& name, const std::string& dataDir);

struct CommandEntry {
    const char* name;
    const char* summary;  // one line for tarvik-sim --help
    int (*run)(int argc, char** argv);
};

// Every command, in the order --help lists them (CommandTable.cpp).
std::span<const CommandEntry> commands();
const CommandEntry* findCommand(std::string_view name);

}  // namespace tarviksim
