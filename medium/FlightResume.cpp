// A flight saved in the air continues where it stopped. The scenario carries
// what the configuration code alone does not say: the staging events in the
// order they came, the stage and its timers, the engine levels and the
// autopilot's state. Loading rebuilds the launcher by replaying those staging
// events with no part leaving, so tanks, engines, meshes and masses are the
// ones that flew; the simulator then puts back the saved position, attitude
// and tank levels.
#include <cstdio>
#include <cstring>

#include "MediumLauncher.h"
#include "SavedFlight.h"
#include "ScenarioLines.h"
#include "dialogs/DialogFields.h"
#include "dialogs/ResourceIds.h"
#include "variants/VariantRecord.h"

namespace medium {
namespace {

struct EventWord {
    StagingEvent event;
    const char* word;
};

constexpr EventWord kEventWords[] = {
    {StagingEvent::Liftoff, "liftoff"},         {StagingEvent::BoosterJettison, "boosters"},
    {StagingEvent::SecondPair, "pair2"},        {StagingEvent::FairingOnCore, "fairing-core"},
    {StagingEvent::CoreSeparation, "core"},     {StagingEvent::FairingOnUpper, "fairing-upper"},
    {StagingEvent::PayloadRelease, "payload"},
};

constexpr int kInputFields[3] = {ids::kTargetAltitude, ids::kTargetInclination, ids::kAzimuthTrim};

// The first word of a history names where it starts: "pad", or "config1" to
// "config5" for a launcher a scenario named by its configuration code alone.
double historyStartOf(const char* word) {
    if (std::strncmp(word, "config", 6) == 0 && word[6] >= '1' && word[6] <= '5' && word[7] == '\0')
        return word[6] - '0';
    return 0;
}

void readHistory(const char* text, LauncherState& s) {
    s.stagingEventCount = 0;
    s.historyStart = 0;
    char word[32];
    int n = 0;
    bool first = true;
    while (s.stagingEventCount < kMaxStagingEvents && std::sscanf(text, "%31s%n", word, &n) == 1) {
        text += n;
        if (first)
            s.historyStart = historyStartOf(word);
        first = false;
        for (const EventWord& w : kEventWords)
            if (std::strcmp(w.word, word) == 0)
                s.stagingHistory[s.stagingEventCount++] = w.event;
    }
}

bool happened(const LauncherState& s, StagingEvent e) {
    for (int i = 0; i < s.stagingEventCount; ++i)
        if (s.stagingHistory[i] == e)
            return true;
    return false;
}

}  // namespace

void MediumLauncher::saveFlightState(FILEHANDLE scn) {
    char history[256] = "pad";
    if (historyStart != 0)
        std::snprintf(history, sizeof history, "config%d", static_cast<int>(historyStart));
    size_t used = std::strlen(history);
    for (int i = 0; i < stagingEventCount; ++i)
        for (const EventWord& w : kEventWords)
            if (w.event == stagingHistory[i])
                used += std::snprintf(history + used, sizeof history - used, " %s", w.word);
    oapiWriteScenario_string(scn, const_cast<char*>("STAGING"), history);

    const double stageValue = stage;
    tarvik::writeNumbers(scn, "STAGE", &stageValue, 1);
    const double timer[2] = {stageTimerMode, stageTimerCount};
    tarvik::writeNumbers(scn, "STAGETIMER", timer, 2);
    tarvik::writeNumbers(scn, "IGNITION", &ignitionSteps, 1);
    const double pairs[3] = {boosterPairState, secondPairTime, boosterSpawnPending};
    tarvik::writeNumbers(scn, "BOOSTERS", pairs, 3);
    tarvik::writeNumbers(scn, "SEPARATION", &separationShown, 1);
    double engines[5] = {GetThrusterLevel(mainEngine)};
    for (int i = 0; i < kVariant.boosterCount; ++i)
        engines[i + 1] = GetThrusterLevel(boosterEngines[i]);
    tarvik::writeNumbers(scn, "ENGINES", engines, 5);

    if (autopilotMode == 1 || autopilotMode == 2) {
        const double autopilot[10] = {static_cast<double>(autopilotMode), ascentPhase, static_cast<double>(launchSite),
                                      targetAltitude, targetInclination, nodeChoice, azimuthCorrection, azimuthBias,
                                      launchAzimuth, azimuthComputed};
        tarvik::writeNumbers(scn, "AUTOPILOT", autopilot, 10);
        const double roll[5] = {rollAngle, rollReference, rollLevel, rollProgrammeDone, rollInhibit};
        tarvik::writeNumbers(scn, "ROLL", roll, 5);
        const double guidance[6] = {headingHoldLatched, headingHoldReleased, upperStageLatch,
                                    throttleBack,       targetPitch,         bankTimer};
        tarvik::writeNumbers(scn, "GUIDANCE", guidance, 6);
        const double insertion[7] = {planeChangeState, planeChangeRefused, blinkTimer,      trimBurnState,
                                     trimStart,        cutoffShown,        apoapsisNearSeen};
        tarvik::writeNumbers(scn, "INSERTION", insertion, 7);
        // The fields as typed, for a launch saved before they were read; "-" for an empty one.
        char inputs[3 * 64 + 4] = {};
        size_t used = 0;
        for (int id : kInputFields) {
            char text[64] = {};
            GetDlgItemTextA(autopilotDialog, id, text, sizeof text);
            for (char& c : text)
                if (c == ' ' || c == '\t')
                    c = '_';
            used += std::snprintf(inputs + used, sizeof inputs - used, used ? " %s" : "%s", text[0] ? text : "-");
        }
        oapiWriteScenario_string(scn, const_cast<char*>("AUTOPILOTINPUTS"), inputs);
    }
}

bool MediumLauncher::readFlightState(const char* line, SavedFlight& saved) {
    if (const char* v = tarvik::afterWholeKey(line, "STAGING"))
        saved.hasHistory = true, readHistory(v, *this);
    else if ((v = tarvik::afterWholeKey(line, "STAGETIMER")))
        tarvik::readNumbers(v, &saved.timerMode, nullptr, 2);
    else if ((v = tarvik::afterWholeKey(line, "STAGE")))
        tarvik::readNumbers(v, &saved.stage, nullptr, 1);
    else if ((v = tarvik::afterWholeKey(line, "IGNITION")))
        tarvik::readNumbers(v, &saved.ignitionSteps, nullptr, 1);
    else if ((v = tarvik::afterWholeKey(line, "BOOSTERS")))
        tarvik::readNumbers(v, &saved.pairState, nullptr, 3);
    else if ((v = tarvik::afterWholeKey(line, "SEPARATION")))
        tarvik::readNumbers(v, &saved.separationShown, nullptr, 1);
    else if ((v = tarvik::afterWholeKey(line, "ENGINES")))
        tarvik::readNumbers(v, saved.engines, nullptr, 5);
    else if ((v = tarvik::afterWholeKey(line, "AUTOPILOT")))
        saved.autopilot = true, tarvik::readNumbers(v, saved.autopilotValues, nullptr, 10);
    else if ((v = tarvik::afterWholeKey(line, "ROLL")))
        tarvik::readNumbers(v, saved.roll, nullptr, 5);
    else if ((v = tarvik::afterWholeKey(line, "GUIDANCE")))
        tarvik::readNumbers(v, saved.guidance, nullptr, 6);
    else if ((v = tarvik::afterWholeKey(line, "INSERTION")))
        tarvik::readNumbers(v, saved.insertion, nullptr, 7);
    else if ((v = tarvik::afterWholeKey(line, "AUTOPILOTINPUTS")))
        std::sscanf(v, "%63s %63s %63s", saved.inputs[0], saved.inputs[1], saved.inputs[2]);
    else
        return false;
    return true;
}

void MediumLauncher::resumeFlight(const SavedFlight& saved) {
    const int loadedFairing = fairingAttached;
    rebuildingFlight = true;

    // From where the history starts, the fairing on if it went on the way:
    // the pad as it stood, or the configuration a scenario named by its code.
    if (happened(*this, StagingEvent::FairingOnCore))
        fairingAttached = 1;
    if (historyStart == 0) {
        padLayout(false);
    } else {
        configCode = historyStart;
        applyLoadedConfiguration();
        applyLoadedLayout();
    }
    for (int i = 0; i < stagingEventCount; ++i) {
        switch (stagingHistory[i]) {
            case StagingEvent::Liftoff:
                liftoffSetup();
                SetThrusterGroupLevel(THGROUP_HOVER, 0);
                break;
            case StagingEvent::BoosterJettison:
                stage = 1;
                boosterJettison();
                break;
            case StagingEvent::SecondPair:
                shedSecondPair();
                break;
            // Each fairing event was recorded in the stage that sheds it that way;
            // a stage a scenario line set, not an event, is that stage again.
            case StagingEvent::FairingOnCore:
                boosterSpawnPending = 0;
                if (!coreStageMayShedFairing())
                    stage = 1;
                fairingJettison();
                break;
            case StagingEvent::CoreSeparation:
                coreSeparation();
                break;
            case StagingEvent::FairingOnUpper:
                stage = 2;
                fairingJettison();
                break;
            case StagingEvent::PayloadRelease:
                payloadRelease();
                break;
        }
    }

    // The configuration code is the one the history built: a CONFIG line
    // that says otherwise (a history cut short) would be saved against a
    // launcher of another shape, and its fairing line with it.
    fairingAttached = loadedFairing;
    stage = static_cast<int>(saved.stage);
    stageTimerMode = saved.timerMode;
    stageTimerCount = saved.timerCount;
    ignitionSteps = saved.ignitionSteps;
    boosterPairState = saved.pairState;
    secondPairTime = saved.secondPairTime;
    boosterSpawnPending = saved.spawnPending;
    separationShown = saved.separationShown;
    SetThrusterLevel(mainEngine, saved.engines[0]);
    for (int i = 0; i < kVariant.boosterCount; ++i)
        SetThrusterLevel(boosterEngines[i], saved.engines[i + 1]);
    if (missionTime > 25)
        glowCreated = glowDeleted = 1;  // the launch glow is long gone
    rebuildingFlight = false;

    if (saved.autopilot)
        resumeAutopilot(saved);
}

void MediumLauncher::resumeAutopilot(const SavedFlight& saved) {
    const double* a = saved.autopilotValues;
    ascentPhase = a[1];
    launchSite = static_cast<int>(a[2]);
    targetAltitude = a[3];
    targetInclination = a[4];
    nodeChoice = a[5];
    azimuthCorrection = a[6];
    azimuthBias = a[7];
    launchAzimuth = a[8];
    azimuthComputed = a[9];
    rollAngle = saved.roll[0], rollReference = saved.roll[1], rollLevel = saved.roll[2];
    rollProgrammeDone = saved.roll[3], rollInhibit = saved.roll[4];
    headingHoldLatched = saved.guidance[0], headingHoldReleased = saved.guidance[1];
    upperStageLatch = saved.guidance[2], throttleBack = saved.guidance[3];
    targetPitch = saved.guidance[4], bankTimer = saved.guidance[5];
    planeChangeState = saved.insertion[0], planeChangeRefused = saved.insertion[1];
    blinkTimer = saved.insertion[2], trimBurnState = saved.insertion[3];
    trimStart = saved.insertion[4], cutoffShown = saved.insertion[5], apoapsisNearSeen = saved.insertion[6];

    // The launcher knows its name and pad already; the dialog comes back hidden, as it was set.
    ownName = GetName();
    firstStepState = 2;
    HWND dialog = openLauncherDialog(ids::kAutopilotDialog);
    ShowWindow(dialog, SW_HIDE);
    autopilotMode = 2;
    orbitListBuilt = 1.0;
    nextTextRefresh = -1;
    setNumber(dialog, ids::kTargetAltitude, "%0.0f", targetAltitude);
    if (targetInclination > 0)
        setNumber(dialog, ids::kTargetInclination, "%0.2f", targetInclination);
    setNumber(dialog, ids::kAzimuthTrim, "%0.2f", cutoffShown == 1 ? azimuthCorrection + azimuthBias : azimuthCorrection);
    if (azimuthComputed == 0)  // the fields are still to be read: as the pilot left them
        for (int i = 0; i < 3; ++i)
            if (saved.inputs[i][0])
                SetDlgItemTextA(dialog, kInputFields[i], std::strcmp(saved.inputs[i], "-") == 0 ? "" : saved.inputs[i]);
    if (azimuthComputed == 1)
        setNumber(dialog, ids::kAzimuthStore, "%0.2f", launchAzimuth);
    CheckDlgButton(dialog, nodeChoice == 1 ? ids::kDescendingNode : ids::kAscendingNode, BST_CHECKED);
    if (missionTime > 0 || ignitionSteps > 0)
        EnableWindow(GetDlgItem(dialog, ids::kLaunch), FALSE);
    if (missionTime > 1) {
        for (int id : {ids::kAscendingNode, ids::kDescendingNode, ids::kAzimuthStore, ids::kTargetAltitude,
                       ids::kTargetInclination, ids::kAzimuthTrim, ids::kOrbitList})
            EnableWindow(GetDlgItem(dialog, id), FALSE);
        if (cutoffShown == 1)
            EnableWindow(GetDlgItem(dialog, ids::kAzimuthTrim), TRUE);
    }
}

}  // namespace medium
