// `tarvik-sim capacity`: its command line.
#include <CLI/CLI.hpp>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <iostream>

#include "Capacity.h"
#include "CommandLine.h"
#include "Commands.h"
#include "Failure.h"
#include "sim/FileIO.h"
#include "sim/NumberText.h"

namespace fs = std::filesystem;

namespace tarviksim {

namespace {

double number(const std::string& text, const std::string& what) {
    double value = 0;
    if (!host::parseNumber(text, value) || !std::isfinite(value))
        throw MissionError(what + " '" + text + "' is not a number");
    return value;
}

std::string self(const char* argv0) {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::absolute(argv0, ec).string() : exe.string();
}

}  // namespace

int capacityCommand(int argc, char** argv) {
    std::vector<std::string> launchers, inclinations, cases, altitudes;
    std::string pad, node = "ascending", resolution, jobs, fps, timeLimit, warp, dataDir, from, guess;
    CapacityOptions o;

    CommandLine cli{
        "Finds the heaviest payload each launcher carries to each circular orbit: for every launcher,\n"
        "case (pad and inclination) and altitude, `tarvik-sim fly --payload KG` is flown with masses\n"
        "chosen by bisection until the heaviest that completes (\"Autopilot Complete\" within the time\n"
        "limit) and the lightest that does not are --resolution apart. The search assumes that every\n"
        "payload lighter than one that completes completes too, and notes where its flights say\n"
        "otherwise. Flights run in processes of their own, at most -j at a time. Writes\n"
        "OUT/capacity.csv (the form of the table fly checks payloads against, data/capacity.csv),\n"
        "OUT/capacity.md and a plot of payload against altitude, OUT/plots/capacity.png. Exit status 0\n"
        "when every search settled, 3 when some did not, 2 for bad input, 130 when interrupted.",
        "tarvik-sim capacity"};
    CLI::App& app = cli.app;
    app.add_option("LAUNCHER", launchers, "Launchers (TarvikM4 TarvikM42 TarvikM52 TarvikM54), or all")
        ->delimiter(',');
    app.add_option("--pad", pad, "LC37B or LC6, with --inclination");
    app.add_option("--inclination", inclinations,
                   "Target inclinations [deg] from --pad, each may end in :descending")
        ->delimiter(',');
    app.add_option("--node", node, "ascending or descending: the node of the inclinations without one");
    app.add_option("--cases", cases,
                   "Instead of --pad and --inclination: PAD:INCLINATION[:descending], e.g. "
                   "LC37B:28.6,LC6:98:descending")
        ->delimiter(',');
    app.add_option("--altitudes", altitudes, "Circular orbit altitudes [km] (default 200 to 1000 every 100)")
        ->delimiter(',');
    app.add_option("--resolution", resolution, "How close the search brackets the capacity [kg] (default 50)");
    app.add_option("--first-guess", guess,
                   "The first payload flown [kg] at an orbit whose lower altitude has not settled (default: by build)");
    app.add_option("-j,--jobs", jobs, "Flights at a time (default: every core)");
    app.add_option("--out", o.outDir, "Folder of the results, one folder per flight under OUT/cases/")
        ->capture_default_str();
    app.add_option("--data", dataDir, "Data folder with Config/ and Scenarios/ for every flight");
    app.add_option("--fps", fps, "Frames per second of every flight");
    app.add_option("--time-limit", timeLimit, "Seconds of simulation time a flight may take to complete");
    app.add_option("--coast-warp", warp, "Time acceleration while the autopilot coasts (see docs/fly.md)");
    app.add_option("--from", from,
                   "Fly nothing: the tables and the plot of a capacity CSV file (e.g. data/capacity.csv) into OUT");

    if (const std::optional<int> done = cli.parse(argc, argv))
        return *done;

    try {
        if (!from.empty()) {
            if (!launchers.empty())
                throw MissionError("--from flies nothing and takes no launchers");
            writeCapacityOutputs(parseCapacityCsv(host::readTextFile(from, "capacity table"), from), o.outDir,
                                 std::cout, std::cerr);
            return 0;
        }
        if (launchers.empty())
            throw MissionError("which launchers? TarvikM4, TarvikM42, TarvikM52, TarvikM54 or all");
        for (const std::string& l : launchers) {
            if (l == "all") {
                for (const LauncherInfo& info : mediumLaunchers())
                    o.launchers.push_back(info.name);
                continue;
            }
            const LauncherInfo* found = nullptr;
            for (const LauncherInfo& info : mediumLaunchers())
                if (l.size() == std::string(info.name).size() &&
                    std::equal(l.begin(), l.end(), info.name, [](char a, char b) {
                        return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
                    }))
                    found = &info;
            if (!found)
                throw MissionError("unknown launcher '" + l + "' (TarvikM4, TarvikM42, TarvikM52, TarvikM54, all)");
            o.launchers.push_back(found->name);
        }
        std::sort(o.launchers.begin(), o.launchers.end());
        o.launchers.erase(std::unique(o.launchers.begin(), o.launchers.end()), o.launchers.end());

        if (!cases.empty() && (!pad.empty() || !inclinations.empty()))
            throw MissionError("--cases takes no --pad or --inclination");
        for (const std::string& c : cases)
            o.cases.push_back(parseCapacityCase(c));
        if (cases.empty()) {
            if (pad.empty() || inclinations.empty())
                throw MissionError("which orbits? --pad P --inclination I, or --cases PAD:INCLINATION,...");
            const bool descending = parseNode(node);
            for (const std::string& i : inclinations) {
                const InclinationChoice choice = parseInclinationChoice(i);
                o.cases.push_back({pad, choice.degrees, i.find(':') == std::string::npos ? descending : choice.descending});
            }
        }
        if (altitudes.empty())
            for (int a = 200; a <= 1000; a += 100)
                o.altitudes.push_back(a);
        for (const std::string& a : altitudes)
            o.altitudes.push_back(number(a, "altitude"));
        std::sort(o.altitudes.begin(), o.altitudes.end());
        o.altitudes.erase(std::unique(o.altitudes.begin(), o.altitudes.end()), o.altitudes.end());
        if (!resolution.empty()) {
            o.resolution = number(resolution, "resolution");
            if (!(o.resolution >= 1) || o.resolution > 10000)
                throw MissionError("resolution " + resolution + " is not from 1 to 10000 kg");
        }

        if (!guess.empty()) {
            o.firstGuess = number(guess, "first guess");
            if (!(*o.firstGuess > 0))
                throw MissionError("first guess " + guess + " is not above 0 kg");
        }
        o.dataDir = dataDir.empty() ? defaultDataDir() : dataDir;
        if (!dataDir.empty())
            o.settings.dataDir = fs::absolute(dataDir).string();
        if (!fps.empty())
            o.settings.fps = number(fps, "frame rate");
        if (!timeLimit.empty())
            o.settings.timeLimit = number(timeLimit, "time limit");
        if (!warp.empty())
            o.settings.coastWarp = number(warp, "time acceleration");
        o.jobs = availableCores();
        if (!jobs.empty()) {
            const double n = number(jobs, "-j");
            if (n != std::floor(n) || n < 1 || n > 1024)
                throw MissionError("-j " + jobs + " is not a whole number from 1 to 1024");
            o.jobs = static_cast<int>(n);
        }

        // Every orbit is checked before anything flies: names, reach from the pad.
        for (const std::string& l : o.launchers)
            for (const CapacityCase& c : o.cases)
                for (double a : o.altitudes) {
                    Mission m;
                    m.launcher = l;
                    m.pad = c.pad;
                    m.altitudeKm = a;
                    m.inclinationDeg = c.inclinationDeg;
                    m.descending = c.descending;
                    try {
                        checkMission(m, o.dataDir);
                    } catch (const MissionError& e) {
                        const std::string why = e.what();
                        if (why.find("has no rule for") == std::string::npos)  // a ceiling leaves the altitude out
                            throw MissionError(l + " from " + c.pad + ": " + why);
                    }
                }
        for (CapacityCase& c : o.cases) {
            Mission m;
            m.launcher = o.launchers.front();
            m.pad = c.pad;
            m.altitudeKm = o.altitudes.front();
            m.inclinationDeg = c.inclinationDeg;
            try {
                c.pad = checkMission(m, o.dataDir).mission.pad;
            } catch (const MissionError&) {
            }
        }

        o.exe = self(argv[0]);
        o.progress = ::isatty(STDERR_FILENO) && !cli.quiet();
        return runCapacity(o, std::cout, std::cerr);
    } catch (const MissionError& e) {
        return failWith("capacity: " + std::string(e.what()), 2);
    } catch (const host::InputError& e) {
        return failWith(describe(e), 2);
    } catch (const std::exception& e) {
        return failWith(e.what(), 1);
    }
}

}  // namespace tarviksim
