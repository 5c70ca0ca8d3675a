// The launcher's scenario lines: payload description, configuration code,
// fairing flag and mission clock. Loading rebuilds the vehicle for the
// configuration it was saved in.
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

// An unreadable number leaves target as it was.
void readNumber(const char* text, double& target) {
    char* end = nullptr;
    const double value = std::strtod(text, &end);
    if (end != text)
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
}

void HeavyLauncher::clbkLoadStateEx(FILEHANDLE scn, void* status) {
    char* line;
    while (oapiReadScenario_nextline(scn, line)) {
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
                readNumber(rest, configCode);
                break;
            case Key::PayloadWeight:
                readNumber(rest, payloadMass);
                break;
            case Key::FairingAttached:
                readNumber(rest, fairingAttached);
                break;
            case Key::MissionTime:
                readNumber(rest, missionTime);
                break;
            case Key::None:
                ParseScenarioLineEx(line, status);
                break;
        }
        applyConfigurationHook();
    }
    finishLoadedConfiguration();
}

// Run after every line read: brings the propulsion in line with the
// configuration code read so far.
void HeavyLauncher::applyConfigurationHook() {
    // Past the full stack no solid booster is left to shed: a launcher
    // reloaded with its clock among the booster windows must not jettison
    // boosters it no longer carries nor bring the side cores back.
    if (configCode == 1 || configCode == 2 || configCode == 3 || configCode == 5)
        boosterPairState = 3;
    if (configCode == 4) {
        padLayout();
        stage = 0;
        setupLiftoffPropulsion();
    } else if (configCode == 0) {
        stage = 0;
    } else if (configCode == 1) {
        stage = 1;
        setupCorePropulsion();
    } else if (configCode == 2) {
        stage = 2;
        setupUpperStagePropulsion();
    } else if (configCode == 3) {
        stage = 3;
        setupUpperStagePropulsion();
    } else if (configCode == 5) {
        // The spent stage flew on its one upper-stage tank. Rebuilt from
        // nothing on every line it keeps exactly that tank, so the host can
        // give back the propellant it was saved with; adding tanks on top of
        // the pad's would reload an empty stage at over a thousand tonnes.
        ClearPropellantResources();
        spentStageLayout();
        stage = 4;
    }
}

// After the last line: the layout of the configuration read.
void HeavyLauncher::finishLoadedConfiguration() {
    if (configCode == 0)
        padLayout();
    else if (configCode == 1)
        coreLayout();
    else if (configCode == 2)
        upperStageLayout();
    else if (configCode == 3)
        bareUpperStageLayout();
    else if (configCode == 4)
        flightLayout();
}

}  // namespace heavy
