// The launcher's scenario lines: payload description, configuration code,
// fairing flag and mission clock, then the flight lines that let a saved
// flight go on where it stopped. Loading rebuilds the vehicle for the
// configuration it was saved in.
#include <cmath>
#include <cstdlib>

#include "HeavyLauncher.h"
#include "ModuleState.h"
#include "ScenarioLines.h"

namespace heavy {

namespace {

using tarvik::LauncherKey;

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
// [low, high]. Anything else leaves target as it was and gives false.
bool readNumber(const char* text, double& target, double low = -HUGE_VAL, double high = HUGE_VAL) {
    char* end = nullptr;
    const double value = std::strtod(text, &end);
    if (end == text || !std::isfinite(value) || value < low || value > high)
        return false;
    target = value + 0.0;  // no negative zero
    return true;
}

// Fairing_attached is a flag: 0 or 1, nothing else.
bool readFlag(const char* text, double& target) {
    double value = -1;
    readNumber(text, value, 0, 1);
    if (value != 0 && value != 1)
        return false;
    target = value;
    return true;
}

}  // namespace

void HeavyLauncher::clbkSaveState(FILEHANDLE scn) {
    VESSEL2::clbkSaveState(scn);
    tarvik::writeLauncherLines(scn, {payloadClassName.c_str(), payloadMeshName.c_str(), payloadZOffset, configCode,
                                     payloadMass, fairingAttached, missionTime});
    saveFlightState(scn);
}

// Values a launcher cannot have are refused and the field keeps what it
// held: a negative payload mass or mission clock, a fairing flag other than
// 0 or 1, anything not finite; the line goes back to the simulator as one
// this launcher does not take. The launcher is rebuilt once every line is
// read.
void HeavyLauncher::clbkLoadStateEx(FILEHANDLE scn, void* status) {
    SavedFlight saved;
    char* line;
    while (oapiReadScenario_nextline(scn, line)) {
        if (readFlightLine(line, saved))
            continue;
        const char* rest = nullptr;
        bool taken = true;
        switch (tarvik::matchLauncherKey(line, &rest)) {
            case LauncherKey::Payload:
                readWord(rest, payloadClassName);
                break;
            case LauncherKey::Mesh:
                readWord(rest, payloadMeshName);
                break;
            case LauncherKey::ZOffset:
                taken = readNumber(rest, payloadZOffset);
                break;
            case LauncherKey::Config:
                taken = readNumber(rest, configCode, 0);
                saved.hasConfig = saved.hasConfig || taken;
                break;
            case LauncherKey::PayloadWeight:
                taken = readNumber(rest, payloadMass, 0);
                break;
            case LauncherKey::FairingAttached:
                taken = readFlag(rest, fairingAttached);
                break;
            case LauncherKey::MissionTime:
                taken = readNumber(rest, missionTime, 0);
                break;
            case LauncherKey::None:
                taken = false;
                break;
        }
        if (!taken)
            ParseScenarioLineEx(line, status);
    }
    rebuildLoadedFlight(saved);
}

}  // namespace heavy
