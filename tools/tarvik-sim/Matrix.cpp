#include "Matrix.h"

#include <fcntl.h>
#include <poll.h>
#include <sched.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <ostream>
#include <set>
#include <sstream>
#include <thread>

#include "ReadoutText.h"
#include "sim/FileIO.h"
#include "sim/InputText.h"
#include "sim/NumberText.h"
#include "sim/Simulation.h"

namespace fs = std::filesystem;

namespace tarviksim {

// A CSV field: quoted when it holds a comma, a quote or a line break.
std::string csvField(const std::string& s) {
    if (s.find_first_of(",\"\n\r") == std::string::npos)
        return s;
    std::string q = "\"";
    for (char c : s)
        q += c == '"' ? std::string("\"\"") : std::string(1, c == '\n' || c == '\r' ? ' ' : c);
    return q + "\"";
}

// A word for a shell command line, quoted when it needs to be.
std::string shellWord(const std::string& s) {
    if (!s.empty() && s.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_-./=:+,@%") ==
                          std::string::npos)
        return s;
    std::string q = "'";
    for (char c : s)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

namespace {

constexpr const char* kCasesHeader = "launcher,pad,altitude_km,inclination_deg,node,payload,correction_deg";

std::string fixed(double value, int decimals, bool sign = false) {
    return roundedText(value, decimals, sign, "");
}

std::string trimmed(const std::string& s) {
    const size_t a = s.find_first_not_of(" \t\r");
    if (a == std::string::npos)
        return "";
    return s.substr(a, s.find_last_not_of(" \t\r") - a + 1);
}

// One record of a CSV file and the line it starts on.
struct CsvRecord {
    int line = 0;
    std::vector<std::string> fields;
};

// The records of a CSV text: fields separated by commas; a field in double
// quotes may hold commas, line breaks and quotes (doubled). Fields without
// quotes are taken without the blanks around them. Blank lines and lines
// that begin with '#' are skipped. Throws host::InputError naming the line.
std::vector<CsvRecord> csvRecords(const std::string& text, const std::string& path) {
    std::vector<CsvRecord> records;
    size_t i = 0;
    int line = 1;
    const size_t n = text.size();
    while (i < n) {
        // A blank line or a comment.
        size_t end = text.find('\n', i);
        if (end == std::string::npos)
            end = n;
        const std::string whole = trimmed(text.substr(i, end - i));
        if (whole.empty() || whole[0] == '#') {
            i = end + 1;
            ++line;
            continue;
        }
        CsvRecord r;
        r.line = line;
        while (true) {
            std::string field;
            while (i < n && (text[i] == ' ' || text[i] == '\t'))
                ++i;
            if (i < n && text[i] == '"') {
                const int opened = line;
                ++i;
                while (true) {
                    if (i >= n)
                        throw host::InputError(path, opened, "a quoted field is not closed");
                    if (text[i] == '"') {
                        if (i + 1 < n && text[i + 1] == '"') {
                            field += '"';
                            i += 2;
                            continue;
                        }
                        ++i;
                        break;
                    }
                    if (text[i] == '\n')
                        ++line;
                    field += text[i++];
                }
                while (i < n && (text[i] == ' ' || text[i] == '\t' || text[i] == '\r'))
                    ++i;
                if (i < n && text[i] != ',' && text[i] != '\n')
                    throw host::InputError(path, line, "text after a quoted field's closing quote");
            } else {
                while (i < n && text[i] != ',' && text[i] != '\n')
                    field += text[i++];
                field = trimmed(field);
            }
            r.fields.push_back(field);
            if (i < n && text[i] == ',') {
                ++i;
                continue;
            }
            break;  // the end of the record
        }
        records.push_back(std::move(r));
        ++i;  // past the line break
        ++line;
    }
    return records;
}

// A Markdown table cell: no bars or line breaks.
std::string cell(std::string s) {
    for (char& c : s)
        if (c == '|' || c == '\n' || c == '\r')
            c = ' ';
    return s;
}

// What a case's flight left (a report, its messages): a regular file of
// sensible size, else nothing.
std::string readFile(const fs::path& p) {
    std::string text;
    return host::readInputFile(p.string(), text) ? text : std::string();
}

// The last line a case's fly wrote on stderr (its one-line failure), without "tarvik-sim: ".
std::string lastErrorLine(const fs::path& p) {
    std::istringstream in(readFile(p));
    std::string last;
    for (std::string line; std::getline(in, line);) {
        // A progress line ends with a carriage return; a failure line is a whole line.
        if (line.find('\r') != std::string::npos)
            line = line.substr(line.rfind('\r') + 1);
        if (!trimmed(line).empty())
            last = trimmed(line);
    }
    if (last.rfind("tarvik-sim: ", 0) == 0)
        last.erase(0, 12);
    return last;
}

std::string targetText(const Mission& m) {
    return fieldText(m.altitudeKm) + " km, " + fieldText(m.inclinationDeg) + "°";
}

// A matrix of aimed missions: its tables say how many flights each took and the correction found.
bool anyAimed(const std::vector<CaseResult>& results) {
    for (const CaseResult& r : results)
        if (r.report && r.report->aim)
            return true;
    return false;
}

bool aimMissed(const CaseResult& r) {
    return r.report && r.report->aim && r.report->outcome == Outcome::Complete && !r.report->aim->within;
}

}  // namespace

InclinationChoice parseInclinationChoice(const std::string& text) {
    InclinationChoice c;
    const size_t colon = text.find(':');
    const std::string number = text.substr(0, colon);
    if (!host::parseNumber(number, c.degrees))
        throw MissionError("inclination " + host::quote(text) + " is not a number of degrees (with ':descending' if wanted)");
    if (colon != std::string::npos)
        c.descending = parseNode(text.substr(colon + 1));
    return c;
}

std::string caseId(const Mission& m) {
    std::string id = m.launcher + "-" + m.pad + "-" + fieldText(m.altitudeKm) + "km-" + fieldText(m.inclinationDeg) +
                     "deg-" + (m.descending ? "desc" : "asc");
    if (!m.payload.empty()) {
        double mass = 0;
        id += "-" + (host::parseNumber(m.payload, mass) ? m.payload + "kg" : m.payload);
    }
    if (m.correctionDeg)
        id += "-c" + fieldText(*m.correctionDeg);
    // Only what is safe in a file name and a shell word.
    for (char& ch : id)
        if (!std::isalnum(static_cast<unsigned char>(ch)) && ch != '-' && ch != '.' && ch != '_' && ch != '+')
            ch = '_';
    return id;
}

std::vector<MatrixCase> expandCases(const MatrixAxes& axes) {
    std::vector<std::string> launchers = axes.launchers, pads = axes.pads, payloads = axes.payloads;
    std::vector<double> altitudes = axes.altitudes;
    if (launchers.empty())
        for (const LauncherInfo& l : mediumLaunchers())
            launchers.push_back(l.name);
    if (pads.empty())
        pads = padNames();
    if (altitudes.empty())
        altitudes = {300, 600, 900};
    if (payloads.empty())
        payloads = {""};

    std::vector<MatrixCase> cases;
    std::set<std::string> ids;
    for (const std::string& launcher : launchers)
        for (const std::string& pad : pads) {
            std::vector<InclinationChoice> inclinations = axes.inclinations;
            if (inclinations.empty()) {
                // Two orbits each pad is used for: one near its latitude, one well above it.
                if (pad == "LC6")
                    inclinations = {{63.4, false}, {98, true}};
                else
                    inclinations = {{30, false}, {51.6, false}};
            }
            for (double altitude : altitudes)
                for (const InclinationChoice& inclination : inclinations)
                    for (const std::string& payload : payloads) {
                        MatrixCase c;
                        c.mission.launcher = launcher;
                        c.mission.pad = pad;
                        c.mission.altitudeKm = altitude;
                        c.mission.inclinationDeg = inclination.degrees;
                        c.mission.descending = inclination.descending;
                        c.mission.payload = payload;
                        c.id = caseId(c.mission);
                        if (ids.insert(c.id).second)
                            cases.push_back(c);
                    }
        }
    return cases;
}

std::vector<MatrixCase> parseCasesCsv(const std::string& text, const std::string& path) {
    std::vector<MatrixCase> cases;
    std::set<std::string> ids;
    std::map<std::string, size_t> column;
    size_t columns = 0;
    for (const CsvRecord& record : csvRecords(text, path)) {
        const int lineNumber = record.line;
        const std::vector<std::string>& fields = record.fields;
        if (column.empty()) {
            for (size_t i = 0; i < fields.size(); ++i)
                if (!column.emplace(fields[i], i).second)
                    throw host::InputError(path, lineNumber, "the column " + host::quote(fields[i]) + " is named twice");
            columns = fields.size();
            for (const char* required : {"launcher", "pad", "altitude_km", "inclination_deg"})
                if (!column.count(required))
                    throw host::InputError(path, lineNumber,
                                           std::string("the header has no column '") + required + "' (" +
                                               kCasesHeader + ")");
            continue;
        }
        if (fields.size() > columns)
            throw host::InputError(path, lineNumber,
                                   std::to_string(fields.size()) + " fields where the header names " +
                                       std::to_string(columns) + " (a comma in a field needs quotes)");
        auto field = [&](const char* name) {
            const auto it = column.find(name);
            return it != column.end() && it->second < fields.size() ? fields[it->second] : std::string();
        };
        MatrixCase c;
        Mission& m = c.mission;
        m.launcher = field("launcher");
        m.pad = field("pad");
        try {
            if (!host::parseNumber(field("altitude_km"), m.altitudeKm))
                throw MissionError("altitude " + host::quote(field("altitude_km")) + " is not a number");
            if (!host::parseNumber(field("inclination_deg"), m.inclinationDeg))
                throw MissionError("inclination " + host::quote(field("inclination_deg")) + " is not a number");
            if (!field("node").empty())
                m.descending = parseNode(field("node"));
            m.payload = field("payload");
            if (!field("correction_deg").empty()) {
                double correction = 0;
                if (!host::parseNumber(field("correction_deg"), correction))
                    throw MissionError("correction " + host::quote(field("correction_deg")) + " is not a number");
                m.correctionDeg = correction;
            }
        } catch (const MissionError& e) {
            throw host::InputError(path, lineNumber, e.what());
        }
        c.id = caseId(m);
        if (!ids.insert(c.id).second)
            throw host::InputError(path, lineNumber, "the case " + c.id + " is already listed");
        cases.push_back(c);
    }
    if (column.empty())
        throw host::InputError(path, 0, std::string("no header line (") + kCasesHeader + ")");
    return cases;
}

std::string casesCsv(const std::vector<MatrixCase>& cases) {
    std::string s = std::string(kCasesHeader) + "\n";
    for (const MatrixCase& c : cases) {
        const Mission& m = c.mission;
        s += csvField(m.launcher) + "," + csvField(m.pad) + "," + fieldText(m.altitudeKm) + "," +
             fieldText(m.inclinationDeg) + "," + (m.descending ? "descending" : "ascending") + "," +
             csvField(m.payload) + "," + (m.correctionDeg ? fieldText(*m.correctionDeg) : "") + "\n";
    }
    return s;
}

std::string caseDir(const std::string& outDir, const MatrixCase& c) {
    return (fs::path(outDir) / "cases" / c.id).string();
}

std::vector<std::string> flyArguments(const std::string& exe, const MatrixCase& c, const std::string& outDir,
                                      const FlySettings& s, const std::vector<std::string>& extra) {
    const Mission& m = c.mission;
    std::vector<std::string> a = {exe,
                                  "fly",
                                  m.launcher,
                                  "--pad",
                                  m.pad,
                                  "--altitude",
                                  fieldText(m.altitudeKm),
                                  "--inclination",
                                  fieldText(m.inclinationDeg),
                                  "--node",
                                  m.descending ? "descending" : "ascending"};
    if (!m.payload.empty())
        a.insert(a.end(), {"--payload", m.payload});
    if (m.correctionDeg)
        a.insert(a.end(), {"--correction", fieldText(*m.correctionDeg)});
    a.insert(a.end(), {"--root", caseDir(outDir, c), "--json"});
    if (!s.plots)
        a.push_back("--no-plots");
    if (!s.dataDir.empty())
        a.insert(a.end(), {"--data", s.dataDir});
    if (s.fps)
        a.insert(a.end(), {"--fps", host::numberText(*s.fps)});
    if (s.timeLimit)
        a.insert(a.end(), {"--time-limit", host::numberText(*s.timeLimit)});
    if (s.coastWarp)
        a.insert(a.end(), {"--coast-warp", host::numberText(*s.coastWarp)});
    if (s.aim)
        a.push_back("--aim");
    a.insert(a.end(), extra.begin(), extra.end());
    return a;
}

std::string listedCommand(const std::string& exe, const MatrixCase& c, const std::string& outDir,
                          const FlySettings& settings, const std::vector<std::string>& extra) {
    const std::string dir = caseDir(outDir, c);
    // One command per line, whatever reads the lines (a shell, xargs -d '\n',
    // GNU parallel): a line break in a word would end the command there.
    std::vector<std::string> words = flyArguments(exe, c, outDir, settings, extra);
    words.push_back(dir);
    for (const std::string& w : words)
        if (w.find_first_of("\n\r") != std::string::npos)
            throw MissionError(c.id + ": " + host::quote(w) +
                               " holds a line break, and the listed commands are one per line");
    std::string line = "mkdir -p " + shellWord(dir) + " &&";
    words.pop_back();
    for (const std::string& a : words)
        line += " " + shellWord(a);
    line += " > " + shellWord((fs::path(dir) / "fly.json").string()) + " 2> " +
            shellWord((fs::path(dir) / "fly.err").string());
    return line;
}

std::vector<CaseResult> collectResults(const std::vector<MatrixCase>& cases, const std::string& outDir) {
    std::vector<CaseResult> results;
    for (const MatrixCase& c : cases) {
        CaseResult r;
        r.c = c;
        const fs::path dir = caseDir(outDir, c);
        const fs::path reportPath = dir / "report.json";
        std::error_code ec;
        if (fs::is_regular_file(reportPath, ec)) {
            try {
                r.report = reportFromJson(nlohmann::json::parse(readFile(reportPath)));
            } catch (const std::exception& e) {
                r.problem = "unreadable report: " + std::string(e.what());
            }
        } else if (fs::is_regular_file(dir / "fly.err", ec) && !lastErrorLine(dir / "fly.err").empty()) {
            r.problem = "no report: " + lastErrorLine(dir / "fly.err");
        } else {
            r.problem = fs::is_directory(dir, ec) ? "no report: the flight did not finish" : "not run";
        }
        results.push_back(r);
    }
    return results;
}

std::vector<CaseResult> collectFolder(const std::string& outDir) {
    const fs::path plan = fs::path(outDir) / "cases.csv";
    std::error_code ec;
    if (fs::is_regular_file(plan, ec))
        return collectResults(parseCasesCsv(host::readTextFile(plan.string(), "list of cases"), plan.string()),
                              outDir);
    // No plan: every report there, in the order of the folder names.
    std::vector<MatrixCase> cases;
    std::vector<fs::path> dirs;
    for (const auto& entry : fs::directory_iterator(fs::path(outDir) / "cases", ec))
        if (entry.is_directory() && fs::is_regular_file(entry.path() / "report.json", ec))
            dirs.push_back(entry.path());
    std::sort(dirs.begin(), dirs.end());
    std::vector<CaseResult> results;
    for (const fs::path& d : dirs) {
        CaseResult r;
        r.c.id = d.filename().string();
        try {
            const FlightReport report = reportFromJson(nlohmann::json::parse(readFile(d / "report.json")));
            r.c.mission.launcher = report.launcher;
            r.c.mission.pad = report.pad;
            r.c.mission.altitudeKm = report.targetAltitude;
            r.c.mission.inclinationDeg = report.targetInclination;
            r.c.mission.descending = report.descending;
            r.report = report;
        } catch (const std::exception& e) {
            r.problem = "unreadable report: " + std::string(e.what());
        }
        results.push_back(r);
    }
    return results;
}

std::string resultsCsv(const std::vector<CaseResult>& results) {
    std::string s =
        "case,launcher,pad,altitude_km,inclination_deg,node,payload,payload_kg,correction_deg,outcome,reason,"
        "apoapsis_km,periapsis_km,inclination_reached_deg,apoapsis_error_km,periapsis_error_km,"
        "inclination_error_deg,suggested_correction_deg,mission_time_s,propellant_kg";
    const bool aimed = anyAimed(results);
    s += aimed ? ",flights,correction\n" : "\n";
    auto aimColumns = [aimed](const CaseResult& r) -> std::string {
        if (!aimed)
            return "\n";
        if (!r.report || !r.report->aim)
            return ",,\n";
        return "," + std::to_string(r.report->aim->flights.size()) + "," + csvField(r.report->aim->correctionText) + "\n";
    };
    for (const CaseResult& r : results) {
        const Mission& m = r.c.mission;
        s += csvField(r.c.id) + "," + csvField(m.launcher) + "," + csvField(m.pad) + "," + fieldText(m.altitudeKm) +
             "," + fieldText(m.inclinationDeg) + "," + (m.descending ? "descending" : "ascending") + ",";
        if (!r.report) {
            s += csvField(m.payload) + ",," + (m.correctionDeg ? fieldText(*m.correctionDeg) : "") +
                 ",not finished," + csvField(r.problem) + ",,,,,,,,," + aimColumns(r);
            continue;
        }
        const FlightReport& f = *r.report;
        if (f.outcome == Outcome::Refused) {
            s += csvField(m.payload) + ",," + (m.correctionDeg ? fieldText(*m.correctionDeg) : "") + ",refused," +
                 csvField(f.reason) + ",,,,,,,,," + aimColumns(r);
            continue;
        }
        s += csvField(payloadLabel(f)) + "," + fixed(f.payloadMass, 1) + "," +
             (f.correction ? fieldText(*f.correction) : "") + "," + outcomeName(f.outcome) + "," +
             csvField(f.reason) + ",";
        s += fixed(f.apoapsis, 3) + "," + fixed(f.periapsis, 3) + "," + fixed(f.inclination, 3) + "," +
             fixed(apoapsisError(f), 3) + "," + fixed(periapsisError(f), 3) + "," + fixed(inclinationError(f), 3) +
             "," + (f.suggestedCorrection ? fixed(*f.suggestedCorrection, 2) : "") + "," +
             fixed(f.missionTime(), 1) + "," + fixed(f.propellant, 0) + aimColumns(r);
    }
    return s;
}

std::string resultsMarkdown(const std::vector<CaseResult>& results) {
    const bool aimed = anyAimed(results);
    std::string s =
        "| launcher | pad | target | node | payload | outcome | apoapsis error km | periapsis error km | "
        "inclination error ° | mission time s | propellant kg |";
    s += aimed ? " flights | correction |\n|---|---|---|---|---|---|--:|--:|--:|--:|--:|--:|--:|\n"
               : "\n|---|---|---|---|---|---|--:|--:|--:|--:|--:|\n";
    const std::string noAim = aimed ? " | |" : "";
    auto aimCells = [aimed](const CaseResult& r) -> std::string {
        if (!aimed)
            return "";
        if (!r.report || !r.report->aim)
            return " | |";
        return " " + std::to_string(r.report->aim->flights.size()) + " | " + cell(r.report->aim->correctionText) + " |";
    };
    std::vector<std::string> notes;
    for (const CaseResult& r : results) {
        const Mission& m = r.c.mission;
        s += "| " + cell(m.launcher) + " | " + cell(m.pad) + " | " + targetText(m) + " | " +
             (m.descending ? "descending" : "ascending") + " | ";
        if (!r.report) {
            s += cell(m.payload.empty() ? "default" : m.payload) + " | not finished | | | | | |" + noAim + "\n";
            notes.push_back(r.c.id + ": " + r.problem);
            continue;
        }
        const FlightReport& f = *r.report;
        if (f.outcome == Outcome::Refused) {
            s += cell(m.payload.empty() ? "default" : m.payload) + " | refused | | | | | |" + noAim + "\n";
            notes.push_back(r.c.id + ": " + f.reason);
            continue;
        }
        if (f.outcome != Outcome::Complete)
            notes.push_back(r.c.id + ": " + outcomeName(f.outcome) + ", " + f.reason);
        else if (aimMissed(r))
            notes.push_back(r.c.id + ": aim: " + f.aim->reason);
        s += cell(payloadLabel(f)) + " | " + outcomeName(f.outcome) + " | ";
        auto shown = [](const std::string& text) { return text.empty() ? std::string("none") : text; };
        s += shown(fixed(apoapsisError(f), 1, true)) + " | " + shown(fixed(periapsisError(f), 1, true)) + " | " +
             shown(fixed(inclinationError(f), aimed ? 3 : 2, true)) + " | " + fixed(f.missionTime(), 0) + " | " +
             fixed(f.propellant, 0) + " |" + aimCells(r) + "\n";
    }
    if (!notes.empty()) {
        s += aimed ? "\nNot complete, or not within the aim:\n\n" : "\nNot complete:\n\n";
        for (const std::string& n : notes)
            s += "- " + cell(n) + "\n";
    }
    return s;
}

std::string verdict(const std::vector<CaseResult>& results) {
    const size_t total = results.size();
    size_t complete = 0;
    double worstApsis = 0, worstInclination = 0;
    std::string worstApsisCase, worstInclinationCase;
    std::vector<std::string> failed;
    for (const CaseResult& r : results) {
        if (!r.report) {
            failed.push_back(r.c.id + " (not finished)");
            continue;
        }
        const FlightReport& f = *r.report;
        if (f.outcome != Outcome::Complete) {
            failed.push_back(r.c.id + " (" + outcomeName(f.outcome) + ")");
            continue;
        }
        ++complete;
        const double apsis = std::max(std::fabs(apoapsisError(f)), std::fabs(periapsisError(f)));
        if (apsis > worstApsis || worstApsisCase.empty()) {
            worstApsis = apsis;
            worstApsisCase = r.c.id;
        }
        if (std::fabs(inclinationError(f)) > worstInclination || worstInclinationCase.empty()) {
            worstInclination = std::fabs(inclinationError(f));
            worstInclinationCase = r.c.id;
        }
    }
    std::string v = std::to_string(total) + " cases: ";
    if (total == 0)
        return v + "none";
    v += complete == total ? "all complete" : std::to_string(complete) + " complete";
    if (complete > 0)
        v += "; apsides within " + fixed(worstApsis, 1) + " km (worst " + worstApsisCase + "), inclination within " +
             fixed(worstInclination, 2) + "° (worst " + worstInclinationCase + ")";
    if (anyAimed(results) && complete > 0) {
        size_t within = 0;
        std::vector<std::string> missed;
        double tolerance = 0.01;
        for (const CaseResult& r : results) {
            if (!r.report || r.report->outcome != Outcome::Complete || !r.report->aim)
                continue;
            tolerance = r.report->aim->tolerance;
            if (r.report->aim->within)
                ++within;
            else
                missed.push_back(r.c.id);
        }
        v += "; aimed: " + std::to_string(within) + " of " + std::to_string(complete) + " complete within " +
             fixed(tolerance, 2) + "°";
        for (size_t i = 0; i < missed.size(); ++i)
            v += (i ? ", " : " (not: ") + missed[i] + (i + 1 == missed.size() ? ")" : "");
    }
    if (!failed.empty()) {
        v += "; not complete: ";
        for (size_t i = 0; i < failed.size(); ++i)
            v += (i ? ", " : "") + failed[i];
    }
    return v;
}

int reportResults(const std::vector<CaseResult>& results, const std::string& outDir, std::ostream& out) {
    const std::string csvPath = (fs::path(outDir) / "results.csv").string();
    const std::string mdPath = (fs::path(outDir) / "results.md").string();
    const std::string line = verdict(results);
    host::writeFileWhole(csvPath, resultsCsv(results), "results", outDir);
    host::writeFileWhole(mdPath, resultsMarkdown(results) + "\n" + line + "\n", "results table", outDir);
    out << resultsMarkdown(results) << '\n' << line << '\n' << "results: " << csvPath << ", " << mdPath << '\n';
    for (const CaseResult& r : results)
        if (!r.report || r.report->outcome != Outcome::Complete || aimMissed(r))
            return 3;
    return 0;
}

void claimMatrixFolder(const std::string& outDir, const std::vector<MatrixCase>& cases, bool replace) {
    const fs::path out(outDir);
    std::error_code ec;
    const bool hasPlan = fs::exists(fs::symlink_status(out / "cases.csv", ec));
    const bool hasResults = fs::exists(fs::symlink_status(out / "results.csv", ec)) ||
                            fs::exists(fs::symlink_status(out / "results.md", ec));
    std::string plan;
    if (hasPlan && host::readInputFile((out / "cases.csv").string(), plan) && plan == casesCsv(cases))
        return;  // this matrix, run again
    if (!hasPlan && !hasResults)
        return;
    if (!replace)
        throw MissionError(outDir + " holds the results of another matrix (" +
                           (hasPlan ? "its cases.csv lists other cases" : "results without a cases.csv") +
                           "); give --replace to replace them, or another --out");
    // Its case folders go too, so that none passes for this matrix's.
    std::vector<MatrixCase> old;
    try {
        if (!plan.empty())
            old = parseCasesCsv(plan, (out / "cases.csv").string());
    } catch (const std::exception&) {
    }
    for (const MatrixCase& c : old)
        if (c.id == caseId(c.mission) && fs::path(c.id).filename() == fs::path(c.id))
            fs::remove_all(caseDir(outDir, c), ec);
    for (const char* file : {"results.csv", "results.md", "cases.csv", "matrix.log"}) {
        const std::string path = (out / file).string();
        host::checkOutput(path, "matrix's file", outDir);
        fs::remove(path, ec);
    }
}

int availableCores() {
    cpu_set_t set;
    CPU_ZERO(&set);
    if (sched_getaffinity(0, sizeof set, &set) == 0 && CPU_COUNT(&set) > 0)
        return CPU_COUNT(&set);
    const unsigned n = std::thread::hardware_concurrency();
    return n > 0 ? static_cast<int>(n) : 1;
}

namespace {

volatile std::sig_atomic_t interrupted = 0;

void onInterrupt(int) {
    interrupted = 1;
}

// SIGINT and SIGTERM set the flag (and cut a sleep short) while a matrix runs.
class InterruptGuard {
public:
    InterruptGuard() {
        interrupted = 0;
        struct sigaction sa {};
        sa.sa_handler = onInterrupt;
        sigemptyset(&sa.sa_mask);
        sa.sa_flags = 0;
        sigaction(SIGINT, &sa, &oldInt_);
        sigaction(SIGTERM, &sa, &oldTerm_);
    }
    ~InterruptGuard() {
        sigaction(SIGINT, &oldInt_, nullptr);
        sigaction(SIGTERM, &oldTerm_, nullptr);
    }

private:
    struct sigaction oldInt_ {}, oldTerm_ {};
};

// A case's fly, its stdout and stderr read through pipes as it runs, to be
// written into its folder (fly.json, fly.err) as every output is once it
// has ended.
struct Flight {
    size_t index = 0;
    int out = -1, err = -1;  // the pipes' reading ends; -1 once closed
    int exited = -1;         // readable once the process has ended (a pidfd); -1 where there is none
    std::string outText, errText;
};

// The child's messages are kept up to this much each (a flight writes a
// few kilobytes); beyond it they are read and dropped.
constexpr size_t kLongestCapture = size_t{16} << 20;

// Reads what a pipe holds now; closes it at its end.
void drain(int& fd, std::string& text) {
    char buffer[65536];
    while (fd >= 0) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n > 0) {
            const size_t room = kLongestCapture - std::min(kLongestCapture, text.size());
            text.append(buffer, std::min(static_cast<size_t>(n), room));
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return;
        ::close(fd);
        fd = -1;
    }
}

void closePipes(Flight& f) {
    for (int* fd : {&f.out, &f.err, &f.exited})
        if (*fd >= 0) {
            ::close(*fd);
            *fd = -1;
        }
}

// Starts the case's fly, its stdout and stderr into pipes. The child goes
// when the matrix goes, whatever ends it.
pid_t startCase(const std::vector<std::string>& args, Flight& flight) {
    std::vector<char*> argv;
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    int out[2], err[2];
    if (::pipe2(out, O_CLOEXEC) != 0)
        return -1;
    if (::pipe2(err, O_CLOEXEC) != 0) {
        ::close(out[0]);
        ::close(out[1]);
        return -1;
    }
    const pid_t parent = ::getpid();
    const pid_t pid = ::fork();
    if (pid != 0) {
        ::close(out[1]);
        ::close(err[1]);
        if (pid < 0) {
            ::close(out[0]);
            ::close(err[0]);
            return pid;
        }
        ::fcntl(out[0], F_SETFL, O_NONBLOCK);
        ::fcntl(err[0], F_SETFL, O_NONBLOCK);
        flight.out = out[0];
        flight.err = err[0];
        // Woken the moment the flight ends, not at the next look 50 ms on, so
        // the next one starts at once (a kernel without pidfds: the looks).
        flight.exited = static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
        return pid;
    }
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (::getppid() != parent)
        ::_exit(127);
    // The matrix handles interrupts for its children; they start with the default handling.
    ::signal(SIGINT, SIG_DFL);
    ::signal(SIGTERM, SIG_DFL);
    const int in = ::open("/dev/null", O_RDONLY);
    if (in < 0)
        ::_exit(127);
    ::dup2(out[1], STDOUT_FILENO);
    ::dup2(err[1], STDERR_FILENO);
    ::dup2(in, STDIN_FILENO);
    ::execv(argv[0], argv.data());
    const char* problem = "tarvik-sim: matrix: cannot start the flight\n";
    (void)!::write(STDERR_FILENO, problem, std::strlen(problem));
    ::_exit(127);
}

// matrix.log, written whole again at every line, so that it can be read
// while the matrix runs and never shows a part of a line.
class MatrixLog {
public:
    MatrixLog(std::string path, std::string within) : path_(std::move(path)), within_(std::move(within)) {}
    void add(const std::string& line) {
        text_ += line + "\n";
        host::writeFileWhole(path_, text_, "matrix log", within_);
    }

private:
    std::string path_, within_, text_;
};

std::string secondsText(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6f", seconds);
    return text;
}

}  // namespace

int runMatrix(const std::vector<MatrixCase>& cases, const RunOptions& o, std::ostream& out, std::ostream& err) {
    std::error_code ec;
    host::createFolders((fs::path(o.outDir) / "cases").string(), o.outDir);
    host::writeFileWhole((fs::path(o.outDir) / "cases.csv").string(), casesCsv(cases), "list of cases", o.outDir);
    MatrixLog log((fs::path(o.outDir) / "matrix.log").string(), o.outDir);

    // No result of an earlier run may pass for this one's; what is not a
    // file of a case is refused before anything flies, never removed.
    for (const MatrixCase& c : cases) {
        host::createFolders(caseDir(o.outDir, c), o.outDir);
        for (const char* file : {"report.json", "fly.json", "fly.err"}) {
            const std::string path = (fs::path(caseDir(o.outDir, c)) / file).string();
            host::checkOutput(path, "flight's file", o.outDir);
            fs::remove(path, ec);
        }
    }
    // A flight's stdout and stderr go into its folder once it has ended.
    auto keep = [&](const MatrixCase& c, Flight& f) {
        drain(f.out, f.outText);
        drain(f.err, f.errText);
        closePipes(f);
        host::writeFileWhole((fs::path(caseDir(o.outDir, c)) / "fly.json").string(), f.outText, "flight's report",
                             o.outDir);
        host::writeFileWhole((fs::path(caseDir(o.outDir, c)) / "fly.err").string(), f.errText, "flight's messages",
                             o.outDir);
    };

    InterruptGuard guard;
    const auto start = std::chrono::steady_clock::now();
    auto elapsed = [&] { return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(); };
    std::map<pid_t, Flight> running;
    std::vector<bool> finished(cases.size(), false);
    size_t next = 0, done = 0, failedCount = 0;
    auto lastProgress = std::chrono::steady_clock::now() - std::chrono::seconds(10);

    auto showProgress = [&](bool force) {
        if (!o.progress)
            return;
        const auto now = std::chrono::steady_clock::now();
        if (!force && now - lastProgress < std::chrono::milliseconds(500))
            return;
        lastProgress = now;
        std::string line = "matrix: " + std::to_string(done) + "/" + std::to_string(cases.size()) + " done, " +
                           std::to_string(failedCount) + " not complete, " + std::to_string(running.size()) +
                           " running, " + clockText(elapsed()) + " elapsed";
        if (done > 0 && done < cases.size())
            line += ", about " + clockText(elapsed() / static_cast<double>(done) * (cases.size() - done)) + " left";
        line.resize(std::max<size_t>(line.size(), 100), ' ');
        err << '\r' << line << std::flush;
    };

    // Reads what the flights wrote, waiting at most `ms` for something to come.
    auto listen = [&](int ms) {
        std::vector<pollfd> fds;
        for (const auto& [pid, f] : running)
            for (int fd : {f.out, f.err, f.exited})
                if (fd >= 0)
                    fds.push_back({fd, POLLIN, 0});
        if (fds.empty()) {
            ::usleep(static_cast<useconds_t>(ms) * 1000);  // an interrupt cuts it short
            return;
        }
        if (::poll(fds.data(), fds.size(), ms) <= 0)
            return;
        for (auto& [pid, f] : running) {
            drain(f.out, f.outText);
            drain(f.err, f.errText);
        }
    };

    while (!interrupted && (next < cases.size() || !running.empty())) {
        while (!interrupted && next < cases.size() && static_cast<int>(running.size()) < o.jobs) {
            const MatrixCase& c = cases[next];
            Flight f;
            f.index = next;
            const pid_t pid = startCase(flyArguments(o.exe, c, o.outDir, o.settings), f);
            if (pid < 0)
                throw std::runtime_error("cannot start a process: " + std::string(std::strerror(errno)));
            log.add(secondsText(elapsed()) + " start " + c.id + " pid " + std::to_string(pid));
            running[pid] = std::move(f);
            ++next;
        }
        int status = 0;
        const pid_t pid = ::waitpid(-1, &status, WNOHANG);
        if (pid > 0 && running.count(pid)) {
            Flight f = std::move(running[pid]);
            running.erase(pid);
            const size_t i = f.index;
            keep(cases[i], f);
            finished[i] = true;
            ++done;
            const bool complete = WIFEXITED(status) && WEXITSTATUS(status) == 0;
            if (!complete)
                ++failedCount;
            log.add(secondsText(elapsed()) + " end " + cases[i].id + " pid " + std::to_string(pid) + " status " +
                    std::to_string(WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status)));
            showProgress(true);
            continue;
        }
        showProgress(false);
        listen(50);
    }

    if (interrupted) {
        // Every child still running goes, and is waited for: none is left
        // behind. Each ends its flight with its outputs written as far as it
        // got, and what it said is kept in its folder.
        for (const auto& [pid, f] : running)
            ::kill(pid, SIGTERM);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!running.empty()) {
            int status = 0;
            const pid_t pid = ::waitpid(-1, &status, WNOHANG);
            if (pid > 0 && running.count(pid)) {
                Flight& f = running[pid];
                keep(cases[f.index], f);
                log.add(secondsText(elapsed()) + " stopped " + cases[f.index].id + " pid " + std::to_string(pid));
                running.erase(pid);
                continue;
            }
            if (pid < 0 && errno == ECHILD)
                break;
            if (std::chrono::steady_clock::now() > deadline)
                for (const auto& [p, f] : running)
                    ::kill(p, SIGKILL);
            listen(20);
        }
    }
    if (o.progress)
        err << '\r' << std::string(100, ' ') << '\r' << std::flush;

    std::vector<MatrixCase> kept;
    for (size_t i = 0; i < cases.size(); ++i)
        if (finished[i])
            kept.push_back(cases[i]);
    const double wall = elapsed();
    const int status = reportResults(collectResults(interrupted ? kept : cases, o.outDir), o.outDir, out);
    char timing[160];
    std::snprintf(timing, sizeof timing, "%zu cases in %.1f s of wall time with %d at a time: %.3f cases per second",
                  done, wall, o.jobs, wall > 0 ? done / wall : 0.0);
    out << timing << '\n';
    log.add(timing);
    if (interrupted) {
        err << "tarvik-sim: matrix: interrupted after " << done << " of " << cases.size()
            << " cases; the table holds those\n";
        return 130;
    }
    return status;
}

namespace {
bool interruptNoted() {
    return interrupted != 0;
}
}  // namespace

// The flights running, each with the folder its stdout and stderr go into.
struct FlightProcesses::State {
    InterruptGuard guard;
    struct Running {
        Flight flight;
        std::string dir;
    };
    std::map<pid_t, Running> running;

    // What a flight said, into its folder once it has ended.
    static void keep(Running& r) {
        drain(r.flight.out, r.flight.outText);
        drain(r.flight.err, r.flight.errText);
        closePipes(r.flight);
        host::writeFileWhole((fs::path(r.dir) / "fly.json").string(), r.flight.outText, "flight's report", r.dir);
        host::writeFileWhole((fs::path(r.dir) / "fly.err").string(), r.flight.errText, "flight's messages", r.dir);
    }
};

FlightProcesses::FlightProcesses() : state_(std::make_unique<State>()) {}

FlightProcesses::~FlightProcesses() {
    stopAll();
}

int FlightProcesses::start(const std::vector<std::string>& args, const std::string& dir) {
    State::Running r;
    r.dir = dir;
    const pid_t pid = startCase(args, r.flight);
    if (pid < 0)
        throw std::runtime_error("cannot start a process: " + std::string(std::strerror(errno)));
    state_->running[pid] = std::move(r);
    return pid;
}

std::optional<std::pair<int, int>> FlightProcesses::ended() {
    int status = 0;
    const pid_t pid = ::waitpid(-1, &status, WNOHANG);
    if (pid > 0 && state_->running.count(pid)) {
        State::keep(state_->running[pid]);
        state_->running.erase(pid);
        return std::make_pair(static_cast<int>(pid), WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status));
    }
    // Read what the flights say meanwhile, so that none blocks on a full pipe.
    std::vector<pollfd> fds;
    for (const auto& [p, r] : state_->running)
        for (int fd : {r.flight.out, r.flight.err, r.flight.exited})
            if (fd >= 0)
                fds.push_back({fd, POLLIN, 0});
    if (fds.empty() || ::poll(fds.data(), fds.size(), 50) <= 0) {
        if (fds.empty())
            ::usleep(50000);  // an interrupt cuts it short
        return std::nullopt;
    }
    for (auto& [p, r] : state_->running) {
        drain(r.flight.out, r.flight.outText);
        drain(r.flight.err, r.flight.errText);
    }
    return std::nullopt;
}

bool FlightProcesses::interrupted() const {
    return interruptNoted();
}

size_t FlightProcesses::running() const {
    return state_->running.size();
}

void FlightProcesses::stopAll() {
    for (const auto& [pid, r] : state_->running)
        ::kill(pid, SIGTERM);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!state_->running.empty()) {
        int status = 0;
        const pid_t pid = ::waitpid(-1, &status, WNOHANG);
        if (pid > 0 && state_->running.count(pid)) {
            try {
                State::keep(state_->running[pid]);
            } catch (const std::exception&) {
            }
            state_->running.erase(pid);
            continue;
        }
        if (pid < 0 && errno == ECHILD)
            break;
        if (std::chrono::steady_clock::now() > deadline)
            for (const auto& [p, r] : state_->running)
                ::kill(p, SIGKILL);
        ::usleep(20000);
    }
    for (auto& [pid, r] : state_->running)
        closePipes(r.flight);
    state_->running.clear();
}

}  // namespace tarviksim
