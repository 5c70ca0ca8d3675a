#include "Plots.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <sstream>

#include "sim/FileIO.h"
#include "sim/Simulation.h"

namespace fs = std::filesystem;

namespace tarviksim {

namespace {

std::string fixed(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, std::isfinite(value) ? value : 0.0);
    return text;
}

// A text as a gnuplot string.
std::string quoted(const std::string& s) {
    std::string q = "\"";
    for (char c : s) {
        if (c == '"' || c == '\\')
            q += '\\';
        q += c == '\n' ? ' ' : c;
    }
    return q + "\"";
}

// The short name of a staging event for a mark: "boosters", "core stage",
// "cut-off", ...
std::string markLabel(const TimelineEvent& e) {
    if (e.kind == "separation")
        return e.what.substr(0, e.what.find(" separated"));
    if (e.kind == "cutoff")
        return "cut-off";
    if (e.kind == "end" && e.what.rfind("Autopilot Complete", 0) == 0)
        return "complete";
    if (e.kind == "end")
        return e.what.substr(0, e.what.find(':'));
    return e.what.substr(0, e.what.find(" ("));
}

const TimelineEvent* eventOfKind(const FlightReport& r, const std::string& kind) {
    for (const TimelineEvent& e : r.timeline)
        if (e.kind == kind)
            return &e;
    return nullptr;
}

std::string title(const FlightReport& r) {
    std::string t = r.launcher + " from " + r.pad + " to " + fixed(r.targetAltitude, 0) + " km at " +
                    fixed(r.targetInclination, 2) + "°, " + payloadLabel(r) + " " + fixed(r.payloadMass, 0) + " kg: ";
    if (r.outcome == Outcome::Complete)
        t += "Autopilot Complete at " + fixed(r.missionTime(), 0) + " s";
    else
        t += outcomeName(r.outcome);
    return t;
}

// The events as gnuplot arrays (event_time, event_label, event_row) and the
// commands that mark them on a panel: a dashed line each, and its label
// (raised or lowered a row when it would run into its neighbour's).
std::string eventMarks(const std::vector<const TimelineEvent*>& events, double xmax) {
    std::ostringstream s;
    const size_t n = events.size();
    s << "n_events = " << n << "\n";
    s << "array event_time[" << std::max<size_t>(n, 1) << "]\n";
    s << "array event_label[" << std::max<size_t>(n, 1) << "]\n";
    s << "array event_row[" << std::max<size_t>(n, 1) << "]\n";
    double previous = -1e300;
    int row = 0;
    for (size_t i = 0; i < n; ++i) {
        const double t = events[i]->missionTime;
        row = t - previous < 0.035 * xmax ? (row + 1) % 3 : 0;
        previous = t;
        s << "event_time[" << i + 1 << "] = " << fixed(t, 1) << "; event_label[" << i + 1
          << "] = " << quoted(markLabel(*events[i])) << "; event_row[" << i + 1 << "] = " << row << "\n";
    }
    s << "marks = 'do for [i = 1:n_events] { set arrow i from event_time[i], graph 0 to event_time[i], graph 1 "
         "nohead dashtype 2 linecolor rgb \"#8c8c8c\" }'\n"
      << "labels = 'do for [i = 1:n_events] { set label i event_label[i] at event_time[i], graph (0.97 - 0.3 * "
         "event_row[i]) right rotate by 90 offset -0.7, 0 font \",8\" textcolor rgb \"#505050\" }'\n";
    return s.str();
}

std::string header(const FlightReport& r, const std::string& what, const std::string& name,
                   const std::string& telemetry) {
    std::ostringstream s;
    s << "# " << r.launcher << " from " << r.pad << " to " << fixed(r.targetAltitude, 0) << " km at "
      << fixed(r.targetInclination, 2) << " deg: " << what << ".\n"
      << "# Written by tarvik-sim fly beside its pictures; 'gnuplot " << name
      << ".gp' in this folder draws " << name << ".png and " << name << ".svg again.\n"
      << "set encoding utf8\n"
      << "set datafile separator \",\"\n"
      << "set datafile columnheaders\n"
      << "data = " << quoted(telemetry) << "\n"
      << "liftoff = " << fixed(r.liftoffTime, 3) << "  # simulation time of lift-off [s]; the plots show mission time\n"
      << "t(x) = column(\"time_s\") - liftoff\n"
      << "plot_title = " << quoted(title(r)) << "\n";
    return s.str();
}

// The loop over both pictures of a figure. tarvik-sim names the files it
// draws into (png_file, svg_file: temporaries that take the pictures' names
// once drawn); run by hand, the script draws NAME.png and NAME.svg.
std::string bothFormats(const std::string& name, int width, int height, const std::string& body) {
    std::ostringstream s;
    s << "if (!exists(\"png_file\")) png_file = \"" << name << ".png\"\n"
      << "if (!exists(\"svg_file\")) svg_file = \"" << name << ".svg\"\n"
      << "do for [format in \"png svg\"] {\n"
      << "  if (format eq \"png\") {\n"
      << "    set terminal pngcairo size " << width << "," << height << " font \"sans,10\"\n"
      << "    set output png_file\n"
      << "  } else {\n"
      << "    set terminal svg size " << width << "," << height << " dynamic font \"sans,10\"\n"
      << "    set output svg_file\n"
      << "  }\n"
      << body << "  unset output\n"
      << "}\n";
    return s.str();
}

// A file name as a gnuplot string in single quotes (no escapes in them).
std::string gnuplotFileName(const std::string& name) {
    std::string q = "'";
    for (char c : name)
        q += c == '\'' ? std::string("''") : std::string(1, c);
    return q + "'";
}

std::string ascentScript(const FlightReport& r, const std::string& telemetry) {
    const TimelineEvent* cutoff = eventOfKind(r, "cutoff");
    const double end = std::max(r.missionTime(), 1.0);
    const double xmax = cutoff ? std::min(end, cutoff->missionTime * 1.08) : end;
    std::vector<const TimelineEvent*> events;
    for (const TimelineEvent& e : r.timeline)
        if ((e.kind == "separation" || e.kind == "cutoff") && e.missionTime <= xmax)
            events.push_back(&e);

    std::ostringstream s;
    s << header(r, "the ascent, from lift-off to shortly after cut-off", "ascent", telemetry)
      << eventMarks(events, xmax) << "xmax = " << fixed(xmax, 1) << "\n";
    const std::string body =
        "  set multiplot layout 3,2 title plot_title font \",12\"\n"
        "  set xrange [0:xmax]\n"
        "  set grid linecolor rgb \"#e0e0e0\"\n"
        "  set key bottom right\n"
        "  eval marks\n"
        "  eval labels\n"
        "  set ylabel \"altitude [km]\"\n"
        "  plot data using (t(0)):(column(\"altitude_m\") / 1000) with lines linewidth 2 notitle\n"
        "  set ylabel \"speed [m/s]\"\n"
        "  plot data using (t(0)):\"airspeed_ms\" with lines linewidth 2 title \"airspeed\", \\\n"
        "       data using (t(0)):\"orbital_speed_ms\" with lines linewidth 2 title \"orbital speed\"\n"
        "  unset label\n"
        "  set key top right\n"
        "  set ylabel \"angle above the horizon [deg]\"\n"
        "  plot data using (t(0)):\"pitch_deg\" with lines linewidth 2 title \"pitch\", \\\n"
        "       data using (t(0)):\"flight_path_deg\" with lines linewidth 2 title \"flight path\"\n"
        "  set ylabel \"heading [deg]\"\n"
        "  plot data using (t(0)):\"heading_deg\" with lines linewidth 2 notitle\n"
        "  set xlabel \"mission time [s]\"\n"
        "  set ylabel \"main engine level\"\n"
        "  set yrange [-0.05:1.05]\n"
        "  plot data using (t(0)):\"main_level\" with lines linewidth 2 notitle\n"
        "  set yrange [*:*]\n"
        "  set ylabel \"mass [t]\"\n"
        "  plot data using (t(0)):(column(\"mass_kg\") / 1000) with lines linewidth 2 notitle\n"
        "  unset multiplot\n"
        "  unset arrow\n"
        "  unset xlabel\n";
    s << bothFormats("ascent", 1400, 1050, body);
    return s.str();
}

std::string orbitScript(const FlightReport& r, const std::string& telemetry) {
    const double xmax = std::max(r.missionTime(), 1.0);
    std::vector<const TimelineEvent*> events;
    for (const TimelineEvent& e : r.timeline)
        if (e.kind != "liftoff" && e.kind != "separation" && e.kind != "note")
            events.push_back(&e);
    const double top = std::max(r.targetAltitude * 1.3, r.targetAltitude + 100);

    std::ostringstream s;
    s << header(r, "apoapsis and periapsis over the whole flight", "orbit", telemetry) << eventMarks(events, xmax)
      << "xmax = " << fixed(xmax, 1) << "\n"
      << "target = " << fixed(r.targetAltitude, 3) << "  # km\n";
    const std::string body =
        "  set title plot_title font \",12\"\n"
        "  set xrange [0:xmax]\n"
        "  set yrange [0:" +
        fixed(top, 0) +
        "]\n"
        "  set grid linecolor rgb \"#e0e0e0\"\n"
        "  set key bottom right\n"
        "  set xlabel \"mission time [s]\"\n"
        "  set ylabel \"altitude above the surface [km]\"\n"
        "  eval marks\n"
        "  eval labels\n"
        "  plot data using (t(0)):\"apoapsis_alt_km\" with lines linewidth 2 title \"apoapsis\", \\\n"
        "       data using (t(0)):\"periapsis_alt_km\" with lines linewidth 2 title \"periapsis\", \\\n"
        "       target with lines dashtype 3 linecolor rgb \"#404040\" title \"target\"\n"
        "  unset arrow\n"
        "  unset label\n";
    s << bothFormats("orbit", 1200, 700, body);
    return s.str();
}

std::string groundTrackScript(const FlightReport& r, const std::string& telemetry) {
    std::ostringstream s;
    s << header(r, "the ground track", "ground-track", telemetry)
      << "# Longitudes jump from 180 to -180 where the track crosses the date line: no line there.\n"
      << "last = NaN\n"
      << "wrap(lon) = (jump = (last == last && abs(lon - last) > 180), last = lon, jump ? NaN : lon)\n"
      << "# Where things happened; a label near the one before moves down a row.\n"
      << "$events << EOD\n"
      << "longitude,latitude,label,row\n";
    double lastLon = 1e9, lastLat = 1e9;
    int row = 0;
    for (const TimelineEvent& e : r.timeline)
        if (e.kind == "liftoff" || e.kind == "cutoff" || e.kind == "circularisation" || e.kind == "end") {
            const bool near = std::fabs(e.longitude - lastLon) < 15 && std::fabs(e.latitude - lastLat) < 8;
            row = near ? row + 1 : 0;
            lastLon = e.longitude;
            lastLat = e.latitude;
            s << fixed(e.longitude, 4) << "," << fixed(e.latitude, 4) << ","
              << quoted(e.kind == "liftoff" ? r.pad : markLabel(e)) << "," << row << "\n";
        }
    s << "EOD\n";
    const std::string body =
        "  set title plot_title font \",12\"\n"
        "  set xrange [-180:180]\n"
        "  set yrange [-90:90]\n"
        "  set xtics 30\n"
        "  set ytics 30\n"
        "  set size ratio 0.5\n"
        "  set grid linecolor rgb \"#d0d0d0\"\n"
        "  set xlabel \"longitude [deg]\"\n"
        "  set ylabel \"latitude [deg]\"\n"
        "  set key bottom left\n"
        "  last = NaN\n"
        "  plot data using (wrap(column(\"longitude_deg\"))):\"latitude_deg\" with lines linewidth 2 title "
        "\"ground track\", \\\n"
        "       0 with lines linecolor rgb \"#a0a0a0\" notitle, \\\n"
        "       $events using 1:2 with points pointtype 7 pointsize 1.2 linecolor rgb \"#d62728\" notitle, \\\n"
        "       $events using 1:(column(2) - 6 * column(4)):3 with labels left offset 0.8, 0.6 font \",9\" "
        "notitle\n";
    s << bothFormats("ground-track", 1200, 700, body);
    return s.str();
}

bool executable(const fs::path& p) {
    return ::access(p.c_str(), X_OK) == 0 && fs::is_regular_file(p);
}

// Runs gnuplot on the script in its folder, drawing into the files named
// (absolute paths); its messages go to the file `log`.
bool runGnuplot(const std::string& gnuplot, const std::string& dir, const std::string& script,
                const std::string& pngFile, const std::string& svgFile, const std::string& logFile) {
    const std::string names = "png_file = " + gnuplotFileName(pngFile) + "; svg_file = " + gnuplotFileName(svgFile);
    const pid_t pid = ::fork();
    if (pid < 0)
        return false;
    if (pid == 0) {
        if (::chdir(dir.c_str()) != 0)
            ::_exit(127);
        const int log = ::open(logFile.c_str(), O_WRONLY | O_APPEND | O_NOFOLLOW | O_CLOEXEC);
        const int none = ::open("/dev/null", O_RDONLY);
        if (log >= 0) {
            ::dup2(log, STDOUT_FILENO);
            ::dup2(log, STDERR_FILENO);
        }
        if (none >= 0)
            ::dup2(none, STDIN_FILENO);
        ::execl(gnuplot.c_str(), "gnuplot", "-e", names.c_str(), script.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0)
        if (errno != EINTR)
            return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

bool drawPlot(const std::string& gnuplot, const std::string& dir, const std::string& name, const std::string& within,
              const std::string& logFile, std::vector<std::string>& pictures) {
    std::error_code ec;
    host::OutputFile png((fs::path(dir) / (name + ".png")).string(), "plot", within);
    host::OutputFile svg((fs::path(dir) / (name + ".svg")).string(), "plot", within);
    const std::string pngFile = fs::absolute(png.handOver()).string();
    const std::string svgFile = fs::absolute(svg.handOver()).string();
    const bool drawn = runGnuplot(gnuplot, dir, name + ".gp", pngFile, svgFile, logFile);
    for (host::OutputFile* picture : {&png, &svg})
        if (drawn && fs::file_size(picture == &png ? pngFile : svgFile, ec) > 0) {
            picture->commit();
            pictures.push_back(picture->path());
        }
    return drawn;
}

const std::vector<std::string>& plotNames() {
    static const std::vector<std::string> names = {"ascent", "orbit", "ground-track"};
    return names;
}

std::string plotScript(const std::string& name, const FlightReport& report, const std::string& telemetry) {
    if (name == "ascent")
        return ascentScript(report, telemetry);
    if (name == "orbit")
        return orbitScript(report, telemetry);
    return groundTrackScript(report, telemetry);
}

std::string findGnuplot() {
    const char* path = std::getenv("PATH");
    std::istringstream dirs(path ? path : "");
    for (std::string dir; std::getline(dirs, dir, ':');) {
        const fs::path candidate = fs::path(dir.empty() ? "." : dir) / "gnuplot";
        if (executable(candidate))
            return candidate.string();
    }
    return "";
}

// Every file goes the one output way, inside the root folder: the scripts
// written whole, the pictures drawn by gnuplot into temporaries that take
// their names once drawn. A picture gnuplot could not draw leaves the last
// one as it was; a file that may not or cannot be written is an output like
// any other (InputError, std::runtime_error).
std::vector<std::string> writePlots(const PlotInput& in, std::ostream& warnings) {
    std::vector<std::string> pictures;
    const std::string within = in.within.empty() ? in.dir : in.within;
    host::createFolders(in.dir, within);
    std::error_code ec;
    const std::string telemetry = fs::relative(fs::absolute(in.telemetry), fs::absolute(in.dir), ec).string();
    for (const std::string& name : plotNames())
        host::writeFileWhole((fs::path(in.dir) / (name + ".gp")).string(),
                             plotScript(name, *in.report, telemetry.empty() ? in.telemetry : telemetry), "plot script",
                             within);

    const std::string gnuplot = findGnuplot();
    if (gnuplot.empty()) {
        warnings << "tarvik-sim: warning: gnuplot is not installed (Debian: gnuplot-nox); no plots drawn, their "
                    "scripts are in "
                 << in.dir << "\n";
        return pictures;
    }
    std::vector<std::string> failed;
    host::OutputFile log((fs::path(in.dir) / "gnuplot.log").string(), "gnuplot log", within);
    const std::string logFile = fs::absolute(log.handOver()).string();
    for (const std::string& name : plotNames())
        if (!drawPlot(gnuplot, in.dir, name, within, logFile, pictures))
            failed.push_back(name + ".gp");
    log.commit();
    if (!failed.empty()) {
        std::string names;
        for (const std::string& f : failed)
            names += (names.empty() ? "" : ", ") + f;
        warnings << "tarvik-sim: warning: gnuplot failed on " << names << " (see "
                 << (fs::path(in.dir) / "gnuplot.log").string() << ")\n";
    }
    return pictures;
}

}  // namespace tarviksim
