// Session scripts: what a pilot does and when, one command per line.
//
//   # comment
//   at 0    key M
//   at 2.5  click 101 1015
//   at 3    type 131 1049 300
//   at 5    waitfor 3000 Autopilot Complete
//   at 5    stop
//
// Each command carries the script line it came from, for error messages.
#pragma once

#include <string>
#include <vector>

#include "OrbiterAPI.h"

namespace tarviksim {

enum class CommandKind { Key, Throttle, Click, Type, Check, Select, Warp, Focus, Save, Snapshot, WaitFor, Stop };

// The longest run tarvik-sim flies, and so the longest a script may wait: one
// day of simulation time [s].
constexpr double maxDuration = 86400;

const char* commandName(CommandKind kind);

struct Command {
    int line = 0;
    double time = 0;  // simulation time since the scenario started [s]
    CommandKind kind = CommandKind::Stop;
    DWORD key = 0;     // key
    double value = 0;  // throttle level, warp factor, waitfor's timeout [s]
    int dialog = 0;    // click, type, check, select, snapshot
    int control = 0;   // click, type, check, select
    std::string text;  // key name, typed text, combo entry, vessel name, file, awaited text
};

struct Script {
    std::string path;
    std::vector<Command> commands;  // in file order
};

// Both throw host::InputError naming the file and line of the first mistake.
Script parseScript(const std::string& text, const std::string& path);
Script readScript(const std::string& path);

}  // namespace tarviksim
