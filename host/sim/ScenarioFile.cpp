// Scenario files in the simulator's block form: description, environment
// (date), focus, and one block per vessel, "name:class" ... "END", between
// BEGIN_SHIPS and END_SHIPS. Unknown sections are skipped; anything else that
// does not read is an InputError with the file and line.
#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <sstream>

#include "FileIO.h"
#include "InputText.h"
#include "NumberText.h"
#include "ScenarioLines.h"
#include "SimulationImpl.h"
#include "VesselAccess.h"
#include "physics/Physics.h"

namespace host {

namespace {

// Dates and flight times the clock can count in: far beyond them a step no
// longer moves the date.
constexpr double maxMjd = 1e6;       // about the year 4600
constexpr double maxElapsed = 1e12;  // [s]

struct VesselBlock {
    std::string name, className;
    int line = 0;
    int propellantLine = 0, thrusterLine = 0;  // of the PRPLEVEL and THLEVEL lines
    bool hasPosition = false;                  // an RPOS line
    ScenarioVesselLines hostLines;
    std::vector<std::string> moduleLines;
    std::vector<int> moduleLineNumbers;  // where each of them stands in the file
};

struct ScenarioContent {
    std::vector<std::string> description;
    bool hasDate = false;
    double mjd = 0;
    double elapsed = 0;  // flight time before this scenario was saved
    std::string focus;
    int focusLine = 0;
    std::vector<VesselBlock> vessels;
};

std::string stripRight(std::string s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back())))
        s.pop_back();
    return s;
}

std::string stripLeft(const std::string& s) {
    size_t b = 0;
    while (b < s.size() && std::isspace(static_cast<unsigned char>(s[b])))
        ++b;
    return s.substr(b);
}

bool hasBlank(const std::string& s) {
    for (char c : s)
        if (std::isspace(static_cast<unsigned char>(c)))
            return true;
    return false;
}

class ScenarioParser {
public:
    ScenarioParser(std::string path, std::vector<std::string> lines)
        : path_(std::move(path)), lines_(std::move(lines)) {}

    ScenarioContent parse() {
        ScenarioContent c;
        while (next()) {
            if (text_.empty())
                continue;
            if (text_ == "BEGIN_DESC")
                c.description = section("END_DESC", true);
            else if (text_ == "BEGIN_ENVIRONMENT")
                environment(c);
            else if (text_ == "BEGIN_FOCUS")
                focus(c);
            else if (text_ == "BEGIN_SHIPS")
                ships(c);
            else if (text_.rfind("BEGIN_", 0) == 0 && !hasBlank(text_))
                section("END_" + text_.substr(6), false);  // a section this host has no use for
            else
                fail("unexpected line " + quote(text_) + " outside any section");
        }
        return c;
    }

private:
    bool next() {
        if (index_ >= lines_.size())
            return false;
        raw_ = stripRight(lines_[index_++]);
        text_ = stripLeft(raw_);
        return true;
    }
    int lineNo() const { return static_cast<int>(index_); }
    [[noreturn]] void fail(const std::string& problem, int line = 0) const {
        throw InputError(path_, line ? line : lineNo(), problem);
    }

    std::vector<std::string> section(const std::string& end, bool keepText) {
        const int start = lineNo();
        std::vector<std::string> body;
        while (next()) {
            if (text_ == end)
                return body;
            if (keepText)
                body.push_back(raw_);
        }
        fail("section not closed by " + end, start);
    }

    void environment(ScenarioContent& c) {
        const int start = lineNo();
        while (next()) {
            if (text_ == "END_ENVIRONMENT")
                return;
            std::istringstream in(text_);
            std::string key, kind, value, extra;
            in >> key;
            if (key == "Elapsed") {
                in >> value;
                if (!parseNumber(value, c.elapsed) || c.elapsed < 0 || c.elapsed > maxElapsed || (in >> extra))
                    fail("bad elapsed time " + quote(value) + " (0 to " + numberText(maxElapsed) + " s)");
                continue;
            }
            if (key != "Date")
                continue;  // "System Sol" and the like
            in >> kind >> value;
            if (kind != "MJD")
                fail("the date must be given as 'Date MJD <number>'");
            if (!parseNumber(value, c.mjd) || std::fabs(c.mjd) > maxMjd || (in >> extra))
                fail("bad date " + quote(value) + " (an MJD from -" + numberText(maxMjd) + " to " + numberText(maxMjd) +
                     ")");
            c.hasDate = true;
        }
        fail("section not closed by END_ENVIRONMENT", start);
    }

    void focus(ScenarioContent& c) {
        const int start = lineNo();
        while (next()) {
            if (text_ == "END_FOCUS")
                return;
            std::istringstream in(text_);
            std::string key, name;
            in >> key >> name;
            if (key == "Ship") {
                if (name.empty())
                    fail("'Ship' needs a vessel name");
                c.focus = name;
                c.focusLine = lineNo();
            }
        }
        fail("section not closed by END_FOCUS", start);
    }

    void ships(ScenarioContent& c) {
        const int start = lineNo();
        while (next()) {
            if (text_.empty())
                continue;
            if (text_ == "END_SHIPS")
                return;
            c.vessels.push_back(vessel());
        }
        fail("section not closed by END_SHIPS", start);
    }

    VesselBlock vessel() {
        VesselBlock b;
        b.line = lineNo();
        const size_t colon = text_.find(':');
        if (colon == std::string::npos)
            fail("vessel header " + quote(text_) + " is not NAME:CLASS");
        b.name = stripRight(text_.substr(0, colon));
        b.className = stripLeft(text_.substr(colon + 1));
        if (b.name.empty() || b.className.empty() || hasBlank(b.name) || hasBlank(b.className))
            fail("vessel header " + quote(text_) + " is not NAME:CLASS");
        // Scenario files are ASCII text; so are the names the summary and the
        // event log carry on.
        if (!isPlainWord(b.name))
            fail("vessel name " + quote(b.name) + " is not printable ASCII");
        if (!isPlainWord(b.className))
            fail("class " + quote(b.className) + " is not printable ASCII");
        while (next()) {
            if (text_ == "END") {
                // Without its position a vessel in free flight would sit at the Earth's centre.
                if (!b.hostLines.landed && !b.hasPosition)
                    fail("vessel " + quote(b.name) + " is in free flight but has no RPOS", b.line);
                return b;
            }
            if (text_ == "END_SHIPS")
                fail("vessel block of " + b.name + " not closed by END", b.line);
            if (text_.empty())
                continue;
            std::string problem;
            switch (parseHostLine(text_, b.hostLines, problem)) {
                case HostLine::Taken:
                    if (equalsNoCase(text_.substr(0, 4), "RPOS"))
                        b.hasPosition = true;
                    else if (equalsNoCase(text_.substr(0, 8), "PRPLEVEL"))
                        b.propellantLine = lineNo();
                    else if (equalsNoCase(text_.substr(0, 7), "THLEVEL"))
                        b.thrusterLine = lineNo();
                    break;
                case HostLine::Bad:
                    fail(problem);
                case HostLine::NotHost:
                    b.moduleLines.push_back(text_);
                    b.moduleLineNumbers.push_back(lineNo());
                    break;
            }
        }
        fail("vessel block of " + b.name + " not closed by END", b.line);
    }

    std::string path_;
    std::vector<std::string> lines_;
    size_t index_ = 0;
    std::string raw_, text_;
};

// A level for a tank or thruster a passive vessel does not have is a mistake
// in the file. A module builds its own tanks and thrusters, and may build
// fewer for a scenario an older version of it wrote: levels it has no tank or
// thruster for are left out, as the simulator does.
void checkLevelIndices(const std::string& path, const VesselBlock& b, const VesselData& v, size_t tanksBuilt,
                       size_t thrustersBuilt) {
    if (v.module)
        return;
    auto check = [&](const std::vector<std::pair<int, double>>& levels, size_t count, int line, const char* key,
                     const char* what) {
        for (const auto& level : levels)
            if (static_cast<size_t>(level.first) >= count)
                throw InputError(path, line,
                                 std::string(key) + ": " + b.name + " has no " + what + " " +
                                     std::to_string(level.first) + " (it has " + std::to_string(count) + ")");
    };
    check(b.hostLines.propellantLevels, std::max(tanksBuilt, v.propellants.size()), b.propellantLine, "PRPLEVEL",
          "tank");
    check(b.hostLines.thrusterLevels, std::max(thrustersBuilt, v.thrusters.size()), b.thrusterLine, "THLEVEL",
          "thruster");
}

}  // namespace

void Simulation::loadScenario(const std::string& path) {
    Impl& s = *impl_;
    std::istringstream in(readTextFile(path, "scenario"));
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        // A module reads its lines as C strings: past a NUL byte it would see
        // another line than the host does.
        if (line.find('\0') != std::string::npos)
            throw InputError(path, static_cast<int>(lines.size()) + 1, quote(line) + " holds a NUL byte");
        lines.push_back(line);
    }
    const ScenarioContent c = ScenarioParser(path, std::move(lines)).parse();
    if (c.vessels.empty())
        throw InputError(path, 0, "no vessels");

    // Everything this load adds goes again if a later part of it fails.
    std::vector<VesselData*> added;
    try {
        s.simt = 0;
        s.elapsedBefore = c.elapsed;
        if (c.hasDate)
            s.mjd0 = c.mjd;
        for (const VesselBlock& b : c.vessels) {
            if (s.vesselNamed(b.name))
                throw InputError(path, b.line, "a vessel named " + quote(b.name) + " exists already");
            VesselData* v = nullptr;
            const size_t eventIndex = s.events.size();
            try {
                v = s.instantiate(b.name, b.className);
            } catch (const InputError& e) {
                throw InputError(path, b.line, e.what());
            }
            added.push_back(v);
            s.events.insert(s.events.begin() + static_cast<long>(eventIndex),
                            Event{s.simt, "", "created " + b.name + " (" + b.className + ")"});

            ScenarioVesselLines hostLines = b.hostLines;
            ActorScope scope(s, v);
            applyHostLines(*v, hostLines, s.mjd());
            const size_t tanksBuilt = v->propellants.size(), thrustersBuilt = v->thrusters.size();

            auto file = std::make_unique<HostFile>(HostFile::Kind::ScenarioIn);
            file->lines = b.moduleLines;
            file->lineNumbers = b.moduleLineNumbers;
            file->source = path;
            HostFile* handle = file.get();
            s.files.push_back(std::move(file));
            s.loadingLines = &hostLines;
            s.loadingFile = handle;
            v->callbacks->clbkLoadStateEx(handle, &hostLines);
            s.loadingLines = nullptr;
            s.loadingFile = nullptr;
            std::erase_if(s.files, [&](const auto& f) { return f.get() == handle; });

            // The simulator applies the saved state once the module has read its
            // lines: what the module's set-ups did to the vessel meanwhile (a
            // centre-of-mass shift, engines lit, tanks filled) does not stand.
            // A module that rebuilt its tanks differently keeps its own levels.
            if (hostLines.changedByModule || v->propellants.size() == hostLines.propellantLevels.size())
                applyHostLines(*v, hostLines, s.mjd());
            else
                applyHostLines(*v, hostLines, s.mjd(), false);
            checkLevelIndices(path, b, *v, tanksBuilt, thrustersBuilt);
            v->callbacks->clbkPostCreation();
        }

        VesselData* focus = nullptr;
        if (!c.focus.empty()) {
            focus = s.vesselNamed(c.focus);
            if (!focus)
                throw InputError(path, c.focusLine, "focus vessel " + quote(c.focus) + " is not in the scenario");
            if (!focus->caps.focusEnabled)
                focus = nullptr;
        }
        if (!focus)
            focus = s.firstFocusable();
        if (focus)
            s.changeFocus(focus);
    } catch (...) {
        s.loadingLines = nullptr;
        s.loadingFile = nullptr;
        for (auto it = added.rbegin(); it != added.rend(); ++it)
            s.destroy(*it);
        throw;
    }
    s.description.clear();
    for (const auto& line : c.description)
        s.description += line + "\n";
}

std::string Simulation::scenarioText() {
    Impl& s = *impl_;
    std::string text = "BEGIN_DESC\n";
    text += s.description.empty() ? std::string("Saved by the Tarvik host\n") : s.description;
    text += "END_DESC\n\nBEGIN_ENVIRONMENT\n  System Sol\n  Date MJD " + numberText(s.mjd()) + "\n  Elapsed " +
            numberText(s.elapsedBefore + s.simt) + "\nEND_ENVIRONMENT\n\n";
    if (s.focus && !s.focus->pendingDelete)
        text += "BEGIN_FOCUS\n  Ship " + s.focus->name + "\nEND_FOCUS\n\n";
    text += "BEGIN_SHIPS\n";
    for (const auto& owned : s.vessels) {
        VesselData* v = &settled(*owned);
        if (v->pendingDelete)
            continue;
        text += v->name + ":" + v->className + "\n";
        writeHostLines(*v, s.mjd(), text);
        if (v->callbacks) {
            auto file = std::make_unique<HostFile>(HostFile::Kind::ScenarioOut);
            file->text = &text;
            HostFile* handle = file.get();
            s.files.push_back(std::move(file));
            ActorScope scope(s, v);
            v->callbacks->clbkSaveState(handle);
            const std::string notFinite = handle->notFinite;
            std::erase_if(s.files, [&](const auto& f) { return f.get() == handle; });
            if (!notFinite.empty())
                throw std::runtime_error("vessel " + quote(v->name) + ": its " + quote(notFinite) +
                                         " is not a finite number; the scenario cannot hold it");
        }
        text += "END\n";
    }
    text += "END_SHIPS\n";
    return text;
}

void Simulation::saveScenario(const std::string& path) {
    writeFileWhole(path, scenarioText(), "scenario");
}

}  // namespace host

// ---------------------------------------------------------------- module side

namespace {

HostFile* scenarioFile(FILEHANDLE scn, HostFile::Kind kind) {
    host::Simulation::Impl* s = host::currentSim();
    HostFile* file = s ? s->fileOf(scn) : nullptr;
    return file && file->kind == kind ? file : nullptr;
}

void writeLine(FILEHANDLE scn, const char* item, const std::string& value, bool finite = true) {
    HostFile* file = scenarioFile(scn, HostFile::Kind::ScenarioOut);
    if (!file || !item)
        return;
    if (!finite && file->notFinite.empty())
        file->notFinite = item;
    std::string line = std::string("  ") + item + " " + value;
    for (char& c : line)
        if (c == '\n' || c == '\r')
            c = ' ';  // one line per item, whatever the value holds
    *file->text += line + "\n";
}

}  // namespace

bool oapiReadScenario_nextline(FILEHANDLE scn, char*& line) {
    HostFile* file = scenarioFile(scn, HostFile::Kind::ScenarioIn);
    if (!file || file->next >= file->lines.size())
        return false;
    file->current = file->lines[file->next++];
    line = file->current.data();
    return true;
}

void oapiWriteScenario_string(FILEHANDLE scn, char* item, char* string) {
    writeLine(scn, item, string ? string : "");
}
void oapiWriteScenario_int(FILEHANDLE scn, char* item, int i) {
    writeLine(scn, item, std::to_string(i));
}
void oapiWriteScenario_float(FILEHANDLE scn, char* item, double d) {
    writeLine(scn, item, host::numberText(d), std::isfinite(d));
}

void oapiWriteScenario_vec(FILEHANDLE scn, char* item, const VECTOR3& vec) {
    writeLine(scn, item, host::vectorText(vec), std::isfinite(vec.x) && std::isfinite(vec.y) && std::isfinite(vec.z));
}

// Host lines a module passes on while loading are taken. Anything else is a
// line neither the vessel's module nor the host takes (a key it does not
// know, a value it cannot have): it is ignored, and the run is told where it
// stands.
void VESSEL::ParseScenarioLineEx(char* line, void* status) const {
    host::Simulation::Impl* s = host::currentSim();
    if (!s || !line || !status || status != s->loadingLines)
        return;
    std::string problem;
    if (host::parseHostLine(line, *s->loadingLines, problem) == host::HostLine::Taken) {
        s->loadingLines->changedByModule = true;
        return;
    }
    HostFile* file = s->loadingFile;
    if (!file || !s->warn)
        return;
    const std::string text = line;
    if (text.find_first_not_of(" \t\r") == std::string::npos)
        return;
    int lineNumber = 0;
    for (size_t i = 0; i < file->lines.size() && i < file->lineNumbers.size(); ++i)
        if (file->lines[i] == text && !file->reported.count(i)) {
            file->reported.insert(i);
            lineNumber = file->lineNumbers[i];
            break;
        }
    const host::VesselData& v = host::dataOf(hVessel);
    s->warn(file->source + ":" + std::to_string(lineNumber) + ": " + host::quote(text) + " is not a line " +
            v.name + " (" + v.className + ") takes; ignored");
}
