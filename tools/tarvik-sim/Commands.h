// tarvik-sim's commands besides flying a scenario with a session script:
// `fly` (one mission), `matrix` (a table of missions) and `capacity` (what
// each launcher carries to each orbit). Each takes the
// arguments after its name (argv[0] is the command's name) and returns the
// exit status.
#pragma once

namespace tarviksim {

int flyCommand(int argc, char** argv);
int matrixCommand(int argc, char** argv);
int capacityCommand(int argc, char** argv);

}  // namespace tarviksim
