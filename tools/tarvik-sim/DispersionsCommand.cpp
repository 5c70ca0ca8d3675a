// `tarvik-sim dispersions`: its command line.
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <iostream>
#include <nlohmann/json.hpp>

#include "CapacityCheck.h"
#include "CommandLine.h"
#include "Commands.h"
#include "Failure.h"
#include "Interrupts.h"
#include "MonteCarlo.h"
#include "RootLock.h"
#include "sim/FileIO.h"
#include "sim/InputText.h"
#include "sim/NumberText.h"

namespace fs = std::filesystem;

namespace tarviksim {

namespace {

double number(const std::string& text, const std::string& what) {
    double value = 0;
    if (!host::parseNumber(text, value) || !std::isfinite(value))
        throw MissionError(what + " " + host::quote(text) + " is not a number");
    return value;
}

int wholeNumber(const std::string& text, const std::string& what, int low, int high) {
    const double n = number(text, what);
    if (n != std::floor(n) || n < low || n > high)
        throw MissionError(what + " " + host::quote(text) + " is not a whole number from " + std::to_string(low) +
                           " to " + std::to_string(high));
    return static_cast<int>(n);
}

std::string self(const char* argv0) {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::absolute(argv0, ec).string() : exe.string();
}

// OUT for this series: a folder that holds another series' runs is refused
// unless `replace` is given, and then cleared of them. `aiming` leaves the
// correction out of the comparison (the aim in OUT/aim is about to find
// it); once aimed, the aim's folder stays.
void claimSeriesFolder(const std::string& outDir, Series s, bool replace, bool aiming, bool keepAim) {
    const fs::path planPath = fs::path(outDir) / "series.json";
    std::error_code ec;
    bool other = false;
    if (fs::is_regular_file(planPath, ec)) {
        try {
            Series earlier = seriesFromText(host::readTextFile(planPath.string(), "series"));
            if (aiming)
                earlier.mission.correctionDeg = s.mission.correctionDeg = std::nullopt;
            other = seriesText(earlier) != seriesText(s);
        } catch (const std::exception&) {
            other = true;
        }
    } else if (fs::exists(fs::path(outDir) / "runs.csv", ec) || fs::exists(fs::path(outDir) / "cases", ec)) {
        other = true;
    }
    if (other && !replace)
        throw MissionError(outDir + " holds the runs of another series (--replace replaces them, or give another --out)");
    if (other)
        for (const char* p : {"cases", "plots", "aim", "runs.csv", "summary.md", "series.json", "commands.txt",
                              "dispersions.slurm"}) {
            if (keepAim && std::string(p) == "aim")
                continue;
            host::checkOutput((fs::path(outDir) / p).string(), "series output", outDir);
            fs::remove_all(fs::path(outDir) / p, ec);
        }
}

// Flies the mission aimed, without dispersions, in OUT/aim; returns the
// correction to type.
double aimFirst(const Series& s, const std::string& exe, const std::string& outDir, bool progress, std::ostream& err) {
    MatrixCase c;
    c.mission = s.mission;
    c.id = "aim";
    FlySettings settings = s.settings;
    settings.aim = true;
    const std::string dir = (fs::path(outDir) / "aim").string();
    std::vector<std::string> args = flyArguments(exe, c, outDir, settings);
    for (std::string& a : args)
        if (a == caseDir(outDir, c))
            a = dir;
    std::error_code ec;
    fs::create_directories(dir, ec);
    fs::remove(fs::path(dir) / "report.json", ec);
    if (progress)
        err << "dispersions: aiming the mission without dispersions (fly --aim, in " << dir << ") ..." << std::flush;
    {
        FlightProcesses processes;
        processes.start(args, dir);
        while (processes.running() > 0 && !processes.interrupted())
            processes.ended();
        if (processes.interrupted())
            throw Interrupted("dispersions: interrupted while aiming; nothing flown with dispersions");
    }
    if (progress)
        err << "\r" << std::string(100, ' ') << "\r" << std::flush;
    const fs::path reportPath = fs::path(dir) / "report.json";
    FlightReport r;
    try {
        r = reportFromJson(nlohmann::json::parse(host::readTextFile(reportPath.string(), "aim's report")));
    } catch (const nlohmann::json::exception& e) {
        throw MissionError("the aim left an unreadable report " + reportPath.string() + ": " + e.what());
    } catch (const host::InputError&) {
        throw MissionError("the aim left no report (see " + (fs::path(dir) / "fly.err").string() + ")");
    }
    double correction = 0;
    if (!r.aim || !host::parseNumber(r.aim->correctionText, correction))
        throw MissionError("the aim found no correction: " + (r.aim ? r.aim->reason : r.reason));
    if (!r.aim->within)
        err << "tarvik-sim: warning: the aim did not come within " << host::numberText(r.aim->tolerance)
            << " deg (" << r.aim->reason << "); the runs fly with its best correction, " << r.aim->correctionText
            << "\n";
    return correction;
}

}  // namespace

int dispersionsCommand(int argc, char** argv) {
    std::string launcher, pad, altitude, inclination, node, payload, correction, file, runs, seed = "1", jobs;
    std::string outDir = "tarvik-dispersions", collectDir, dataDir, fps, timeLimit, warp;
    bool aim = false, list = false, slurm = false, replace = false;

    CommandLine cli{
        "Flies one mission many times with the launcher and the air dispersed (Monte Carlo): each run is\n"
        "`tarvik-sim fly` with --dispersions FILE and a seed of its own derived from --seed, in a process of\n"
        "its own, at most -j at a time. Writes OUT/runs.csv (each run's drawn factors and outcome),\n"
        "OUT/summary.md (completion rate; mean and 3-sigma of the apoapsis, periapsis and inclination\n"
        "errors; the propellant left and its 1st percentile; the worst runs) and plots in OUT/plots/.\n"
        "--list prints the runs as shell commands (for GNU parallel), --slurm writes a Slurm job array\n"
        "script, --collect DIR makes the tables of what they left. See docs/dispersions.md. Exit status 0\n"
        "when every run completed, 3 when some did not, 2 for bad input, 130 when interrupted.",
        "tarvik-sim dispersions"};
    CLI::App& app = cli.app;
    app.add_option("LAUNCHER", launcher, "TarvikM4, TarvikM42, TarvikM52 or TarvikM54");
    app.add_option("--pad", pad, "LC37B or LC6");
    app.add_option("--altitude", altitude, "Target altitude [km]");
    app.add_option("--inclination", inclination, "Target inclination [deg]");
    app.add_option("--node", node, "ascending or descending (default ascending)");
    app.add_option("--payload", payload, "A payload of the configuration dialog or a mass in kg");
    app.add_option("--correction", correction, "Degrees typed into \"+/-\" before every LAUNCH");
    app.add_flag("--aim", aim,
                 "First aim the mission without dispersions (fly --aim, in OUT/aim) and fly every run with the "
                 "correction found");
    app.add_option("--file", file,
                   "The dispersion file (a name not found as given is looked up in DATA/dispersions/, e.g. default)");
    app.add_option("--runs", runs, "Number of runs, 1 to 100000");
    app.add_option("--seed", seed, "The series' seed, a whole number; run i flies with a seed derived from it "
                                   "(runs.csv lists each)")
        ->capture_default_str();
    app.add_option("-j,--jobs", jobs, "Runs at a time (default: every core)");
    app.add_option("--out", outDir, "Folder of the results, one folder per run under OUT/cases/")
        ->capture_default_str();
    app.add_flag("--list", list, "Print one fly command per run (and write OUT/commands.txt) instead of flying");
    app.add_flag("--slurm", slurm,
                 "Write OUT/commands.txt and OUT/dispersions.slurm, a Slurm job array of one run per task, instead "
                 "of flying (-j: tasks at a time)");
    app.add_option("--collect", collectDir, "Make the tables of the runs the listed commands left in DIR; fly nothing");
    app.add_flag("--replace", replace, "Replace the runs of another series in OUT");
    app.add_option("--data", dataDir, "Data folder with Config/ and Scenarios/ for every run");
    app.add_option("--fps", fps, "Frames per second of every run");
    app.add_option("--time-limit", timeLimit, "Seconds of simulation time a run may take at most");
    app.add_option("--coast-warp", warp, "Time acceleration while the autopilot coasts (default 100, as fly)");

    if (const std::optional<int> done = cli.parse(argc, argv))
        return *done;

    try {
        if (!collectDir.empty()) {
            std::error_code ec;
            if (!fs::is_directory(collectDir, ec))
                throw MissionError("no folder " + collectDir);
            const fs::path planPath = fs::path(collectDir) / "series.json";
            if (!fs::is_regular_file(planPath, ec))
                throw MissionError(collectDir + " holds no series.json: not a folder of dispersed runs");
            const RootLock lock(collectDir);
            Series s;
            try {
                s = seriesFromText(host::readTextFile(planPath.string(), "series"));
            } catch (const std::runtime_error& e) {
                if (dynamic_cast<const host::InputError*>(&e))
                    throw;
                throw host::InputError(planPath.string(), 0, e.what());
            }
            return reportSeries(s, collectRuns(s, collectDir), collectDir, std::cout, std::cerr);
        }

        if (launcher.empty())
            throw MissionError("LAUNCHER is required");
        for (const auto& [value, name] : {std::pair{&pad, "--pad"}, {&altitude, "--altitude"},
                                          {&inclination, "--inclination"}, {&file, "--file"}, {&runs, "--runs"}})
            if (value->empty())
                throw MissionError(std::string(name) + " is required");
        if (aim && !correction.empty())
            throw MissionError("--aim finds the correction: give --aim or --correction, not both");
        if (list && slurm)
            throw MissionError("--list and --slurm both list the runs: give one of them");

        Series s;
        Mission& m = s.mission;
        m.launcher = launcher;
        m.pad = pad;
        m.payload = payload;
        m.altitudeKm = number(altitude, "altitude");
        m.inclinationDeg = number(inclination, "inclination");
        m.descending = !node.empty() && parseNode(node);
        if (!correction.empty())
            m.correctionDeg = number(correction, "correction");
        s.runs = wholeNumber(runs, "--runs", 1, 100000);
        s.seed = seedArgument(seed);
        if (!dataDir.empty())
            s.settings.dataDir = fs::absolute(dataDir).lexically_normal().string();
        const std::string data = s.settings.dataDir.empty() ? defaultDataDir() : s.settings.dataDir;
        if (!fps.empty()) {
            const double f = number(fps, "frame rate");
            if (!(f > 0) || f > 1000)
                throw MissionError("frame rate " + host::quote(fps) + " is not above 0 and at most 1000");
            s.settings.fps = f;
        }
        if (!timeLimit.empty()) {
            const double t = number(timeLimit, "time limit");
            if (!(t > 3) || t > 86400)
                throw MissionError("time limit " + host::quote(timeLimit) + " s is not above 3 and at most 86400 s");
            s.settings.timeLimit = t;
        }
        if (!warp.empty()) {
            const double w = number(warp, "time acceleration");
            if (!(w >= 1) || w > 1000)
                throw MissionError("time acceleration " + host::quote(warp) + " is not from 1 to 1000");
            s.settings.coastWarp = w;
        }
        int jobCount = availableCores();
        if (!jobs.empty())
            jobCount = wholeNumber(jobs, "-j", 1, 1024);

        // Everything that can be refused is refused before anything flies:
        // the mission, the payload against the launcher's capacity, every
        // line of the dispersion file.
        const CheckedMission checked = checkMission(m, data);
        m.launcher = checked.mission.launcher;
        m.pad = checked.mission.pad;
        if (const std::optional<std::string> over =
                overCapacity(checked, shippedCapacity(data), shippedCapacityPath(data)))
            throw MissionError(*over);
        s.file = fs::absolute(findDispersions(file, data)).lexically_normal().string();
        host::readDispersions(s.file);

        const std::string exe = self(argv[0]);
        // Absolute paths: the listed commands may run anywhere that sees this folder.
        const std::string out = fs::absolute(outDir).lexically_normal().string();
        host::ProtectedInputs inputs;
        inputs.dataFolder(data, out);
        inputs.file(s.file, "the dispersion file");
        std::error_code ec;
        fs::create_directories(out, ec);
        if (!fs::is_directory(out, ec))
            throw host::InputError(outDir, 0, "cannot create the folder of the runs");
        const RootLock lock(out);
        std::cerr << leftoverWarning(lock.removeLeftovers(), out);
        claimSeriesFolder(out, s, replace, aim, false);
        const bool progress = ::isatty(STDERR_FILENO) && !cli.quiet();
        if (aim)
            m.correctionDeg = aimFirst(s, exe, out, progress, std::cerr);
        claimSeriesFolder(out, s, true, false, true);  // the same series with another correction: its runs go
        host::writeFileWhole((fs::path(out) / "series.json").string(), seriesText(s), "series", out);

        if (list || slurm) {
            const std::vector<std::string> lines = listedRuns(s, exe, out);
            std::string text;
            for (const std::string& l : lines)
                text += l + "\n";
            const std::string commands = (fs::path(out) / "commands.txt").string();
            host::writeFileWhole(commands, text, "list of runs", out);
            if (list) {
                std::cout << text;
                return 0;
            }
            const std::string script = (fs::path(out) / "dispersions.slurm").string();
            host::writeFileWhole(script, slurmScript(commands, s.runs, out, jobs.empty() ? std::nullopt
                                                                                          : std::optional(jobCount)),
                                 "Slurm script", out);
            std::cout << "Slurm job array of " << s.runs << " runs: " << script << "\n"
                      << "submit:  sbatch " << shellWord(script) << "\n"
                      << "collect: " << shellWord(exe) << " dispersions --collect " << shellWord(out) << "\n";
            return 0;
        }
        SeriesRun run;
        run.exe = exe;
        run.outDir = out;
        run.jobs = jobCount;
        run.progress = progress;
        return flySeries(s, run, std::cout, std::cerr);
    } catch (const Interrupted& e) {
        return failWith(e.what(), interruptStatus());
    } catch (const MissionError& e) {
        return failWith("dispersions: " + std::string(e.what()), 2);
    } catch (const host::InputError& e) {
        return failWith(describe(e), 2);
    } catch (const std::exception& e) {
        return failWith(e.what(), 1);
    }
}

}  // namespace tarviksim
