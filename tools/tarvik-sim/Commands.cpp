#include "Commands.h"

#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <iostream>

#include "CommandLine.h"
#include "Fly.h"
#include "Matrix.h"
#include "Script.h"
#include "sim/FileIO.h"
#include "sim/NumberText.h"
#include "Failure.h"
#include "sim/Simulation.h"

namespace fs = std::filesystem;

namespace tarviksim {

namespace {

// A number argument, or a MissionError naming it.
double numberArgument(const std::string& text, const std::string& what) {
    double value = 0;
    if (!host::parseNumber(text, value))
        throw MissionError(what + " '" + text + "' is not a number");
    return value;
}

// This program, for the processes the matrix starts and the commands it lists.
std::string thisProgram(const char* argv0) {
    std::error_code ec;
    const fs::path self = fs::read_symlink("/proc/self/exe", ec);
    if (!ec)
        return self.string();
    return fs::absolute(argv0, ec).string();
}

}  // namespace

int flyCommand(int argc, char** argv) {
    std::string launcher, pad, altitude, inclination, node = "ascending", payload, correction, timeLimit, warp, fps;
    FlyOptions o;
    o.dataDir = defaultDataDir();
    bool json = false, noPlots = false;

    CommandLine cli{
        "Flies a mission: the launcher's pad scenario from DATA/Scenarios/, the autopilot dialog filled in\n"
        "and LAUNCH pressed as a pilot does it (key A, the targets typed, the node checked), the flight\n"
        "stepped until \"Autopilot Complete\" or another clear end (propellant gone, crashed, time limit),\n"
        "then a report of the orbit reached, the suggested correction, the propellant left and the\n"
        "timeline, and plots of the ascent. Targets the autopilot cannot fly are refused before flying\n"
        "(one line, exit status 2); a flight that does not complete ends with exit status 3.",
        "tarvik-sim fly"};
    CLI::App& app = cli.app;
    app.add_option("LAUNCHER", launcher, "TarvikM4, TarvikM42, TarvikM52 or TarvikM54")->required();
    app.add_option("--pad", pad, "LC37B or LC6")->required();
    app.add_option("--altitude", altitude, "Target altitude [km], below the build's ceiling")->required();
    app.add_option("--inclination", inclination, "Target inclination [deg], reachable from the pad")->required();
    app.add_option("--node", node, "ascending or descending (default ascending)");
    app.add_option("--payload", payload,
                   "A payload of the configuration dialog (Carina, ShuttlePB, MPLM, MMU, DeltaGlider, LDEF, SAT1, "
                   "SAT2, SAT3) or a mass in kg; default: the pad scenario's");
    app.add_option("--correction", correction, "Degrees typed into the \"+/-\" field before LAUNCH");
    app.add_option("--root", o.rootDir, "Folder for the outputs (and the host's files)")->capture_default_str();
    app.add_option("--data", o.dataDir,
                   "Data folder with Config/ and Scenarios/ (default: TARVIK_DATA, else the installation's)")
        ->capture_default_str();
    app.add_option("--fps", fps, "Frames per second (default 60)");
    app.add_option("--time-limit", timeLimit, "Seconds of simulation time to fly at most (default 86400)");
    app.add_option("--coast-warp", warp,
                   "Time acceleration while the autopilot coasts after cut-off, 1 to 1000 (default 10; 1 flies in real "
                   "time throughout; see docs/fly.md)");
    app.add_flag("--json", json, "The report as JSON on stdout");
    app.add_flag("--no-plots", noPlots, "Draw no plots");

    if (const std::optional<int> done = cli.parse(argc, argv))
        return *done;

    Mission& m = o.mission;
    m.launcher = launcher;
    m.pad = pad;
    m.payload = payload;
    try {
        m.altitudeKm = numberArgument(altitude, "altitude");
        m.inclinationDeg = numberArgument(inclination, "inclination");
        m.descending = parseNode(node);
        if (!correction.empty())
            m.correctionDeg = numberArgument(correction, "correction");
        if (!fps.empty()) {
            o.fps = numberArgument(fps, "frame rate");
            if (!(o.fps > 0) || o.fps > 1000)
                throw MissionError("frame rate " + fps + " is not above 0 and at most 1000");
        }
        if (!timeLimit.empty())
            o.timeLimit = numberArgument(timeLimit, "time limit");
        if (!warp.empty()) {
            o.coastWarp = numberArgument(warp, "time acceleration");
            if (!(o.coastWarp >= 1) || o.coastWarp > 1000)
                throw MissionError("time acceleration " + warp + " is not from 1 to 1000");
        }
        o.plots = !noPlots;
        checkMission(m, o.dataDir);
    } catch (const MissionError& e) {
        // Refused before flying; the report says so for a matrix that collects it.
        std::error_code ec;
        fs::create_directories(o.rootDir, ec);
        try {
            const FlightReport r = refusedReport(m, e.what());
            writeReportFile(r, (fs::path(o.rootDir) / "report.json").string());
            if (json)
                std::cout << reportText(r);
        } catch (const std::exception&) {
        }
        return failWith(e.what(), 2);
    }

    try {
        std::ostream* progress = ::isatty(STDERR_FILENO) && !cli.quiet() ? &std::cerr : nullptr;
        const FlightReport r = flyMission(o, std::cerr, progress);
        if (json)
            std::cout << reportText(r);
        else
            printReport(r, std::cout);
        if (r.outcome == Outcome::Refused)
            return failWith(r.reason, 2);
        if (r.outcome != Outcome::Complete)
            return failWith(std::string(outcomeName(r.outcome)) + ": " + r.reason, 3);
    } catch (const MissionError& e) {
        return failWith(e.what(), 2);
    } catch (const host::InputError& e) {
        return failWith(describe(e), 2);
    } catch (const std::exception& e) {
        return failWith(e.what(), 1);
    }
    return 0;
}

int matrixCommand(int argc, char** argv) {
    std::string casesFile, outDir = "tarvik-matrix", collectDir, jobs, fps, timeLimit, warp;
    std::string dataDir;
    MatrixAxes axes;
    std::vector<std::string> altitudes, inclinations;
    bool list = false, plots = false;

    CommandLine cli{
        "Flies a table of missions, each with `tarvik-sim fly` in a process of its own, at most -j at a\n"
        "time (every core by default): every combination of the lists given (defaults: the four Medium\n"
        "builds, both pads, 300, 600 and 900 km, and per pad two inclinations: LC37B 30 and 51.6, LC6\n"
        "63.4 and 98 from the descending node; the pad scenario's payload), or the cases of a CSV file.\n"
        "Writes OUT/results.csv and OUT/results.md and prints the table and a one-line verdict. Exit\n"
        "status 0 when every case completed, 3 when some did not, 2 for bad input, 130 when interrupted\n"
        "(the cases finished by then are kept).",
        "tarvik-sim matrix"};
    CLI::App& app = cli.app;
    app.add_option("CASES", casesFile,
                   "CSV file of cases: launcher,pad,altitude_km,inclination_deg[,node,payload,correction_deg]");
    app.add_option("--launchers", axes.launchers, "Launchers (TarvikM4 TarvikM42 TarvikM52 TarvikM54)")->delimiter(',');
    app.add_option("--pads", axes.pads, "Pads (LC37B LC6)")->delimiter(',');
    app.add_option("--altitudes", altitudes, "Target altitudes [km]")->delimiter(',');
    app.add_option("--inclinations", inclinations,
                   "Target inclinations [deg] for every pad, each may end in :descending")
        ->delimiter(',');
    app.add_option("--payloads", axes.payloads, "Payloads by name or mass in kg")->delimiter(',');
    app.add_option("-j,--jobs", jobs, "Flights at a time (default: every core)");
    app.add_option("--out", outDir, "Folder of the results, one folder per case under OUT/cases/")
        ->capture_default_str();
    app.add_flag("--list", list, "Print one fly command per case (and write OUT/cases.csv) instead of flying");
    app.add_option("--collect", collectDir, "Merge the results the listed commands left in DIR; fly nothing");
    app.add_option("--data", dataDir, "Data folder with Config/ and Scenarios/ for every flight");
    app.add_option("--fps", fps, "Frames per second of every flight");
    app.add_option("--time-limit", timeLimit, "Seconds of simulation time a flight may take at most");
    app.add_option("--coast-warp", warp, "Time acceleration while the autopilot coasts (see docs/fly.md)");
    app.add_flag("--plots", plots, "Draw each flight's plots too");

    if (const std::optional<int> done = cli.parse(argc, argv))
        return *done;

    try {
        if (!collectDir.empty()) {
            std::error_code ec;
            if (!fs::is_directory(collectDir, ec))
                throw MissionError("no folder " + collectDir);
            return reportResults(collectFolder(collectDir), collectDir, std::cout);
        }

        for (const std::string& a : altitudes)
            axes.altitudes.push_back(numberArgument(a, "altitude"));
        for (const std::string& i : inclinations)
            axes.inclinations.push_back(parseInclinationChoice(i));
        FlySettings settings;
        settings.plots = plots;
        if (!dataDir.empty())
            settings.dataDir = fs::absolute(dataDir).string();
        if (!fps.empty())
            settings.fps = numberArgument(fps, "frame rate");
        if (!timeLimit.empty())
            settings.timeLimit = numberArgument(timeLimit, "time limit");
        if (!warp.empty())
            settings.coastWarp = numberArgument(warp, "time acceleration");
        int jobCount = availableCores();
        if (!jobs.empty()) {
            double n = 0;
            if (!host::parseNumber(jobs, n) || n != std::floor(n) || n < 1 || n > 1024)
                throw MissionError("-j " + jobs + " is not a whole number from 1 to 1024");
            jobCount = static_cast<int>(n);
        }

        std::vector<MatrixCase> cases;
        if (!casesFile.empty()) {
            if (!axes.launchers.empty() || !axes.pads.empty() || !axes.altitudes.empty() ||
                !axes.inclinations.empty() || !axes.payloads.empty())
                throw MissionError("a file of cases takes no --launchers, --pads, --altitudes, --inclinations or "
                                   "--payloads");
            cases = parseCasesCsv(host::readTextFile(casesFile, "list of cases"), casesFile);
        } else {
            cases = expandCases(axes);
        }
        // Names are checked now; a target out of reach is a case the autopilot refuses.
        for (const MatrixCase& c : cases) {
            try {
                checkMission(c.mission, settings.dataDir.empty() ? defaultDataDir() : settings.dataDir);
            } catch (const MissionError& e) {
                const std::string why = e.what();
                if (why.rfind("unknown ", 0) == 0 || why.rfind("no pad scenario", 0) == 0)
                    throw MissionError(c.id + ": " + why);
            }
        }
        if (cases.empty())
            throw MissionError("no cases");

        const std::string exe = thisProgram(argv[0]);
        if (list) {
            std::error_code ec;
            fs::create_directories(outDir, ec);
            host::writeFileWhole((fs::path(outDir) / "cases.csv").string(), casesCsv(cases), "list of cases");
            // Absolute paths: the commands may run anywhere that sees this folder.
            const std::string absoluteOut = fs::absolute(outDir).lexically_normal().string();
            for (const MatrixCase& c : cases)
                std::cout << listedCommand(exe, c, absoluteOut, settings) << '\n';
            return 0;
        }
        RunOptions run;
        run.exe = exe;
        run.outDir = outDir;
        run.settings = settings;
        run.jobs = jobCount;
        run.progress = ::isatty(STDERR_FILENO) && !cli.quiet();
        return runMatrix(cases, run, std::cout, std::cerr);
    } catch (const MissionError& e) {
        return failWith("matrix: " + std::string(e.what()), 2);
    } catch (const host::InputError& e) {
        return failWith(describe(e), 2);
    } catch (const std::exception& e) {
        return failWith(e.what(), 1);
    }
}

}  // namespace tarviksim
