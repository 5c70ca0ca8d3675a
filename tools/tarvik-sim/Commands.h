// tarvik-sim's commands besides flying a scenario with a session script:
// `fly` (one mission), `matrix` (a table of missions) and `capacity` (what
// each launcher carries to each orbit). Each takes the
// arguments after its name (argv[0] is the command's name) and returns the
// exit status.
#pragma once

#include <cstdint>
#include <string>

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

}  // namespace tarviksim
