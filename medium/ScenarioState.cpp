// The launcher's lines in a scenario: the payload description, the
// configuration code, the fairing flag and the mission clock. Loading
// rebuilds the stage and mesh layout the configuration code names.
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "MediumLauncher.h"
#include "SavedFlight.h"
#include "ScenarioLines.h"
#include "variants/VariantRecord.h"

namespace medium {
namespace {

using tarvik::LauncherKey;

// The first whitespace-free token of the text, whatever its length; no token leaves the value unchanged.
void readToken(const char* text, std::string& value) {
    while (*text && std::isspace(static_cast<unsigned char>(*text)))
        ++text;
    const char* end = text;
    while (*end && !std::isspace(static_cast<unsigned char>(*end)))
        ++end;
    if (end != text)
        value.assign(text, end);
}

// A number at the start of the text, finite and at least `low`; one that is
// not leaves the value unchanged and gives false.
bool readNumber(const char* text, double& value, double low = -HUGE_VAL) {
    double read = 0;
    if (std::sscanf(text, "%lf", &read) != 1 || !std::isfinite(read) || read < low)
        return false;
    value = read;
    return true;
}

// The fairing is on (1) or off (0); nothing else.
bool readFairing(const char* text, int& value) {
    int read = 0;
    if (std::sscanf(text, "%i", &read) != 1 || (read != 0 && read != 1))
        return false;
    value = read;
    return true;
}

}  // namespace

void MediumLauncher::clbkSaveState(FILEHANDLE scn) {
    VESSEL2::clbkSaveState(scn);
    // Configuration 3 has shed its fairing although the flag stays set.
    tarvik::writeLauncherLines(scn, {payloadClassName.c_str(), payloadMeshName.c_str(), payloadZOffset, configCode,
                                     payloadMass, static_cast<double>(fairingAttached), missionTime});
    saveFlightState(scn);
}

// A value the launcher cannot have (a negative mass or clock, a fairing flag
// other than 0 or 1, anything not finite) leaves its variable as it was, and
// the line goes back to the simulator as one this launcher does not take.
void MediumLauncher::clbkLoadStateEx(FILEHANDLE scn, void* status) {
    // A scenario saved in flight carries the flight's staging history: the
    // launcher is then rebuilt as it flew, once all lines are read.
    std::vector<std::string> lines;
    char* next;
    while (oapiReadScenario_nextline(scn, next))
        lines.emplace_back(next);
    bool resumable = false;
    for (const std::string& l : lines)
        resumable = resumable || tarvik::afterKeyPrefix(l.c_str(), "STAGING");

    SavedFlight saved;
    bool stageSetUp = false;
    for (std::string& l : lines) {
        char* line = l.data();
        if (readFlightState(line, saved))
            continue;
        const char* rest = nullptr;
        bool taken = true;
        switch (tarvik::matchLauncherKey(line, &rest)) {
            case LauncherKey::Payload:
                readToken(rest, payloadClassName);
                break;
            case LauncherKey::Mesh:
                readToken(rest, payloadMeshName);
                break;
            case LauncherKey::ZOffset:
                taken = readNumber(rest, payloadZOffset);
                break;
            case LauncherKey::Config:
                taken = readNumber(rest, configCode);
                break;
            case LauncherKey::PayloadWeight:
                taken = readNumber(rest, payloadMass, 0);
                break;
            case LauncherKey::FairingAttached:
                taken = readFairing(rest, fairingAttached);
                break;
            case LauncherKey::MissionTime:
                taken = readNumber(rest, missionTime, 0);
                break;
            case LauncherKey::None:
                // This launcher's own key: set, the pad is never asked to move its structures.
                if (const char* value = tarvik::afterKeyPrefix(line, "Disable_Base_Animation"))
                    taken = readNumber(value, baseAnimationDisabled);
                else
                    taken = false;
                break;
        }
        if (!taken)
            ParseScenarioLineEx(line, status);
        if (!resumable) {
            // A later CONFIG line wins over an earlier one, also when it names the pad.
            if (stageSetUp && !namesStageSetUp(configCode))
                padSetupAgain();
            applyLoadedConfiguration();
            stageSetUp = namesStageSetUp(configCode);
        }
    }
    if (resumable) {
        resumeFlight(saved);
    } else {
        applyLoadedLayout();
        // How the launcher came to this configuration is not known: its
        // history starts here, and a save says so, so that a reload builds
        // this configuration again rather than the pad.
        historyStart = configCode;
    }
}

// Whether the configuration rebuilds the tanks and engines of a stage as its lines are read.
bool MediumLauncher::namesStageSetUp(int code) const {
    return (code >= 1 && code <= 3) || code == 5 || (code == 4 && kVariant.liftoffRebuiltPerScenarioLine);
}

// Runs after every line, so a stage set-up is rebuilt with the payload values read so far.
void MediumLauncher::applyLoadedConfiguration() {
    if (configCode == 4) {
        if (kVariant.liftoffRebuiltPerScenarioLine) {
            padLayout();
            stage = 0;
            liftoffSetup();
        }
    } else if (configCode == 0) {
        stage = 0;
    } else if (configCode == 1) {
        stage = 1;
        boosterJettisonSetup();
    } else if (configCode == 2) {
        stage = 2;
        upperStageSetup();
    } else if (configCode == 3) {
        stage = 3;
        upperStageSetup();
    } else if (configCode == 5) {
        // The upper stage alone carries the tanks it had when the payload left, not the pad's:
        // the upper-stage tank, and the payload stage's own where the build sets one up at release.
        ClearPropellantResources();
        if (kVariant.payloadReleaseRelightsStage)
            CreatePropellantResource(kVariant.upperStagePropellant);
        upperAloneLayout();
        stage = 4;
    }
}

void MediumLauncher::applyLoadedLayout() {
    // An unknown code names no configuration: the launcher stands on the pad, laid out as for code 0.
    if (configCode < 0 || configCode > 5) {
        configCode = 0;
        stage = 0;
    }
    if (configCode == 0) {
        padLayout(false);  // the class set-up laid the pad out with its tanks already
    } else if (configCode == 1) {
        if (kVariant.boosterCount > 0)
            corePairLayout();
        else
            coreLayout();
    } else if (configCode == 2) {
        upperLayout();
    } else if (configCode == 3) {
        upperBareLayout();
    } else if (configCode == 4) {
        if (kVariant.liftoffRebuiltPerScenarioLine) {
            liftoffLayout();
        } else {
            padLayout();
            liftoffSetup();
        }
    }
}

}  // namespace medium
