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
#include "ModuleState.h"
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

// A number at the start of the text; one that does not read, or is not finite, leaves the value unchanged.
void readNumber(const char* text, double& value) {
    double read = 0;
    if (std::sscanf(text, "%lf", &read) == 1 && std::isfinite(read))
        value = read;
}

}  // namespace

void MediumLauncher::clbkSaveState(FILEHANDLE scn) {
    VESSEL2::clbkSaveState(scn);
    // Configuration 3 has shed its fairing although the flag stays set.
    tarvik::writeLauncherLines(scn, {payloadClassName.c_str(), payloadMeshName.c_str(), payloadZOffset, configCode,
                                     payloadMass, static_cast<double>(fairingAttached), missionTime});
    saveFlightState(scn);
}

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

    for (std::string& l : lines) {
        char* line = l.data();
        if (readFlightState(line))
            continue;
        const char* rest = nullptr;
        switch (tarvik::matchLauncherKey(line, &rest)) {
            case LauncherKey::Payload:
                readToken(rest, payloadClassName);
                break;
            case LauncherKey::Mesh:
                readToken(rest, payloadMeshName);
                break;
            case LauncherKey::ZOffset:
                readNumber(rest, payloadZOffset);
                break;
            case LauncherKey::Config:
                readNumber(rest, configCode);
                break;
            case LauncherKey::PayloadWeight:
                readNumber(rest, payloadMass);
                break;
            case LauncherKey::FairingAttached:
                std::sscanf(rest, "%i", &fairingAttached);
                break;
            case LauncherKey::MissionTime:
                readNumber(rest, missionTime);
                break;
            case LauncherKey::None:
                // This launcher's own key: set, the pad is never asked to move its structures.
                if (const char* value = tarvik::afterKeyPrefix(line, "Disable_Base_Animation"))
                    readNumber(value, baseAnimationDisabled);
                else
                    ParseScenarioLineEx(line, status);
                break;
        }
        if (!resumable)
            applyLoadedConfiguration();
    }
    if (resumable)
        resumeFlight();
    else
        applyLoadedLayout();
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
    } else if (configCode != 5) {
        // An unknown code names no configuration: the launcher stands as laid out on the pad.
        configCode = 0;
        stage = 0;
    }
}

}  // namespace medium
