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
#include "variants/VariantSpec.h"

namespace medium {
namespace {

char* key(const char* name) {
    return const_cast<char*>(name);
}

// The line starts with the key, in any letter case.
bool startsWithKey(const char* line, const char* key) {
    for (; *key; ++line, ++key)
        if (!*line || std::tolower(static_cast<unsigned char>(*line)) != std::tolower(static_cast<unsigned char>(*key)))
            return false;
    return true;
}

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
    oapiWriteScenario_string(scn, key("PAYLOAD"), payloadClassName.data());
    oapiWriteScenario_string(scn, key("MESH"), payloadMeshName.data());
    oapiWriteScenario_float(scn, key("Z_OFFSET"), payloadZOffset);
    oapiWriteScenario_float(scn, key("CONFIG"), configCode);
    oapiWriteScenario_float(scn, key("PLDWEIGHT"), payloadMass);
    if (fairingAttached == 0) {
        oapiWriteScenario_int(scn, key("Fairing_attached"), 0);
    } else if (fairingAttached == 1) {
        // Configuration 3 has shed its fairing although the flag stays set; 5 carries none to report.
        if (configCode == 0 || configCode == 1 || configCode == 2 || configCode == 4)
            oapiWriteScenario_int(scn, key("Fairing_attached"), 1);
        else if (configCode == 3)
            oapiWriteScenario_int(scn, key("Fairing_attached"), 0);
    }
    oapiWriteScenario_float(scn, key("missiontime"), missionTime);
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
        resumable = resumable || startsWithKey(l.c_str(), "STAGING");

    for (std::string& l : lines) {
        char* line = l.data();
        if (readFlightState(line))
            continue;
        if (startsWithKey(line, "PAYLOAD"))
            readToken(line + 7, payloadClassName);
        else if (startsWithKey(line, "MESH"))
            readToken(line + 4, payloadMeshName);
        else if (startsWithKey(line, "Z_OFFSET"))
            readNumber(line + 8, payloadZOffset);
        else if (startsWithKey(line, "CONFIG"))
            readNumber(line + 6, configCode);
        else if (startsWithKey(line, "PLDWEIGHT"))
            readNumber(line + 9, payloadMass);
        else if (startsWithKey(line, "Fairing_attached"))
            std::sscanf(line + 16, "%i", &fairingAttached);
        else if (startsWithKey(line, "missiontime"))
            readNumber(line + 11, missionTime);
        else if (startsWithKey(line, "Disable_Base_Animation"))
            readNumber(line + 22, baseAnimationDisabled);
        else
            ParseScenarioLineEx(line, status);
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
