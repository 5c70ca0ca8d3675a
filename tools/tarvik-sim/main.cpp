// tarvik-sim: flies a scenario headless, playing a session script, and writes
// what happened (events, telemetry, summary, the final scenario).
#include <CLI/CLI.hpp>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <csignal>
#include <cstdlib>
#include <iostream>

#include "CommandLine.h"
#include "Commands.h"
#include "Failure.h"
#include "Interrupts.h"
#include "Missions.h"
#include "Session.h"
#include "sim/InputText.h"
#include "sim/Simulation.h"

// Every failure ends with one line on stderr (Failure.h) and exit status 2
// for bad input, 3 for a flight that did not reach what its script waited
// for, 1 for a fault of the program itself.
using tarviksim::describe;
using tarviksim::failWith;

// Number checks with plain messages (the library's own print its whole range).
CLI::Validator numberAtLeast(double low, bool inclusive, double high, const std::string& what) {
    return CLI::Validator(
        [=](std::string& text) -> std::string {
            char* end = nullptr;
            const double v = std::strtod(text.c_str(), &end);
            const bool ok = !text.empty() && end && *end == '\0' && std::isfinite(v) &&
                            (inclusive ? v >= low : v > low) && v <= high;
            return ok ? std::string() : host::quote(text) + " is not " + what;
        },
        "");
}

// The commands, one line each, for the top of --help.
std::string commandList() {
    auto entry = [](std::string usage, const std::string& what) {
        usage = "  " + usage;
        usage.resize(std::max<size_t>(usage.size() + 1, 36), ' ');
        return usage + what + "\n";
    };
    std::string text = "tarvik-sim flies Tarvik launchers without the simulator's window.\n\nCommands:\n";
    text += entry("tarvik-sim SCENARIO [OPTIONS]", "fly a scenario, playing a session script (see below)");
    for (const tarviksim::CommandEntry& c : tarviksim::commands())
        text += entry(std::string("tarvik-sim ") + c.name + " [OPTIONS]", c.summary);
    return text + entry("tarvik-sim COMMAND --help", "the options of COMMAND");
}

// A first word that is neither a command nor a scenario, spelt like a
// command ("flyy", "capacity"): the commands there are, rather than "no such
// scenario". Empty when it is not that.
std::string unknownCommand(const std::string& word, const std::string& dataDir) {
    if (word.empty() || !std::all_of(word.begin(), word.end(), [](char c) { return c >= 'a' && c <= 'z'; }))
        return "";
    try {
        tarviksim::findScenario(word, dataDir);
        return "";
    } catch (const host::InputError&) {
    }
    std::string names;
    for (const tarviksim::CommandEntry& c : tarviksim::commands())
        names += (names.empty() ? "" : ", ") + std::string(c.name);
    return "no command or scenario '" + word + "' (commands: " + names + "; see tarvik-sim --help)";
}

int main(int argc, char** argv) {
    // Past a file-size limit a write fails and the run ends with a message
    // naming the file, its outputs left as they were, rather than being
    // killed mid-write.
    std::signal(SIGXFSZ, SIG_IGN);
    // An interrupt ends a run with its outputs written as far as it got, and
    // no temporary file left (Interrupts.h).
    tarviksim::catchInterrupts();

    // `tarvik-sim COMMAND ...` runs a command of its own (CommandTable.cpp).
    if (argc > 1)
        if (const tarviksim::CommandEntry* command = tarviksim::findCommand(argv[1]))
            return command->run(argc - 1, argv + 1);

    tarviksim::Options o;
    o.dataDir = tarviksim::defaultDataDir();
    o.rootDir = "tarvik-run";

    tarviksim::CommandLine cli{
        commandList() +
            "\n"
            "tarvik-sim SCENARIO loads the scenario, plays the session script, steps the simulation at a\n"
            "fixed frame rate, and writes the event log, telemetry, summary and final scenario. Outputs\n"
            "not named go into the root folder; where each one went is printed at the end, then the focus\n"
            "vessel's orbit. On a terminal a progress line shows the simulation time and how fast it runs.\n"
            "Bad input ends with one line on stderr and exit status 2; a script's waitfor whose text is not\n"
            "shown in time ends the run (outputs written) with one line on stderr and exit status 3.",
        "tarvik-sim"};
    CLI::App& app = cli.app;
    app.add_option("SCENARIO", o.scenario,
                   "Scenario file; a relative name not found as given is looked up in DATA/Scenarios/ "
                   "(\".scn\" may be left out)")
        ->required();
    app.add_option("--script", o.script, "Session script to play (see docs/session-script.md)");
    app.add_option("--duration", o.duration,
                   "Seconds of simulation time to run, at most 86400 (one day), so that no run goes on for "
                   "hours. Default: until the script's stop, at most 86400 when the script has a stop or a "
                   "waitfor, otherwise 600")
        ->check(numberAtLeast(0, true, tarviksim::maxDuration, "a number of seconds from 0 to 86400"));
    app.add_option("--fps", o.fps, "Frames per second of real time, up to 1000 (default 60)")
        ->check(numberAtLeast(0, false, 1000, "a frame rate above 0 and at most 1000"));
    app.add_option("--data", o.dataDir,
                   "Data folder with Config/ and Scenarios/ (default: TARVIK_DATA, else the installation's)")
        ->capture_default_str();
    app.add_option("--root", o.rootDir,
                   "Root folder for host files (\"temp\", custom payloads) and default outputs; created if missing")
        ->capture_default_str();
    app.add_option("--events", o.events, "Event log file (default ROOT/events.log)");
    app.add_option("--telemetry", o.telemetry, "Telemetry CSV file (default ROOT/telemetry.csv)");
    app.add_option("--telemetry-interval", o.telemetryInterval, "Seconds of simulation time between telemetry rows")
        ->capture_default_str()
        ->check(numberAtLeast(0, false, 1e9, "a number of seconds above 0"));
    app.add_option("--summary", o.summary, "Summary JSON file (default ROOT/summary.json)");
    app.add_option("--save", o.save, "Scenario file written at the end (default ROOT/final.scn)");
    std::string dispersions, seed;
    app.add_option("--dispersions", dispersions,
                   "Fly with the values of this dispersion file drawn and scaled (see docs/dispersions.md)");
    app.add_option("--seed", seed, "The draws' seed, a whole number (default 1; with --dispersions)");

    if (const std::optional<int> done = cli.parse(argc, argv))
        return *done;
    if (const std::string unknown = unknownCommand(o.scenario, o.dataDir); !unknown.empty())
        return failWith(unknown, 2);

    try {
        if (!seed.empty() && dispersions.empty())
            return failWith("--seed draws dispersions: give --dispersions FILE too", 2);
        if (!dispersions.empty())
            o.dispersion = host::drawDispersion(
                host::readDispersions(tarviksim::findDispersions(dispersions, o.dataDir)),
                seed.empty() ? 1 : tarviksim::seedArgument(seed));
        std::ostream* progress = ::isatty(STDERR_FILENO) && !cli.quiet() ? &std::cerr : nullptr;
        const tarviksim::RunResult result = tarviksim::runSession(o, std::cout, std::cerr, progress);
        if (!result.unmetWait.empty())
            return failWith(result.unmetWait, 3);
    } catch (const tarviksim::Interrupted& e) {
        return failWith(e.what(), tarviksim::interruptStatus());
    } catch (const host::InputError& e) {
        return failWith(describe(e), 2);
    } catch (const tarviksim::MissionError& e) {
        return failWith(e.what(), 2);
    } catch (const std::exception& e) {
        return failWith(e.what(), 1);
    }
    return 0;
}
