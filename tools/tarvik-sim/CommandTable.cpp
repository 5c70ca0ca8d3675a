// The commands of tarvik-sim, one line each: the name, what --help says of
// it, and the function that runs it. A new command is one more line here.
#include "Commands.h"

namespace tarviksim {

namespace {

constexpr CommandEntry kCommands[] = {
    {"fly", "one mission to a target orbit through the autopilot dialog: report and plots", flyCommand},
    {"matrix", "a table of missions, flown in parallel: their results and a one-line verdict", matrixCommand},
    {"capacity", "the heaviest payload each launcher carries to each orbit, found with real flights", capacityCommand},
    {"dispersions", "one mission many times, the launcher and the air dispersed: the spread of the orbits reached",
     dispersionsCommand},
};

}  // namespace

std::span<const CommandEntry> commands() {
    return kCommands;
}

const CommandEntry* findCommand(std::string_view name) {
    for (const CommandEntry& c : kCommands)
        if (name == c.name)
            return &c;
    return nullptr;
}

}  // namespace tarviksim
