// tarvik-sim's commands besides flying a scenario with a session script:
// `fly` (one mission) and `matrix` (a table of missions). Each takes the
// arguments after its name (argv[0] is the command's name) and returns the
// exit status.
#pragma once

namespace tarviksim {

int flyCommand(int argc, char** argv);
int matrixCommand(int argc, char** argv);

}  // namespace tarviksim
