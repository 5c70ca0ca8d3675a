#include "Missions.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "sim/InputText.h"
#include "sim/NumberText.h"

namespace fs = std::filesystem;

namespace tarviksim {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kNoCeiling = 1e300;
constexpr size_t kInclinationFieldChars = 5;  // the dialog reads no more of its inclination field

std::string lower(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

bool sameName(const std::string& a, const std::string& b) {
    return lower(a) == lower(b);
}

std::string fixed(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

// The reachable value nearest to a bound that the inclination field holds
// whole, as a pilot types it: rounded up for the lowest, down for the highest.
std::string typedBound(double bound, bool up) {
    const int decimals = bound >= 100 ? 1 : bound >= 10 ? 2 : 3;
    const double scale = std::pow(10.0, decimals);
    return fixed((up ? std::ceil(bound * scale) : std::floor(bound * scale)) / scale, decimals);
}

std::string joined(const std::vector<std::string>& names) {
    std::string s;
    for (const std::string& n : names)
        s += (s.empty() ? "" : ", ") + n;
    return s;
}

std::string firstWord(const std::string& line) {
    std::istringstream in(line);
    std::string word;
    in >> word;
    return word;
}

// The lines of the launcher's block in a scenario: from "NAME:class" to its
// END, as [first, last) indices; false when there is none.
bool launcherBlock(const std::vector<std::string>& lines, const std::string& launcher, size_t& first, size_t& last) {
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string word = firstWord(lines[i]);
        if (word.size() > launcher.size() && word.compare(0, launcher.size() + 1, launcher + ":") == 0) {
            first = i + 1;
            for (last = first; last < lines.size() && firstWord(lines[last]) != "END"; ++last)
                ;
            return last < lines.size();
        }
    }
    return false;
}

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

// The value after a key in the launcher's block, or "".
std::string blockValue(const std::string& scenarioText, const std::string& launcher, const std::string& key) {
    const std::vector<std::string> lines = splitLines(scenarioText);
    size_t first = 0, last = 0;
    if (!launcherBlock(lines, launcher, first, last))
        return "";
    for (size_t i = first; i < last; ++i) {
        std::istringstream in(lines[i]);
        std::string word, value;
        if (in >> word >> value && sameName(word, key))
            return value;
    }
    return "";
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace

const std::vector<LauncherInfo>& mediumLaunchers() {
    // The ceilings are the autopilot's: the highest circularisation band of
    // each build's table ends there (TarvikM54 has a single rule for all).
    // The pitch tables of every build but TarvikM4 have a class for any mass.
    static const std::vector<LauncherInfo> list = {
        {"TarvikM4", 1049, 3000},
        {"TarvikM42", 1049, kNoCeiling},
        {"TarvikM52", 1050, kNoCeiling},
        {"TarvikM54", kNoCeiling, kNoCeiling},
    };
    return list;
}

const std::vector<std::string>& padNames() {
    static const std::vector<std::string> list = {"LC37B", "LC6"};
    return list;
}

const LauncherInfo* findLauncher(const std::string& name) {
    for (const LauncherInfo& l : mediumLaunchers())
        if (sameName(name, l.name))
            return &l;
    return nullptr;
}

std::string padInScenario(const std::string& scenarioText) {
    const std::vector<std::string> lines = splitLines(scenarioText);
    std::string found;
    for (const std::string& pad : padNames()) {
        size_t first = 0, last = 0;
        if (launcherBlock(lines, pad, first, last)) {
            if (!found.empty())
                return "";
            found = pad;
        }
    }
    return found;
}

const std::vector<PayloadInfo>& payloadChoices() {
    // As the configuration dialog offers them: a payload too large for a
    // launcher's fairing flies on it without one.
    static const std::vector<std::string> fourMetre = {"TarvikM4", "TarvikM42"};
    static const std::vector<std::string> medium = {"TarvikM4", "TarvikM42", "TarvikM52", "TarvikM54"};
    static const std::vector<PayloadInfo> list = {
        {"Carina", "carina", "carina", 6000, 0.6663311, true, {}},
        {"ShuttlePB", "ShuttlePB", "ShuttlePB", 1250, 3, true, {}},
        {"MPLM", "Mplm", "mplm", 1800, 3.28, true, fourMetre},
        {"MMU", "vessels/nasa_mmu", "mmu", 211.7, 0.6178813, true, {}},
        {"DeltaGlider", "vessels/Deltaglider", "DG/Deltaglider", 24500, 8.04, false, medium},
        {"LDEF", "vessels/LDEF", "LDEF", 2550, 5.625667, true, medium},
        {"SAT1", "tarvik/sat1", "Tarvik/sat1", 4500, 3.985958, true, fourMetre},
        {"SAT2", "tarvik/sat2", "Tarvik/sat2", 13000, 6.512422, true, medium},
        {"SAT3", "tarvik/sat3", "tarvik/sat3", 3000, 2, true, {}},
    };
    return list;
}

bool Payload::fairingOn(const std::string& launcher) const {
    if (!fairing)
        return false;
    for (const std::string& l : tooLargeFor)
        if (sameName(l, launcher))
            return false;
    return true;
}

Payload parsePayload(const std::string& text) {
    Payload p;
    if (text.empty())
        return p;
    p.given = true;
    for (const PayloadInfo& c : payloadChoices())
        if (sameName(text, c.name)) {
            p.name = c.name;
            p.className = c.className;
            p.mesh = c.mesh;
            p.massKg = c.massKg;
            p.zOffset = c.zOffset;
            p.fairing = c.fairing;
            p.tooLargeFor = c.tooLargeFor;
            return p;
        }
    double mass = 0;
    if (host::parseNumber(text, mass) && mass > 0) {
        p.massKg = mass;
        return p;
    }
    std::vector<std::string> names;
    for (const PayloadInfo& c : payloadChoices())
        names.push_back(c.name);
    throw MissionError("unknown payload " + host::quote(text) + ": a name (" + joined(names) + ") or a mass in kg above 0");
}

bool parseNode(const std::string& text) {
    if (sameName(text, "ascending"))
        return false;
    if (sameName(text, "descending"))
        return true;
    throw MissionError("node " + host::quote(text) + " is not ascending or descending");
}

std::string fieldText(double value) {
    return host::numberText(value);
}

std::string padScenarioPath(const std::string& dataDir, const std::string& launcher, const std::string& pad) {
    return (fs::path(dataDir) / "Scenarios" / (launcher + "-" + pad + ".scn")).string();
}

double launcherLatitude(const std::string& scenarioText, const std::string& launcher) {
    const std::vector<std::string> lines = splitLines(scenarioText);
    size_t first = 0, last = 0;
    if (!launcherBlock(lines, launcher, first, last))
        throw MissionError("the scenario has no vessel " + launcher);
    for (size_t i = first; i < last; ++i) {
        std::istringstream in(lines[i]);
        std::string word, longitude, latitude;
        double value = 0;
        if (in >> word && word == "POS" && in >> longitude >> latitude && host::parseNumber(latitude, value))
            return value;
    }
    throw MissionError("the scenario gives no position for " + launcher);
}

std::string withPayload(const std::string& scenarioText, const std::string& launcher, const Payload& payload) {
    if (!payload.given)
        return scenarioText;
    std::vector<std::string> lines = splitLines(scenarioText);
    size_t first = 0, last = 0;
    if (!launcherBlock(lines, launcher, first, last))
        throw MissionError("the scenario has no vessel " + launcher);

    std::vector<std::pair<std::string, std::string>> items;
    if (!payload.className.empty()) {
        items.emplace_back("PAYLOAD", payload.className);
        items.emplace_back("MESH", payload.mesh);
        items.emplace_back("Z_OFFSET", host::numberText(payload.zOffset));
    }
    items.emplace_back("PLDWEIGHT", host::numberText(payload.massKg));
    if (!payload.className.empty())
        items.emplace_back("Fairing_attached", payload.fairingOn(launcher) ? "1" : "0");

    for (const auto& [key, value] : items) {
        bool found = false;
        for (size_t i = first; i < last; ++i)
            if (sameName(firstWord(lines[i]), key)) {
                lines[i] = "  " + key + " " + value;
                found = true;
            }
        if (!found) {
            lines.insert(lines.begin() + static_cast<long>(last), "  " + key + " " + value);
            ++last;
        }
    }
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    return text;
}

CheckedMission checkMission(const Mission& m, const std::string& dataDir) {
    CheckedMission c;
    c.mission = m;

    std::vector<std::string> names;
    const LauncherInfo* launcher = nullptr;
    for (const LauncherInfo& l : mediumLaunchers()) {
        names.push_back(l.name);
        if (sameName(m.launcher, l.name))
            launcher = &l;
    }
    if (!launcher)
        throw MissionError("unknown launcher " + host::quote(m.launcher) + " (" + joined(names) + ")");
    c.mission.launcher = launcher->name;

    const std::string* pad = nullptr;
    for (const std::string& p : padNames())
        if (sameName(m.pad, p))
            pad = &p;
    if (!pad)
        throw MissionError("unknown pad " + host::quote(m.pad) + " (" + joined(padNames()) + ")");
    c.mission.pad = *pad;

    if (!std::isfinite(m.altitudeKm) || !(m.altitudeKm > 0))
        throw MissionError("altitude " + fieldText(m.altitudeKm) + " km is not above 0");
    if (!(m.altitudeKm < launcher->ceilingKm))
        throw MissionError("the " + c.mission.launcher + " autopilot has no rule for " + fieldText(m.altitudeKm) +
                           " km: its targets are below " + fieldText(launcher->ceilingKm) + " km");
    if (!std::isfinite(m.inclinationDeg) || m.inclinationDeg < 0 || m.inclinationDeg > 180)
        throw MissionError("inclination " + fieldText(m.inclinationDeg) + " is not from 0 to 180 degrees");
    if (fieldText(m.inclinationDeg).size() > kInclinationFieldChars)
        throw MissionError("inclination " + fieldText(m.inclinationDeg) +
                           " has more digits than the autopilot reads (5 characters, e.g. 51.65 or 98.7)");
    if (m.correctionDeg && !std::isfinite(*m.correctionDeg))
        throw MissionError("the correction is not a number of degrees");

    c.scenarioPath = m.scenario.empty() ? padScenarioPath(dataDir, c.mission.launcher, c.mission.pad) : m.scenario;
    std::error_code ec;
    if (!fs::is_regular_file(c.scenarioPath, ec))
        throw MissionError((m.scenario.empty() ? "no pad scenario " : "no scenario ") + c.scenarioPath);
    const std::string text = readFile(c.scenarioPath);
    c.padLatitudeDeg = launcherLatitude(text, c.mission.launcher);

    // The autopilot's own test: the orbit's plane must pass over the pad.
    const double latitude = c.padLatitudeDeg;
    if (std::fabs(std::cos(m.inclinationDeg * kPi / 180)) > std::cos(latitude * kPi / 180)) {
        throw MissionError("inclination " + fieldText(m.inclinationDeg) + " is out of reach from " + c.mission.pad +
                           " at latitude " + fixed(latitude, 2) + ": the autopilot flies from " +
                           typedBound(std::fabs(latitude), true) + " to " +
                           typedBound(180 - std::fabs(latitude), false) + " degrees");
    }

    c.payload = parsePayload(m.payload);
    c.scenarioText = withPayload(text, c.mission.launcher, c.payload);
    if (c.payload.className.empty()) {
        c.payload.className = blockValue(c.scenarioText, c.mission.launcher, "PAYLOAD");
        c.payload.mesh = blockValue(c.scenarioText, c.mission.launcher, "MESH");
    }
    if (!c.payload.given) {
        double mass = 0;
        host::parseNumber(blockValue(c.scenarioText, c.mission.launcher, "PLDWEIGHT"), mass);
        c.payload.massKg = mass;
        for (const PayloadInfo& p : payloadChoices())
            if (sameName(c.payload.className, p.className))
                c.payload.name = p.name;
    }
    return c;
}

std::string describe(const CheckedMission& c) {
    const Mission& m = c.mission;
    std::string s = m.launcher + " from " + m.pad + " to " + fieldText(m.altitudeKm) + " km at " +
                    fieldText(m.inclinationDeg) + " deg, " + (m.descending ? "descending" : "ascending") +
                    " node, payload ";
    s += c.payload.name.empty() ? c.payload.className : c.payload.name;
    s += " (" + fieldText(c.payload.massKg) + " kg";
    if (c.payload.given && !c.payload.className.empty() && !c.payload.fairingOn(m.launcher))
        s += ", no fairing";
    s += ")";
    if (m.correctionDeg)
        s += ", correction " + fieldText(*m.correctionDeg) + " deg";
    return s;
}

}  // namespace tarviksim
