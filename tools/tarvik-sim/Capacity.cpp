#include "Capacity.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <ostream>
#include <set>
#include <sstream>

#include "CapacitySearch.h"
#include "Plots.h"
#include "ReadoutText.h"
#include "sim/FileIO.h"
#include "sim/NumberText.h"
#include "sim/Simulation.h"

namespace fs = std::filesystem;

namespace tarviksim {

namespace {

// Where each launcher's search starts when no lower altitude has told it
// more, and how far it may go: a little above what each carries low down.
struct SearchStart {
    const char* launcher;
    double guess;  // kg
};
constexpr SearchStart kSearchStarts[] = {
    {"TarvikM4", 3000},
    {"TarvikM42", 8000},
    {"TarvikM52", 11000},
    {"TarvikM54", 14000},
};
constexpr double kHeaviest = 30000;     // kg: more than any Medium build lifts
constexpr double kFirstStep = 400;      // kg: the first widening without a lower altitude's result
constexpr double kGuidedStep = 200;     // kg: with one

std::string fixed(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

std::string caseText(const std::string& pad, double inclination, bool descending) {
    return pad + ", " + fieldText(inclination) + "° (" + (descending ? "descending" : "ascending") + " node)";
}

// One launcher, case and altitude, and its search.
struct Point {
    std::string launcher;
    CapacityCase c;
    double altitude = 0;
    size_t series = 0;           // the launcher and case
    std::optional<size_t> lower;  // the same series' point one altitude down
    std::optional<CapacitySearch> search;
    double heaviest = kHeaviest;
    bool busy = false;
    std::string problem;  // a flight that left no report: the search stops
    double mass = 0;       // of the flight under way

    bool settled() const { return search && search->done(); }
    bool over() const { return settled() || !problem.empty(); }
};

SearchLimits limitsFor(const Point& p, const std::vector<Point>& points, const CapacityOptions& o) {
    SearchLimits l;
    l.resolution = o.resolution;
    l.lightest = o.resolution;
    l.heaviest = p.heaviest;
    l.step = kFirstStep;
    for (const SearchStart& s : kSearchStarts)
        if (p.launcher == s.launcher)
            l.guess = s.guess;
    if (o.firstGuess)
        l.guess = *o.firstGuess;
    // A lower altitude's capacity is a close guess: one carries less higher up.
    if (p.lower && points[*p.lower].settled() && points[*p.lower].search->capacity()) {
        l.guess = *points[*p.lower].search->capacity();
        l.step = kGuidedStep;
    }
    l.guess = std::clamp(l.guess, l.lightest, l.heaviest);
    return l;
}

MatrixCase flightCase(const Point& p, double mass) {
    MatrixCase m;
    m.mission.launcher = p.launcher;
    m.mission.pad = p.c.pad;
    m.mission.altitudeKm = p.altitude;
    m.mission.inclinationDeg = p.c.inclinationDeg;
    m.mission.descending = p.c.descending;
    m.mission.payload = fieldText(mass);
    m.id = caseId(m.mission);
    return m;
}

CapacityRow rowOf(const Point& p) {
    CapacityRow r;
    r.launcher = p.launcher;
    r.pad = p.c.pad;
    r.inclinationDeg = p.c.inclinationDeg;
    r.descending = p.c.descending;
    r.altitudeKm = p.altitude;
    if (!p.search) {
        r.limit = CapacityLimit::Unsettled;
        r.note = p.problem.empty() ? "not flown" : p.problem;
        return r;
    }
    const CapacitySearch& s = *p.search;
    r.flights = s.flights();
    r.capacityKg = s.capacity().value_or(0);
    r.lightestFailingKg = s.lightestFailing();
    if (!p.problem.empty() || !s.done()) {
        r.limit = CapacityLimit::Unsettled;
        r.note = p.problem.empty() ? "the search did not finish" : p.problem;
    } else if (!s.capacity()) {
        r.limit = CapacityLimit::NoneFlies;
    } else if (s.atHeaviest() && p.heaviest < kHeaviest) {
        r.limit = CapacityLimit::PitchTables;
    } else {
        r.limit = CapacityLimit::Flights;
    }
    if (s.atHeaviest() && r.limit == CapacityLimit::Flights)
        r.note = "the heaviest payload searched completed: the capacity is at least this";
    if (s.contradicted())
        r.note = "a payload failed where a heavier one completed: completing is not monotonic in the mass here";
    return r;
}

// Capacity falls with altitude; a row above the one below it is worth a word.
void noteAltitudeOrder(std::vector<CapacityRow>& rows, double resolution) {
    for (size_t i = 1; i < rows.size(); ++i) {
        const CapacityRow& a = rows[i - 1];
        CapacityRow& b = rows[i];
        if (a.launcher != b.launcher || a.pad != b.pad || a.inclinationDeg != b.inclinationDeg ||
            a.descending != b.descending || a.limit == CapacityLimit::Unsettled || b.limit == CapacityLimit::Unsettled)
            continue;
        if (b.capacityKg > a.capacityKg + resolution) {
            const std::string note = "more than at " + fieldText(a.altitudeKm) + " km (" +
                                     fieldText(a.capacityKg) + " kg)";
            b.note = b.note.empty() ? note : b.note + "; " + note;
        }
    }
}

std::string cellFor(const CapacityRow& r) {
    switch (r.limit) {
        case CapacityLimit::Flights:
            return fixed(r.capacityKg, 0);
        case CapacityLimit::PitchTables:
            return fixed(r.capacityKg, 0) + " (pitch tables)";
        case CapacityLimit::NoneFlies:
            return "0 (none completes)";
        case CapacityLimit::Unsettled:
            break;
    }
    return r.capacityKg > 0 ? "at least " + fixed(r.capacityKg, 0) + " (unsettled)" : std::string("unsettled");
}

struct CaseKey {
    std::string pad;
    double inclination;
    bool descending;
    bool operator<(const CaseKey& o) const {
        return std::tie(pad, inclination, descending) < std::tie(o.pad, o.inclination, o.descending);
    }
};

// The cases and launchers of the rows, in the order they first appear.
void axesOf(const std::vector<CapacityRow>& rows, std::vector<CaseKey>& cases, std::vector<std::string>& launchers) {
    for (const CapacityRow& r : rows) {
        const CaseKey k{r.pad, r.inclinationDeg, r.descending};
        if (std::find_if(cases.begin(), cases.end(), [&](const CaseKey& c) {
                return !(c < k) && !(k < c);
            }) == cases.end())
            cases.push_back(k);
        if (std::find(launchers.begin(), launchers.end(), r.launcher) == launchers.end())
            launchers.push_back(r.launcher);
    }
}

std::string quoted(const std::string& s) {
    std::string q = "\"";
    for (char c : s) {
        if (c == '"' || c == '\\')
            q += '\\';
        q += c;
    }
    return q + "\"";
}

}  // namespace

CapacityCase parseCapacityCase(const std::string& text) {
    const size_t colon = text.find(':');
    if (colon == std::string::npos || colon == 0)
        throw MissionError("case '" + text + "' is not PAD:INCLINATION (with ':descending' if wanted)");
    CapacityCase c;
    c.pad = text.substr(0, colon);
    const InclinationChoice i = parseInclinationChoice(text.substr(colon + 1));
    c.inclinationDeg = i.degrees;
    c.descending = i.descending;
    return c;
}

std::string capacityMarkdown(const std::vector<CapacityRow>& rows) {
    std::vector<CaseKey> cases;
    std::vector<std::string> launchers;
    axesOf(rows, cases, launchers);
    std::string s;
    std::vector<std::string> notes;
    for (const CaseKey& k : cases) {
        s += "\n#### " + caseText(k.pad, k.inclination, k.descending) + "\n\n| altitude km |";
        std::string rule = "|--:|";
        for (const std::string& l : launchers) {
            s += " " + l + " kg |";
            rule += "--:|";
        }
        s += "\n" + rule + "\n";
        std::set<double> altitudes;
        for (const CapacityRow& r : rows)
            if (r.pad == k.pad && r.inclinationDeg == k.inclination && r.descending == k.descending)
                altitudes.insert(r.altitudeKm);
        for (double a : altitudes) {
            s += "| " + fieldText(a) + " |";
            for (const std::string& l : launchers) {
                const CapacityRow* found = nullptr;
                for (const CapacityRow& r : rows)
                    if (r.launcher == l && r.pad == k.pad && r.inclinationDeg == k.inclination &&
                        r.descending == k.descending && r.altitudeKm == a)
                        found = &r;
                s += " " + (found ? cellFor(*found) : std::string("—")) + " |";
                if (found && !found->note.empty())
                    notes.push_back(l + " from " + caseText(k.pad, k.inclination, k.descending) + " to " +
                                    fieldText(a) + " km: " + found->note);
            }
            s += "\n";
        }
    }
    if (!notes.empty()) {
        s += "\nNotes:\n\n";
        for (const std::string& n : notes)
            s += "- " + n + "\n";
    }
    return s;
}

std::string capacityPlotScript(const std::vector<CapacityRow>& rows, const std::string& name) {
    std::vector<CaseKey> cases;
    std::vector<std::string> launchers;
    axesOf(rows, cases, launchers);
    const int columns = cases.size() > 1 ? 2 : 1;
    const int panelRows = static_cast<int>((cases.size() + 1) / 2);
    std::ostringstream s;
    s << "# What each launcher carries, against the altitude of the circular orbit.\n"
      << "# Written by tarvik-sim capacity; 'gnuplot " << name << ".gp' in this folder draws " << name
      << ".png and " << name << ".svg again.\n"
      << "set encoding utf8\n";
    // The curves as data blocks: altitude km, payload kg.
    for (size_t c = 0; c < cases.size(); ++c)
        for (size_t l = 0; l < launchers.size(); ++l) {
            s << "$c" << c << "l" << l << " << EOD\n";
            for (const CapacityRow& r : rows)
                if (r.launcher == launchers[l] && r.pad == cases[c].pad &&
                    r.inclinationDeg == cases[c].inclination && r.descending == cases[c].descending &&
                    r.limit != CapacityLimit::Unsettled)
                    s << fieldText(r.altitudeKm) << " " << fieldText(r.capacityKg) << "\n";
            s << "EOD\n";
        }
    const int width = columns == 2 ? 1400 : 900;
    const int height = 250 + 450 * panelRows;
    s << "if (!exists(\"png_file\")) png_file = \"" << name << ".png\"\n"
      << "if (!exists(\"svg_file\")) svg_file = \"" << name << ".svg\"\n"
      << "do for [format in \"png svg\"] {\n"
      << "  if (format eq \"png\") {\n"
      << "    set terminal pngcairo size " << width << "," << height << " font \"sans,10\"\n"
      << "    set output png_file\n"
      << "  } else {\n"
      << "    set terminal svg size " << width << "," << height << " font \"sans,10\" dynamic\n"
      << "    set output svg_file\n"
      << "  }\n"
      << "  set multiplot layout " << panelRows << "," << columns
      << " title \"Payload to a circular orbit (heaviest that completes, to " << 50 << " kg)\" font \",13\"\n"
      << "  set grid linecolor rgb \"#d0d0d0\"\n"
      << "  set xlabel \"circular orbit altitude [km]\"\n"
      << "  set ylabel \"payload [kg]\"\n"
      << "  set yrange [0:*]\n"
      << "  set key top right\n";
    for (size_t c = 0; c < cases.size(); ++c) {
        s << "  set title " << quoted("from " + caseText(cases[c].pad, cases[c].inclination, cases[c].descending))
          << " font \",11\"\n  plot ";
        for (size_t l = 0; l < launchers.size(); ++l)
            s << (l ? ", \\\n       " : "") << "$c" << c << "l" << l
              << " using 1:2 with linespoints linewidth 2 pointtype 7 pointsize 0.8 title " << quoted(launchers[l]);
        s << "\n";
    }
    s << "  unset multiplot\n"
      << "  set output\n"
      << "}\n";
    return s.str();
}

void writeCapacityOutputs(const std::vector<CapacityRow>& rows, const std::string& outDir, std::ostream& out,
                          std::ostream& err) {
    std::error_code ec;
    fs::create_directories(outDir, ec);
    const fs::path csvPath = fs::path(outDir) / "capacity.csv";
    const fs::path mdPath = fs::path(outDir) / "capacity.md";
    const std::string table = capacityMarkdown(rows);
    host::writeFileWhole(csvPath.string(), capacityCsv(rows), "capacity table");
    host::writeFileWhole(mdPath.string(), table, "capacity table");

    const fs::path plots = fs::path(outDir) / "plots";
    fs::create_directories(plots, ec);
    host::writeFileWhole((plots / "capacity.gp").string(), capacityPlotScript(rows, "capacity"), "plot script");
    std::string drawn;
    if (const std::string gnuplot = findGnuplot(); gnuplot.empty()) {
        err << "tarvik-sim: warning: gnuplot is not installed (Debian: gnuplot-nox); no plot drawn, its script is "
            << (plots / "capacity.gp").string() << "\n";
    } else {
        host::OutputFile log((plots / "gnuplot.log").string(), "gnuplot log");
        std::vector<std::string> pictures;
        if (!drawPlot(gnuplot, plots.string(), "capacity", plots.string(), fs::absolute(log.handOver()).string(),
                      pictures))
            err << "tarvik-sim: warning: gnuplot failed on capacity.gp (see " << (plots / "gnuplot.log").string()
                << ")\n";
        log.commit();
        for (const std::string& p : pictures)
            drawn += (drawn.empty() ? "" : ", ") + p;
    }

    out << table << "\nresults: " << csvPath.string() << ", " << mdPath.string() << "\n";
    if (!drawn.empty())
        out << "plot:    " << drawn << "\n";
}

int runCapacity(const CapacityOptions& o, std::ostream& out, std::ostream& err) {
    // The points, a series per launcher and case, altitudes rising; none at
    // or above a launcher's ceiling.
    std::vector<Point> points;
    std::vector<std::string> skipped;
    size_t series = 0;
    for (const std::string& launcher : o.launchers) {
        const LauncherInfo* info = nullptr;
        for (const LauncherInfo& l : mediumLaunchers())
            if (launcher == l.name)
                info = &l;
        for (const CapacityCase& c : o.cases) {
            std::optional<size_t> lower;
            for (double altitude : o.altitudes) {
                if (info && !(altitude < info->ceilingKm)) {
                    skipped.push_back(launcher + " to " + fieldText(altitude) + " km (its autopilot's targets are below " +
                                      fieldText(info->ceilingKm) + " km)");
                    continue;
                }
                Point p;
                p.launcher = launcher;
                p.c = c;
                p.altitude = altitude;
                p.series = series;
                p.lower = lower;
                if (info)
                    p.heaviest = std::min(kHeaviest, info->pitchTableLimitKg);
                lower = points.size();
                points.push_back(std::move(p));
            }
            ++series;
        }
    }
    if (points.empty())
        throw MissionError("nothing to search: every altitude is at or above the launchers' ceilings");

    std::error_code ec;
    fs::create_directories(fs::path(o.outDir) / "cases", ec);
    if (!fs::is_directory(fs::path(o.outDir) / "cases"))
        throw host::InputError(o.outDir, 0, "cannot create the capacity folder");
    std::ofstream log(fs::path(o.outDir) / "capacity.log");

    FlightProcesses processes;
    const auto start = std::chrono::steady_clock::now();
    auto elapsed = [&] { return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(); };
    std::map<int, size_t> running;  // process -> point
    int flown = 0;
    auto lastProgress = start - std::chrono::seconds(10);
    auto showProgress = [&](bool force) {
        if (!o.progress)
            return;
        const auto now = std::chrono::steady_clock::now();
        if (!force && now - lastProgress < std::chrono::milliseconds(500))
            return;
        lastProgress = now;
        size_t settled = 0;
        for (const Point& p : points)
            settled += p.over() ? 1 : 0;
        std::string line = "capacity: " + std::to_string(settled) + "/" + std::to_string(points.size()) +
                           " orbits settled, " + std::to_string(flown) + " flights flown, " +
                           std::to_string(running.size()) + " running, " + clockText(elapsed()) + " elapsed";
        if (settled > 0 && settled < points.size())
            line += ", about " + clockText(elapsed() / static_cast<double>(settled) * (points.size() - settled)) + " left";
        line.resize(std::max<size_t>(line.size(), 100), ' ');
        err << '\r' << line << std::flush;
    };

    // The next point to fly: one under way first, then one whose lower
    // altitude has settled (or that has none), then any, so that every
    // slot is busy.
    auto pick = [&]() -> Point* {
        Point* best = nullptr;
        int bestRank = 4;
        for (Point& p : points) {
            if (p.busy || p.over())
                continue;
            const int rank = p.search ? 0 : (!p.lower || points[*p.lower].over()) ? 1 : 2;
            if (rank < bestRank) {
                best = &p;
                bestRank = rank;
            }
        }
        return best;
    };

    while (!processes.interrupted()) {
        while (static_cast<int>(running.size()) < o.jobs) {
            Point* p = pick();
            if (!p)
                break;
            if (!p->search)
                p->search.emplace(limitsFor(*p, points, o));
            const std::optional<double> mass = p->search->next();
            if (!mass)
                continue;
            const MatrixCase c = flightCase(*p, *mass);
            const std::string dir = caseDir(o.outDir, c);
            fs::create_directories(dir, ec);
            for (const char* file : {"report.json", "fly.json", "fly.err"})
                fs::remove(fs::path(dir) / file, ec);
            std::vector<std::string> args = flyArguments(o.exe, c, o.outDir, o.settings);
            args.push_back("--over-capacity");  // the search flies what the shipped table would refuse
            const int pid = processes.start(args, dir);
            log << std::fixed << elapsed() << " start " << c.id << " pid " << pid << std::endl;
            p->busy = true;
            p->mass = *mass;
            running[pid] = static_cast<size_t>(p - points.data());
        }
        if (running.empty())
            break;
        const std::optional<std::pair<int, int>> done = processes.ended();
        if (!done) {
            showProgress(false);
            continue;
        }
        const auto it = running.find(done->first);
        if (it == running.end())
            continue;
        Point& p = points[it->second];
        running.erase(it);
        p.busy = false;
        ++flown;
        const MatrixCase c = flightCase(p, p.mass);
        const std::vector<CaseResult> result = collectResults({c}, o.outDir);
        const CaseResult& r = result.front();
        std::string outcome;
        if (r.report && r.report->outcome != Outcome::Refused) {
            p.search->record(p.mass, r.report->outcome == Outcome::Complete);
            outcome = outcomeName(r.report->outcome);
        } else {
            // A flight that did not fly says nothing about the mass.
            p.problem = c.id + ": " + (r.report ? r.report->reason : r.problem);
            outcome = "no result";
        }
        log << std::fixed << elapsed() << " end " << c.id << " pid " << done->first << " status " << done->second
            << " " << outcome << std::endl;
        showProgress(true);
    }
    const bool interrupted = processes.interrupted();
    processes.stopAll();
    if (o.progress)
        err << '\r' << std::string(100, ' ') << '\r' << std::flush;

    std::vector<CapacityRow> rows;
    for (const Point& p : points)
        rows.push_back(rowOf(p));
    noteAltitudeOrder(rows, o.resolution);

    writeCapacityOutputs(rows, o.outDir, out, err);
    for (const std::string& s : skipped)
        out << "not searched: " << s << "\n";
    char timing[160];
    std::snprintf(timing, sizeof timing, "%zu orbits, %d flights in %.1f s of wall time with %d at a time",
                  points.size(), flown, elapsed(), o.jobs);
    out << timing << "\n";
    log << timing << std::endl;
    if (interrupted) {
        err << "tarvik-sim: capacity: interrupted after " << flown
            << " flights; the table holds what had settled, the rest as unsettled\n";
        return 130;
    }
    for (const CapacityRow& r : rows)
        if (r.limit == CapacityLimit::Unsettled)
            return 3;
    return 0;
}

}  // namespace tarviksim
