#include "Commands.h"

#include <unistd.h>

#include <charconv>
#include <cmath>
#include <filesystem>
#include <iostream>

#include "CapacityCheck.h"
#include "Aim.h"
#include "CommandLine.h"
#include "Fly.h"
#include "Interrupts.h"
#include "Matrix.h"
#include "RootLock.h"
#include "PlaneLaunch.h"
#include "Session.h"
#include "Script.h"
#include "sim/FileIO.h"
#include "sim/InputText.h"
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
        throw MissionError(what + " " + host::quote(text) + " is not a number");
    return value;
}

// The settings fly and matrix both take, with the ranges fly flies in.
double frameRateArgument(const std::string& text) {
    const double fps = numberArgument(text, "frame rate");
    if (!(fps > 0) || fps > 1000)
        throw MissionError("frame rate " + host::quote(text) + " is not above 0 and at most 1000");
    return fps;
}
double timeLimitArgument(const std::string& text) {
    const double limit = numberArgument(text, "time limit");
    if (!(limit > 3) || limit > maxDuration)
        throw MissionError("time limit " + host::quote(text) + " s is not above 3 and at most 86400 s");
    return limit;
}
double coastWarpArgument(const std::string& text) {
    const double warp = numberArgument(text, "time acceleration");
    if (!(warp >= 1) || warp > 1000)
        throw MissionError("time acceleration " + host::quote(text) + " is not from 1 to 1000");
    return warp;
}

}  // namespace

uint64_t seedArgument(const std::string& text) {
    uint64_t seed = 0;
    const char* end = text.data() + text.size();
    const auto [p, ec] = std::from_chars(text.data(), end, seed);
    if (text.empty() || ec != std::errc() || p != end)
        throw MissionError("seed " + host::quote(text) + " is not a whole number from 0 to 18446744073709551615");
    return seed;
}

std::string findDispersions(const std::string& name, const std::string& dataDir) {
    std::error_code ec;
    if (fs::is_regular_file(name, ec) || !fs::path(name).is_relative())
        return name;
    const fs::path inData = fs::path(dataDir) / "dispersions" / name;
    for (const fs::path& p : {inData, fs::path(inData.string() + ".txt")})
        if (fs::is_regular_file(p, ec))
            return p.string();
    return name;  // reading it names what is missing
}

namespace {

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
    std::string launcher, pad, altitude, inclination, node, payload, correction, timeLimit, warp, fps;
    std::string scenario, target, lan, dispersions, seed;
    FlyOptions o;
    o.dataDir = defaultDataDir();
    bool json = false, noPlots = false, noPictures = false, flyOverCapacity = false, aim = false;

    CommandLine cli{
        "Flies a mission: the launcher's pad scenario from DATA/Scenarios/, the autopilot dialog filled in\n"
        "and LAUNCH pressed as a pilot does it (key A, the targets typed, the node checked), the flight\n"
        "stepped until \"Autopilot Complete\" or another clear end (propellant gone, crashed, time limit),\n"
        "then a report of the orbit reached, the suggested correction, the propellant left and the\n"
        "timeline, and plots of the ascent. Targets the autopilot cannot fly are refused before flying\n"
        "(one line, exit status 2), and so is a payload heavier than the launcher carries to the target\n"
        "by the capacity table DATA/capacity.csv, or than its pitch tables cover, unless --over-capacity\n"
        "is given; a flight that does not complete ends with exit status 3.\n"
        "--aim flies it again with a better \"+/-\" until the inclination is within 0.01 deg (at most 4\n"
        "flights, in ROOT/flight-N) and ends with the correction to type; exit status 3 when it is not.\n"
        "--target NAME (with --scenario) or --lan DEG launches into a plane: LAUNCH is pressed when the\n"
        "pad has turned under it, after a wait on the pad; with --aim the moment of LAUNCH is aimed too.",
        "tarvik-sim fly"};
    CLI::App& app = cli.app;
    app.add_option("LAUNCHER", launcher, "TarvikM4, TarvikM42, TarvikM52 or TarvikM54")->required();
    app.add_option("--pad", pad, "LC37B or LC6 (with --scenario: the pad the scenario holds)");
    app.add_option("--altitude", altitude, "Target altitude [km], below the build's ceiling");
    app.add_option("--inclination", inclination, "Target inclination [deg], reachable from the pad");
    app.add_option("--node", node,
                   "ascending or descending (default ascending; for a launch into a plane, the pad's next pass)");
    app.add_option("--payload", payload,
                   "A payload of the configuration dialog (Carina, ShuttlePB, MPLM, MMU, DeltaGlider, LDEF, SAT1, "
                   "SAT2, SAT3) or a mass in kg; default: the pad scenario's");
    app.add_option("--correction", correction, "Degrees typed into the \"+/-\" field before LAUNCH (with --aim: "
                                               "the first flight's)");
    app.add_flag("--aim", aim,
                 "Fly again with a better \"+/-\" (and moment of LAUNCH) until the orbit is the one asked for, at most "
                 "4 flights");
    app.add_option("--scenario", scenario,
                   "Fly from this scenario (the launcher on its pad, and any target) instead of the pad scenario; a "
                   "name not found as given is looked up in DATA/Scenarios/");
    app.add_option("--target", target,
                   "Launch into the plane of this vessel of the scenario, picked in the dialog's \"Copy Orbital "
                   "Elements\" list (which types its altitude and inclination)");
    app.add_option("--lan", lan,
                   "Launch into the plane with this longitude of the ascending node [deg, equatorial frame] and "
                   "--inclination");
    app.add_option("--root", o.rootDir, "Folder for the outputs (and the host's files)")->capture_default_str();
    app.add_option("--data", o.dataDir,
                   "Data folder with Config/ and Scenarios/ (default: TARVIK_DATA, else the installation's)")
        ->capture_default_str();
    app.add_option("--fps", fps, "Frames per second (default 60)");
    app.add_option("--time-limit", timeLimit,
                   "Seconds of simulation time from the scenario's start to fly at most (default 86400)");
    app.add_option("--coast-warp", warp,
                   "Time acceleration while the autopilot coasts after cut-off, far from the apoapsis, 1 to 1000 "
                   "(default 100; at most 10 nearer it; 1 flies in real time throughout; see docs/fly.md)");
    app.add_flag("--json", json, "The report as JSON on stdout");
    app.add_flag("--no-plots", noPlots, "Draw no plots");
    app.add_flag("--no-pictures", noPictures,
                 "Save no pictures of the autopilot dialog (autopilot-pad.png, autopilot-end.png); the session "
                 "script still takes them when played");
    app.add_flag("--over-capacity", flyOverCapacity,
                 "Fly a payload heavier than the capacity table or the pitch tables allow, after a warning");
    app.add_option("--dispersions", dispersions,
                   "Fly with thrust, Isp, masses, drag, density and the launch moment drawn from this dispersion file "
                   "(see docs/dispersions.md); the draws go into the report and summary");
    app.add_option("--seed", seed, "The draws' seed, a whole number (default 1; with --dispersions)");

    if (const std::optional<int> done = cli.parse(argc, argv))
        return *done;

    Mission& m = o.mission;
    m.launcher = launcher;
    m.pad = pad;
    m.payload = payload;
    try {
        const bool planeLaunch = !target.empty() || !lan.empty();
        if (!target.empty() && !lan.empty())
            throw MissionError("--target and --lan both name a plane: give one of them");
        if (!target.empty() && scenario.empty())
            throw MissionError("--target needs --scenario FILE, holding the launcher on its pad and " + target +
                               " in orbit");
        if (!target.empty() && (!altitude.empty() || !inclination.empty()))
            throw MissionError("--target takes its altitude and inclination from " + target +
                               "'s orbit, as the dialog copies them: no --altitude or --inclination");
        if (target.empty() && altitude.empty())
            throw MissionError("--altitude is required");
        if (target.empty() && inclination.empty())
            throw MissionError("--inclination is required");
        if (!scenario.empty()) {
            try {
                m.scenario = findScenario(scenario, o.dataDir);
            } catch (const host::InputError& e) {
                throw MissionError(describe(e));
            }
            if (m.pad.empty())
                m.pad = padInScenario(host::readTextFile(m.scenario, "scenario"));
        }
        if (m.pad.empty())
            throw MissionError(scenario.empty() ? "--pad is required"
                                                : "--pad is required: the scenario holds neither LC37B nor LC6, or both");
        if (!altitude.empty())
            m.altitudeKm = numberArgument(altitude, "altitude");
        if (!inclination.empty())
            m.inclinationDeg = numberArgument(inclination, "inclination");
        m.descending = !node.empty() && parseNode(node);
        if (!correction.empty())
            m.correctionDeg = numberArgument(correction, "correction");
        if (!fps.empty())
            o.fps = frameRateArgument(fps);
        if (!timeLimit.empty())
            o.timeLimit = timeLimitArgument(timeLimit);
        if (!warp.empty())
            o.coastWarp = coastWarpArgument(warp);
        o.plots = !noPlots;
        o.pictures = !noPictures;
        if (!seed.empty() && dispersions.empty())
            throw MissionError("--seed draws dispersions: give --dispersions FILE too");
        if (!dispersions.empty()) {
            o.dispersionFile = findDispersions(dispersions, o.dataDir);
            const host::DispersionFile file = host::readDispersions(o.dispersionFile);
            o.dispersion = host::drawDispersion(file, seed.empty() ? 1 : seedArgument(seed));
        }
        if (planeLaunch) {
            if (const LauncherInfo* l = findLauncher(m.launcher))
                m.launcher = l->name;
            const std::string scene = m.scenario.empty() ? padScenarioPath(o.dataDir, m.launcher, m.pad) : m.scenario;
            std::error_code ec;
            if (!fs::is_regular_file(scene, ec))
                checkMission(m, o.dataDir);  // names the launcher, pad or scenario that is not there
            fs::create_directories(o.rootDir, ec);
            const PlaneScene s = readPlaneScene(scene, o.dataDir, o.rootDir, m.launcher, target);
            OrbitPlane plane;
            if (!target.empty()) {
                m.altitudeKm = s.copiedAltitudeKm;
                m.inclinationDeg = s.copiedInclinationDeg;
                plane = s.targetPlane;
            } else {
                plane = {m.inclinationDeg, numberArgument(lan, "longitude of the ascending node")};
            }
            checkMission(m, o.dataDir);
            std::optional<bool> wanted;
            if (!node.empty())
                wanted = m.descending;
            o.plan = planLaunch(s, plane, wanted, o.timeLimit - kPlaneLaunchRoom);
            m.descending = o.plan->pass.descending;
        }
        const CheckedMission checked = checkMission(m, o.dataDir);
        // What the launcher carries, before anything flies.
        const std::optional<std::string> over =
            overCapacity(checked, shippedCapacity(o.dataDir), shippedCapacityPath(o.dataDir));
        if (over && !flyOverCapacity)
            throw MissionError(*over + " (--over-capacity flies it anyway)");
        if (over)
            std::cerr << "tarvik-sim: warning: " << *over << "; flying it as asked (--over-capacity)\n";
    } catch (const MissionError& e) {
        // Refused before flying; the report says so for a matrix that collects it.
        std::error_code ec;
        fs::create_directories(o.rootDir, ec);
        try {
            const FlightReport r = refusedReport(m, e.what());
            writeReportFile(r, (fs::path(o.rootDir) / "report.json").string(), o.rootDir);
            if (json)
                std::cout << reportText(r);
        } catch (const std::exception&) {
        }
        return failWith(e.what(), 2);
    } catch (const host::InputError& e) {
        return failWith(describe(e), 2);
    }

    try {
        std::ostream* progress = ::isatty(STDERR_FILENO) && !cli.quiet() ? &std::cerr : nullptr;
        const FlightReport r = aim ? flyAimed(o, std::cerr, progress) : flyMission(o, std::cerr, progress);
        if (json)
            std::cout << reportText(r);
        else
            printReport(r, std::cout);
        if (r.outcome == Outcome::Refused)
            return failWith(r.reason, 2);
        if (r.aim && !r.aim->within)
            return failWith("aim: " + r.aim->reason, 3);
        if (r.outcome != Outcome::Complete)
            return failWith(std::string(outcomeName(r.outcome)) + ": " + r.reason, 3);
    } catch (const Interrupted& e) {
        return failWith(e.what(), interruptStatus());
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
    bool list = false, plots = false, replace = false, aim = false;

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
    app.add_flag("--replace", replace,
                 "Replace the results of another matrix in OUT (without it, an OUT that holds them is refused)");
    app.add_flag("--aim", aim,
                 "Aim every case (fly --aim: at most 4 flights each); the table gets the flights and the correction "
                 "found");

    if (const std::optional<int> done = cli.parse(argc, argv))
        return *done;

    try {
        if (!collectDir.empty()) {
            std::error_code ec;
            if (!fs::is_directory(collectDir, ec))
                throw MissionError("no folder " + collectDir);
            const RootLock lock(collectDir);
            return reportResults(collectFolder(collectDir), collectDir, std::cout);
        }

        for (const std::string& a : altitudes)
            axes.altitudes.push_back(numberArgument(a, "altitude"));
        for (const std::string& i : inclinations)
            axes.inclinations.push_back(parseInclinationChoice(i));
        FlySettings settings;
        settings.plots = plots;
        settings.aim = aim;
        if (!dataDir.empty())
            settings.dataDir = fs::absolute(dataDir).string();
        if (!fps.empty())
            settings.fps = frameRateArgument(fps);
        if (!timeLimit.empty())
            settings.timeLimit = timeLimitArgument(timeLimit);
        if (!warp.empty())
            settings.coastWarp = coastWarpArgument(warp);
        int jobCount = availableCores();
        if (!jobs.empty()) {
            double n = 0;
            if (!host::parseNumber(jobs, n) || n != std::floor(n) || n < 1 || n > 1024)
                throw MissionError("-j " + host::quote(jobs) + " is not a whole number from 1 to 1024");
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
        // Absolute paths: the listed commands may run anywhere that sees this folder.
        const std::string absoluteOut = fs::absolute(outDir).lexically_normal().string();
        std::vector<std::string> commands;
        if (list)
            for (const MatrixCase& c : cases)
                commands.push_back(listedCommand(exe, c, absoluteOut, settings));

        // One matrix at a time in OUT, never over another's results, and
        // never over what the matrix reads.
        host::ProtectedInputs inputs;
        inputs.dataFolder(settings.dataDir.empty() ? defaultDataDir() : settings.dataDir, outDir);
        inputs.file(casesFile, "the list of cases");
        std::error_code ec;
        fs::create_directories(outDir, ec);
        if (!fs::is_directory(outDir, ec))
            throw host::InputError(outDir, 0, "cannot create the matrix folder");
        const RootLock lock(outDir);
        std::cerr << leftoverWarning(lock.removeLeftovers(), outDir);
        claimMatrixFolder(outDir, cases, replace);
        if (list) {
            host::writeFileWhole((fs::path(outDir) / "cases.csv").string(), casesCsv(cases), "list of cases", outDir);
            for (const std::string& command : commands)
                std::cout << command << '\n';
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
