#include "MonteCarlo.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>
#include <ostream>
#include <sstream>

#include "DispersionRecord.h"
#include "Plots.h"
#include "ReadoutText.h"
#include "sim/FileIO.h"
#include "sim/NumberText.h"
#include "sim/Simulation.h"

namespace fs = std::filesystem;

namespace tarviksim {

namespace {

std::string fixed(double value, int decimals, bool sign = false) {
    return roundedText(value, decimals, sign, "");
}

std::string clock(double seconds) {
    const long s = std::lround(seconds);
    char text[32];
    std::snprintf(text, sizeof text, "%ld:%02ld", s / 60, s % 60);
    return text;
}

std::string quoted(const std::string& s) {  // a gnuplot string
    std::string q = "\"";
    for (char c : s) {
        if (c == '"' || c == '\\')
            q += '\\';
        q += c == '\n' ? ' ' : c;
    }
    return q + "\"";
}

std::string cell(std::string s) {  // a Markdown table cell
    for (char& c : s)
        if (c == '|' || c == '\n' || c == '\r')
            c = ' ';
    return s;
}

int runDigits(const Series& s) {
    return std::max<int>(4, static_cast<int>(std::to_string(s.runs).size()));
}

std::string runName(const Series& s, int index) {
    std::string n = std::to_string(index + 1);
    return "run-" + std::string(static_cast<size_t>(std::max<int>(0, runDigits(s) - static_cast<int>(n.size()))), '0') +
           n;
}

std::string missionText(const Series& s) {
    const Mission& m = s.mission;
    std::string t = m.launcher + " from " + m.pad + " to " + fieldText(m.altitudeKm) + " km at " +
                    fieldText(m.inclinationDeg) + " deg (" + (m.descending ? "descending" : "ascending") + " node)";
    if (!m.payload.empty())
        t += ", payload " + m.payload;
    if (m.correctionDeg)
        t += ", correction " + fieldText(*m.correctionDeg) + " deg";
    return t;
}

// The completed runs' values.
std::vector<double> values(const std::vector<RunOutcome>& runs, double (*of)(const FlightReport&)) {
    std::vector<double> v;
    for (const RunOutcome& r : runs)
        if (r.complete())
            v.push_back(of(*r.report));
    return v;
}
double propellantOf(const FlightReport& r) {
    return r.propellant;
}

// A histogram's bin width: about 20 bins over the values, a round number.
double binWidth(const std::vector<double>& v) {
    if (v.empty())
        return 1;
    const auto [lo, hi] = std::minmax_element(v.begin(), v.end());
    const double range = *hi - *lo;
    if (!(range > 0))
        return std::max(1e-3, std::fabs(*lo) * 0.01);
    const double raw = range / 20;
    const double decade = std::pow(10.0, std::floor(std::log10(raw)));
    for (double step : {1.0, 2.0, 5.0, 10.0})
        if (raw <= step * decade)
            return step * decade;
    return 10 * decade;
}

}  // namespace

std::string seriesText(const Series& s) {
    const Mission& m = s.mission;
    nlohmann::ordered_json j = {
        {"launcher", m.launcher},
        {"pad", m.pad},
        {"altitude_km", m.altitudeKm},
        {"inclination_deg", m.inclinationDeg},
        {"node", m.descending ? "descending" : "ascending"},
        {"payload", m.payload},
        {"correction_deg", m.correctionDeg ? nlohmann::ordered_json(*m.correctionDeg) : nlohmann::ordered_json(nullptr)},
        {"dispersions", s.file},
        {"seed", s.seed},
        {"runs", s.runs},
        {"data", s.settings.dataDir},
        {"fps", s.settings.fps ? nlohmann::ordered_json(*s.settings.fps) : nlohmann::ordered_json(nullptr)},
        {"time_limit_s",
         s.settings.timeLimit ? nlohmann::ordered_json(*s.settings.timeLimit) : nlohmann::ordered_json(nullptr)},
        {"coast_warp",
         s.settings.coastWarp ? nlohmann::ordered_json(*s.settings.coastWarp) : nlohmann::ordered_json(nullptr)},
    };
    return j.dump(2) + "\n";
}

Series seriesFromText(const std::string& text) {
    const nlohmann::json j = nlohmann::json::parse(text);
    auto optionalNumber = [&](const char* key) -> std::optional<double> {
        if (!j.contains(key) || j[key].is_null())
            return std::nullopt;
        return j[key].get<double>();
    };
    Series s;
    try {
        s.mission.launcher = j.at("launcher").get<std::string>();
        s.mission.pad = j.at("pad").get<std::string>();
        s.mission.altitudeKm = j.at("altitude_km").get<double>();
        s.mission.inclinationDeg = j.at("inclination_deg").get<double>();
        s.mission.descending = j.at("node").get<std::string>() == "descending";
        s.mission.payload = j.at("payload").get<std::string>();
        s.mission.correctionDeg = optionalNumber("correction_deg");
        s.file = j.at("dispersions").get<std::string>();
        s.seed = j.at("seed").get<uint64_t>();
        s.runs = j.at("runs").get<int>();
        s.settings.dataDir = j.at("data").get<std::string>();
        s.settings.fps = optionalNumber("fps");
        s.settings.timeLimit = optionalNumber("time_limit_s");
        s.settings.coastWarp = optionalNumber("coast_warp");
    } catch (const nlohmann::json::exception& e) {
        throw std::runtime_error(std::string("not a series of dispersed runs: ") + e.what());
    }
    if (s.runs < 1)
        throw std::runtime_error("not a series of dispersed runs: no runs");
    return s;
}

MatrixCase runCase(const Series& s, int index) {
    MatrixCase c;
    c.mission = s.mission;
    c.id = runName(s, index);
    return c;
}

uint64_t seedOfRun(const Series& s, int index) {
    return host::runSeed(s.seed, static_cast<uint64_t>(index));
}

std::vector<std::string> dispersionArguments(const Series& s, int index) {
    // Hundreds of runs: their dialog pictures would cost more than their
    // telemetry, and nobody looks at them.
    return {"--dispersions", s.file, "--seed", std::to_string(seedOfRun(s, index)), "--no-pictures"};
}

std::vector<RunOutcome> collectRuns(const Series& s, const std::string& outDir) {
    std::vector<MatrixCase> cases;
    for (int i = 0; i < s.runs; ++i)
        cases.push_back(runCase(s, i));
    const std::vector<CaseResult> results = collectResults(cases, outDir);
    std::vector<RunOutcome> runs;
    for (int i = 0; i < s.runs; ++i) {
        RunOutcome r;
        r.index = i;
        r.seed = seedOfRun(s, i);
        r.report = results[i].report;
        r.problem = results[i].problem;
        // A report of other draws (another series' leftover) is no result of this run.
        if (r.report && (!r.report->dispersion || r.report->dispersion->seed != r.seed)) {
            r.report.reset();
            r.problem = "its report is of another run";
        }
        runs.push_back(std::move(r));
    }
    return runs;
}

Spread spreadOf(std::vector<double> v) {
    Spread s;
    s.count = v.size();
    if (v.empty())
        return s;
    std::sort(v.begin(), v.end());
    double sum = 0;
    for (double x : v)
        sum += x;
    s.mean = sum / static_cast<double>(v.size());
    double squares = 0;
    for (double x : v)
        squares += (x - s.mean) * (x - s.mean);
    s.sigma = v.size() > 1 ? std::sqrt(squares / static_cast<double>(v.size() - 1)) : 0;
    s.min = v.front();
    s.max = v.back();
    const size_t rank = static_cast<size_t>(std::ceil(0.01 * static_cast<double>(v.size())));
    s.p01 = v[rank > 0 ? rank - 1 : 0];
    return s;
}

std::string runsCsv(const std::vector<RunOutcome>& runs) {
    std::string out = "run,seed";
    for (const host::DispersionName& n : host::dispersionNames())
        out += std::string(",") + n.name + (n.seconds ? "_s" : "");
    out += ",outcome,reason,apoapsis_km,periapsis_km,inclination_deg,apoapsis_error_km,periapsis_error_km,"
           "inclination_error_deg,propellant_kg,mission_time_s\n";
    for (const RunOutcome& r : runs) {
        out += std::to_string(r.index + 1) + "," + std::to_string(r.seed);
        const host::Dispersion d =
            r.report && r.report->dispersion ? *r.report->dispersion : host::noDispersion();
        for (size_t i = 0; i < host::dispersionNames().size(); ++i)
            out += "," + (r.report ? host::numberText(d.drawn[i]) : std::string());
        if (!r.report) {
            out += ",not finished," + csvField(r.problem) + ",,,,,,,,\n";
            continue;
        }
        const FlightReport& f = *r.report;
        out += std::string(",") + outcomeName(f.outcome) + "," + csvField(f.reason);
        if (f.outcome == Outcome::Refused) {
            out += ",,,,,,,,\n";
            continue;
        }
        out += "," + fixed(f.apoapsis, 3) + "," + fixed(f.periapsis, 3) + "," + fixed(f.inclination, 3) + "," +
               fixed(apoapsisError(f), 3) + "," + fixed(periapsisError(f), 3) + "," + fixed(inclinationError(f), 3) +
               "," + fixed(f.propellant, 0) + "," + fixed(f.missionTime(), 1) + "\n";
    }
    return out;
}

std::string summaryMarkdown(const Series& s, const std::vector<RunOutcome>& runs) {
    std::ostringstream md;
    size_t finished = 0, complete = 0;
    for (const RunOutcome& r : runs) {
        finished += r.report ? 1 : 0;
        complete += r.complete() ? 1 : 0;
    }
    md << "# Dispersions: " << missionText(s) << "\n\n"
       << runs.size() << " runs with `" << fs::path(s.file).filename().string() << "`, seed " << s.seed << ".\n\n";
    const double rate = finished ? 100.0 * static_cast<double>(complete) / static_cast<double>(finished) : 0;
    md << "Completed: **" << complete << " of " << finished << "** (" << fixed(rate, 1) << " %)";
    if (finished < runs.size())
        md << "; " << runs.size() - finished << " runs left no report";
    md << ".\n\n";

    const Spread apo = spreadOf(values(runs, apoapsisError));
    const Spread peri = spreadOf(values(runs, periapsisError));
    const Spread inc = spreadOf(values(runs, inclinationError));
    const Spread prop = spreadOf(values(runs, propellantOf));
    md << "| error against the target (completed runs) | mean | 3-sigma | least | greatest |\n"
       << "|---|---:|---:|---:|---:|\n";
    auto row = [&](const char* what, const Spread& sp, int decimals) {
        md << "| " << what << " | " << fixed(sp.mean, decimals, true) << " | " << fixed(3 * sp.sigma, decimals) << " | "
           << fixed(sp.min, decimals, true) << " | " << fixed(sp.max, decimals, true) << " |\n";
    };
    row("apoapsis [km]", apo, 3);
    row("periapsis [km]", peri, 3);
    row("inclination [deg]", inc, 3);
    md << "\n| propellant left at completion [kg] | mean | 3-sigma | 1st percentile | least |\n"
       << "|---|---:|---:|---:|---:|\n"
       << "| | " << fixed(prop.mean, 0) << " | " << fixed(3 * prop.sigma, 0) << " | " << fixed(prop.p01, 0) << " | "
       << fixed(prop.min, 0) << " |\n\n";

    // The worst runs: each that did not complete, else the one that came
    // closest to running dry, and the one furthest off the plane.
    std::vector<const RunOutcome*> failed;
    const RunOutcome* driest = nullptr;
    const RunOutcome* widest = nullptr;
    for (const RunOutcome& r : runs) {
        if (r.report && !r.complete())
            failed.push_back(&r);
        if (!r.complete())
            continue;
        if (!driest || r.report->propellant < driest->report->propellant)
            driest = &r;
        if (!widest || std::fabs(inclinationError(*r.report)) > std::fabs(inclinationError(*widest->report)))
            widest = &r;
    }
    auto describeRun = [&](const RunOutcome& r) {
        std::string t = "run " + std::to_string(r.index + 1) + " (seed " + std::to_string(r.seed) + ")";
        if (r.report && r.report->dispersion)
            t += ", drawn " + dispersionValues(*r.report->dispersion);
        return t;
    };
    md << "Worst runs:\n\n";
    const size_t shownFailures = std::min<size_t>(failed.size(), 10);
    for (size_t i = 0; i < shownFailures; ++i)
        md << "- not complete, " << cell(describeRun(*failed[i])) << ": " << outcomeName(failed[i]->report->outcome)
           << ", " << cell(failed[i]->report->reason) << "\n";
    if (failed.size() > shownFailures)
        md << "- and " << failed.size() - shownFailures << " more runs that did not complete (runs.csv)\n";
    if (driest)
        md << "- least propellant left, " << cell(describeRun(*driest)) << ": " << fixed(driest->report->propellant, 0)
           << " kg, apoapsis " << fixed(driest->report->apoapsis, 1) << " km, periapsis "
           << fixed(driest->report->periapsis, 1) << " km, inclination " << fixed(driest->report->inclination, 3)
           << " deg\n";
    if (widest)
        md << "- largest inclination error, " << cell(describeRun(*widest)) << ": "
           << fixed(inclinationError(*widest->report), 3, true) << " deg\n";
    if (!driest && failed.empty())
        md << "- none: no run finished\n";
    return md.str();
}

const std::vector<std::string>& seriesPlotNames() {
    static const std::vector<std::string> names = {"errors", "inclination", "propellant"};
    return names;
}

std::string seriesPlotData(const std::vector<RunOutcome>& runs) {
    std::string s = "# apoapsis_error_km periapsis_error_km inclination_error_deg propellant_kg (completed runs)\n";
    for (const RunOutcome& r : runs)
        if (r.complete())
            s += fixed(apoapsisError(*r.report), 3) + " " + fixed(periapsisError(*r.report), 3) + " " +
                 fixed(inclinationError(*r.report), 3) + " " + fixed(r.report->propellant, 0) + "\n";
    return s;
}

std::string seriesPlotScript(const std::string& name, const Series& s, const std::vector<RunOutcome>& runs,
                             const std::string& data) {
    size_t complete = 0;
    for (const RunOutcome& r : runs)
        complete += r.complete() ? 1 : 0;
    const std::string heading = missionText(s) + ": " + std::to_string(complete) + " completed runs of " +
                                std::to_string(runs.size());
    std::ostringstream body;
    body << "  set title " << quoted(heading) << " font \",11\"\n"
         << "  set grid linecolor rgb \"#d0d0d0\"\n"
         << "  set key off\n";
    if (name == "errors") {
        body << "  set xlabel \"apoapsis error [km]\"\n"
             << "  set ylabel \"periapsis error [km]\"\n"
             << "  plot data using 1:2 with points pointtype 7 pointsize 0.6 linecolor rgb \"#1f5fa8\"\n";
    } else {
        const bool inclination = name == "inclination";
        const int column = inclination ? 3 : 4;
        const double w = binWidth(inclination ? values(runs, inclinationError) : values(runs, propellantOf));
        body << "  w = " << host::numberText(w) << "\n"
             << "  bin(x) = w * floor(x / w + 0.5)\n"
             << "  set style fill solid 0.6 border rgb \"#1f5fa8\"\n"
             << "  set boxwidth w * 0.9\n"
             << "  set yrange [0:*]\n"
             << "  set xlabel " << (inclination ? "\"inclination error [deg]\"" : "\"propellant left at completion [kg]\"")
             << "\n"
             << "  set ylabel \"runs\"\n"
             << "  plot data using (bin($" << column << ")):(1) smooth frequency with boxes linecolor rgb \"#1f5fa8\"\n";
    }
    std::ostringstream script;
    script << "# " << name << ": drawn by tarvik-sim dispersions; `gnuplot " << name << ".gp` here draws it again.\n"
           << "data = " << quoted(data) << "\n"
           << "if (!exists(\"png_file\")) png_file = \"" << name << ".png\"\n"
           << "if (!exists(\"svg_file\")) svg_file = \"" << name << ".svg\"\n"
           << "do for [format in \"png svg\"] {\n"
           << "  if (format eq \"png\") {\n"
           << "    set terminal pngcairo size 900,600 font \"sans,10\"\n"
           << "    set output png_file\n"
           << "  } else {\n"
           << "    set terminal svg size 900,600 dynamic font \"sans,10\"\n"
           << "    set output svg_file\n"
           << "  }\n"
           << body.str() << "  unset output\n"
           << "}\n";
    return script.str();
}

int reportSeries(const Series& s, const std::vector<RunOutcome>& runs, const std::string& outDir, std::ostream& out,
                 std::ostream& err) {
    const fs::path csvPath = fs::path(outDir) / "runs.csv";
    const fs::path mdPath = fs::path(outDir) / "summary.md";
    const std::string summary = summaryMarkdown(s, runs);
    host::writeFileWhole(csvPath.string(), runsCsv(runs), "table of runs", outDir);

    const fs::path plots = fs::path(outDir) / "plots";
    std::error_code ec;
    fs::create_directories(plots, ec);
    host::writeFileWhole((plots / "runs.dat").string(), seriesPlotData(runs), "plot data", outDir);
    std::vector<std::string> pictures;
    const std::string gnuplot = findGnuplot();
    for (const std::string& name : seriesPlotNames())
        host::writeFileWhole((plots / (name + ".gp")).string(), seriesPlotScript(name, s, runs, "runs.dat"),
                             "plot script", outDir);
    if (gnuplot.empty()) {
        err << "tarvik-sim: warning: gnuplot is not installed (Debian: gnuplot-nox); no plots drawn, their scripts are "
               "in "
            << plots.string() << "\n";
    } else {
        host::OutputFile log((plots / "gnuplot.log").string(), "gnuplot log", outDir);
        for (const std::string& name : seriesPlotNames())
            if (!drawPlot(gnuplot, plots.string(), name, outDir, fs::absolute(log.handOver()).string(), pictures))
                err << "tarvik-sim: warning: gnuplot failed on " << name << ".gp (see "
                    << (plots / "gnuplot.log").string() << ")\n";
        log.commit();
    }
    std::string withPlots = summary;
    if (!pictures.empty()) {
        withPlots += "\n";
        for (const std::string& name : seriesPlotNames())
            withPlots += "![" + name + "](plots/" + name + ".png)\n";
    }
    host::writeFileWhole(mdPath.string(), withPlots, "summary", outDir);

    out << summary << "\nruns:    " << csvPath.string() << "\nsummary: " << mdPath.string() << "\n";
    for (const std::string& p : pictures)
        out << "plot:    " << p << "\n";
    for (const RunOutcome& r : runs)
        if (!r.complete())
            return 3;
    return 0;
}

int flySeries(const Series& s, const SeriesRun& o, std::ostream& out, std::ostream& err) {
    std::error_code ec;
    FlightProcesses processes;
    const auto start = std::chrono::steady_clock::now();
    auto elapsed = [&] { return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(); };
    std::map<int, int> running;  // process -> run
    int next = 0, done = 0, incomplete = 0;
    auto lastProgress = start - std::chrono::seconds(10);
    auto showProgress = [&](bool force) {
        if (!o.progress)
            return;
        const auto now = std::chrono::steady_clock::now();
        if (!force && now - lastProgress < std::chrono::milliseconds(500))
            return;
        lastProgress = now;
        std::string line = "dispersions: " + std::to_string(done) + "/" + std::to_string(s.runs) + " done, " +
                           std::to_string(incomplete) + " not complete, " + std::to_string(running.size()) +
                           " running, " + clock(elapsed()) + " elapsed";
        if (done > 0 && done < s.runs)
            line += ", about " + clock(elapsed() / done * (s.runs - done)) + " left";
        line.resize(std::max<size_t>(line.size(), 100), ' ');
        err << '\r' << line << std::flush;
    };
    while (!processes.interrupted()) {
        while (next < s.runs && static_cast<int>(running.size()) < o.jobs) {
            const MatrixCase c = runCase(s, next);
            const std::string dir = caseDir(o.outDir, c);
            fs::create_directories(dir, ec);
            for (const char* file : {"report.json", "fly.json", "fly.err"})
                fs::remove(fs::path(dir) / file, ec);
            running[processes.start(flyArguments(o.exe, c, o.outDir, s.settings, dispersionArguments(s, next)), dir)] =
                next;
            ++next;
        }
        if (running.empty())
            break;
        const std::optional<std::pair<int, int>> ended = processes.ended();
        if (!ended) {
            showProgress(false);
            continue;
        }
        if (running.erase(ended->first) == 0)
            continue;
        ++done;
        incomplete += ended->second == 0 ? 0 : 1;
        showProgress(true);
    }
    const bool interrupted = processes.interrupted();
    processes.stopAll();
    if (o.progress)
        err << '\r' << std::string(100, ' ') << '\r' << std::flush;
    const double wall = elapsed();

    std::vector<RunOutcome> runs = collectRuns(s, o.outDir);
    if (interrupted)
        runs.resize(static_cast<size_t>(std::min(next, s.runs)));
    const int status = reportSeries(s, runs, o.outDir, out, err);
    char timing[160];
    std::snprintf(timing, sizeof timing, "%d runs in %.1f s of wall time with %d at a time: %.2f runs per second",
                  done, wall, o.jobs, wall > 0 ? done / wall : 0.0);
    out << timing << '\n';
    if (interrupted) {
        err << "tarvik-sim: dispersions: interrupted after " << done << " of " << s.runs
            << " runs; the tables hold those\n";
        return 130;
    }
    return status;
}

std::vector<std::string> listedRuns(const Series& s, const std::string& exe, const std::string& outDir) {
    std::vector<std::string> lines;
    for (int i = 0; i < s.runs; ++i)
        lines.push_back(listedCommand(exe, runCase(s, i), outDir, s.settings, dispersionArguments(s, i)));
    return lines;
}

std::string slurmScript(const std::string& commandsFile, int lines, const std::string& outDir,
                        std::optional<int> parallel) {
    std::ostringstream s;
    s << "#!/bin/bash\n"
      << "# Written by tarvik-sim dispersions --slurm: each array task flies one line of\n"
      << "# " << commandsFile << ". Submit with `sbatch " << (fs::path(outDir) / "dispersions.slurm").string()
      << "`,\n"
      << "# then merge with `tarvik-sim dispersions --collect " << outDir << "`.\n"
      << "#SBATCH --job-name=tarvik-dispersions\n"
      << "#SBATCH --array=1-" << lines << (parallel ? "%" + std::to_string(*parallel) : std::string()) << "\n"
      << "#SBATCH --ntasks=1\n"
      << "#SBATCH --cpus-per-task=1\n"
      << "#SBATCH --output=" << (fs::path(outDir) / "slurm-%A_%a.out").string() << "\n"
      << "set -euo pipefail\n"
      << "line=$(sed -n \"${SLURM_ARRAY_TASK_ID}p\" " << shellWord(commandsFile) << ")\n"
      << "exec bash -c \"$line\"\n";
    return s.str();
}

}  // namespace tarviksim
