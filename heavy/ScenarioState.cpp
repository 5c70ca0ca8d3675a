// The launcher's scenario lines: payload description, configuration code,
// fairing flag and mission clock, then the flight lines that let a saved
// flight go on where it stopped. Loading rebuilds the vehicle for the
// configuration it was saved in.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <strings.h>

#include "HeavyLauncher.h"
#include "ModuleState.h"

namespace heavy {

namespace {

enum class Key { Payload, Mesh, ZOffset, Config, PayloadWeight, FairingAttached, MissionTime, None };

struct KeyName {
    Key key;
    const char* name;
};

// Matched in this order, by prefix and without regard to case.
const KeyName kKeys[] = {
    {Key::Payload, "PAYLOAD"},         {Key::Mesh, "MESH"},
    {Key::ZOffset, "Z_OFFSET"},        {Key::Config, "CONFIG"},
    {Key::PayloadWeight, "PLDWEIGHT"}, {Key::FairingAttached, "Fairing_attached"},
    {Key::MissionTime, "missiontime"},
};

Key matchKey(const char* line, const char** rest) {
    for (const KeyName& k : kKeys) {
        const std::size_t n = std::strlen(k.name);
        if (strncasecmp(line, k.name, n) == 0) {
            *rest = line + n;
            return k.key;
        }
    }
    return Key::None;
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// The first whitespace-delimited word of text, whole; leaves target as it
// was when there is none.
void readWord(const char* text, std::string& target) {
    while (*text && isBlank(*text))
        ++text;
    const char* end = text;
    while (*end && !isBlank(*end))
        ++end;
    if (end != text)
        target.assign(text, end);
}

// A number the field can hold: it reads, is finite and lies within
// [low, high]. Anything else leaves target as it was.
void readNumber(const char* text, double& target, double low = -HUGE_VAL, double high = HUGE_VAL) {
    char* end = nullptr;
    const double value = std::strtod(text, &end);
    if (end != text && std::isfinite(value) && value >= low && value <= high)
        target = value + 0.0;  // no negative zero
}

// Fairing_attached is a flag: 0 or 1, nothing else.
void readFlag(const char* text, double& target) {
    double value = -1;
    readNumber(text, value, 0, 1);
    if (value == 0 || value == 1)
        target = value;
}

void writeString(FILEHANDLE scn, const char* key, std::string& value) {
    oapiWriteScenario_string(scn, const_cast<char*>(key), value.data());
}

void writeFloat(FILEHANDLE scn, const char* key, double value) {
    oapiWriteScenario_float(scn, const_cast<char*>(key), value);
}

}  // namespace

void HeavyLauncher::clbkSaveState(FILEHANDLE scn) {
    VESSEL2::clbkSaveState(scn);
    writeString(scn, "PAYLOAD", payloadClassName);
    writeString(scn, "MESH", payloadMeshName);
    writeFloat(scn, "Z_OFFSET", payloadZOffset);
    writeFloat(scn, "CONFIG", configCode);
    writeFloat(scn, "PLDWEIGHT", payloadMass);
    // The fairing is written as gone once it has been dropped, and not at all
    // for the spent stage.
    if (fairingAttached == 0) {
        writeFloat(scn, "Fairing_attached", 0);
    } else if (fairingAttached == 1) {
        if (configCode == 0 || configCode == 1 || configCode == 2 || configCode == 4)
            writeFloat(scn, "Fairing_attached", 1);
        else if (configCode == 3)
            writeFloat(scn, "Fairing_attached", 0);
    }
    writeFloat(scn, "missiontime", missionTime);
    saveFlightState(scn);
}

// Values a launcher cannot have are refused and the field keeps what it
// held: a negative payload mass or mission clock, a fairing flag other than
// 0 or 1, anything not finite. The launcher is rebuilt once every line is
// read.
void HeavyLauncher::clbkLoadStateEx(FILEHANDLE scn, void* status) {
    SavedFlight saved;
    char* line;
    while (oapiReadScenario_nextline(scn, line)) {
        if (readFlightLine(line, saved))
            continue;
        const char* rest = nullptr;
        switch (matchKey(line, &rest)) {
            case Key::Payload:
                readWord(rest, payloadClassName);
                break;
            case Key::Mesh:
                readWord(rest, payloadMeshName);
                break;
            case Key::ZOffset:
                readNumber(rest, payloadZOffset);
                break;
            case Key::Config:
                readNumber(rest, configCode, 0);
                break;
            case Key::PayloadWeight:
                readNumber(rest, payloadMass, 0);
                break;
            case Key::FairingAttached:
                readFlag(rest, fairingAttached);
                break;
            case Key::MissionTime:
                readNumber(rest, missionTime, 0);
                break;
            case Key::None:
                ParseScenarioLineEx(line, status);
                break;
        }
    }
    rebuildLoadedFlight(saved);
}

}  // namespace heavy
