// A flight saved in the air goes on where it stopped. The configuration code
// alone does not say which booster pairs have gone, whether the core is
// counting down to its separation or how far the upper-stage ignition wait
// has run, so the scenario also carries the staging events behind the
// launcher, its stage and timers, and its engine levels:
//
//   STAGING pad liftoff pair1 pair2 pair3 sidecores core fairing payload
//   STAGE 1
//   STAGETIMER 2 137
//   IGNITION 100
//   CORECUTOFF 0
//   ENGINES 0.6 1 1
//
// Loading replays those events on the launcher with no part leaving, so its
// tanks, engines (in the order they were made), meshes and masses are the
// ones that flew; the simulator then puts back the saved position, attitude,
// tank and engine levels. A scenario without these lines is rebuilt from its
// configuration code by the events that lead to it.
#include <cmath>
#include <cstdio>
#include <cstring>

#include "HeavyLauncher.h"
#include "ModuleState.h"
#include "ScenarioLines.h"

namespace heavy {

namespace {

struct EventWord {
    StagingEvent event;
    const char* word;
};

// In the order a flight meets them.
constexpr EventWord kEventWords[kStagingEvents] = {
    {StagingEvent::Liftoff, "liftoff"},     {StagingEvent::BoosterPair1, "pair1"},
    {StagingEvent::BoosterPair2, "pair2"},  {StagingEvent::BoosterPair3, "pair3"},
    {StagingEvent::SideCores, "sidecores"}, {StagingEvent::Core, "core"},
    {StagingEvent::Fairing, "fairing"},     {StagingEvent::Payload, "payload"},
};

// Where a flight stands after its last staging event.
struct Standing {
    double configCode;
    int stage;
};

Standing standingAfter(const StagingEvent* events, int count) {
    if (count == 0)
        return {0, 0};
    switch (events[count - 1]) {
        case StagingEvent::Liftoff:
            return {4, 0};
        case StagingEvent::BoosterPair1:
        case StagingEvent::BoosterPair2:
        case StagingEvent::BoosterPair3:
            return {1, 0};
        case StagingEvent::SideCores:
            return {1, 1};
        case StagingEvent::Core:
            return {2, 2};
        case StagingEvent::Fairing:
            return {3, 3};
        case StagingEvent::Payload:
            return {5, 4};
    }
    return {0, 0};
}

bool happened(const StagingEvent* events, int count, StagingEvent e) {
    for (int i = 0; i < count; ++i)
        if (events[i] == e)
            return true;
    return false;
}

// A history a flight can have: each event once, in flight order, after the
// events it needs (a booster pair after the one before it, the core after
// the side cores, fairing and payload after the core). The booster pairs and
// the side cores go by the mission clock, so a launcher whose clock runs on
// the pad sheds them without lifting off.
bool possibleHistory(const StagingEvent* events, int count) {
    int last = -1;
    for (int i = 0; i < count; ++i) {
        const StagingEvent e = events[i];
        const int order = static_cast<int>(e);
        if (order <= last)
            return false;
        last = order;
        const auto needs = [&](StagingEvent before) { return happened(events, i, before); };
        switch (e) {
            case StagingEvent::Liftoff:
            case StagingEvent::BoosterPair1:
            case StagingEvent::SideCores:
                break;
            case StagingEvent::BoosterPair2:
                if (!needs(StagingEvent::BoosterPair1))
                    return false;
                break;
            case StagingEvent::BoosterPair3:
                if (!needs(StagingEvent::BoosterPair2))
                    return false;
                break;
            case StagingEvent::Core:
                if (!needs(StagingEvent::SideCores))
                    return false;
                break;
            case StagingEvent::Fairing:
            case StagingEvent::Payload:
                if (!needs(StagingEvent::Core))
                    return false;
                break;
        }
    }
    return true;
}

// The events that bring a launcher from the pad to a configuration code, for
// scenarios that do not list them. The core alone stands for every flight
// past the first booster pair, as the code cannot tell them apart.
int historyFor(double configCode, StagingEvent* events) {
    static constexpr StagingEvent kUpToCore[] = {StagingEvent::Liftoff,      StagingEvent::BoosterPair1,
                                                 StagingEvent::BoosterPair2, StagingEvent::BoosterPair3,
                                                 StagingEvent::SideCores,    StagingEvent::Core};
    int n = 0;
    if (configCode == 4)
        n = 1;
    else if (configCode == 1)
        n = 5;
    else if (configCode == 2 || configCode == 3 || configCode == 5)
        n = 6;
    for (int i = 0; i < n; ++i)
        events[i] = kUpToCore[i];
    if (configCode == 3)
        events[n++] = StagingEvent::Fairing;
    if (configCode == 5)
        events[n++] = StagingEvent::Payload;
    return n;
}

bool isConfigurationCode(double code) {
    return code == 0 || code == 1 || code == 2 || code == 3 || code == 4 || code == 5;
}

// Up to count finite numbers; has[i] tells which were read. A negative zero
// reads as zero.
void readNumbers(const char* text, double* values, bool* has, int count) {
    tarvik::readNumbers(text, values, has, count);
    for (int i = 0; i < count; ++i)
        if (has[i])
            values[i] += 0.0;
}

// One number, whole, within [low, high].
bool readCount(const char* text, double& value, double low, double high) {
    double v = 0;
    bool has = false;
    readNumbers(text, &v, &has, 1);
    if (!has || v < low || v > high || v != std::floor(v))
        return false;
    value = v;
    return true;
}

void readHistory(const char* text, SavedFlight& saved) {
    saved.hasHistory = true;
    saved.historyReadable = true;
    saved.historyLength = 0;
    char word[32];
    int used = 0;
    while (std::sscanf(text, "%31s%n", word, &used) == 1) {
        text += used;
        if (std::strcmp(word, "pad") == 0)
            continue;
        const EventWord* found = nullptr;
        for (const EventWord& w : kEventWords)
            if (std::strcmp(w.word, word) == 0)
                found = &w;
        if (!found || saved.historyLength == kStagingEvents) {
            saved.historyReadable = false;
            return;
        }
        saved.history[saved.historyLength++] = found->event;
    }
}

}  // namespace

void HeavyLauncher::recordStagingEvent(StagingEvent event) {
    if (stagingEventCount < kStagingEvents)
        stagingHistory[stagingEventCount++] = event;
}

void HeavyLauncher::saveFlightState(FILEHANDLE scn) {
    char history[128] = "pad";
    std::size_t used = 3;
    for (int i = 0; i < stagingEventCount; ++i)
        used += std::snprintf(history + used, sizeof history - used, " %s",
                              kEventWords[static_cast<int>(stagingHistory[i])].word);
    oapiWriteScenario_string(scn, const_cast<char*>("STAGING"), history);
    const double stageValue = stage;
    tarvik::writeNumbers(scn, "STAGE", &stageValue, 1);
    const double timer[2] = {stageTimerMode, stageTimerCount};
    tarvik::writeNumbers(scn, "STAGETIMER", timer, 2);
    tarvik::writeNumbers(scn, "IGNITION", &ignitionSteps, 1);
    tarvik::writeNumbers(scn, "CORECUTOFF", &manualCoreCutoff, 1);
    const double engines[3] = {GetThrusterGroupLevel(THGROUP_MAIN), GetThrusterLevel(leftCoreEngine),
                               GetThrusterLevel(rightCoreEngine)};
    tarvik::writeNumbers(scn, "ENGINES", engines, 3);
}

bool HeavyLauncher::readFlightLine(const char* line, SavedFlight& saved) {
    if (const char* v = tarvik::afterWholeKey(line, "STAGING")) {
        readHistory(v, saved);
    } else if ((v = tarvik::afterWholeKey(line, "STAGETIMER"))) {
        double timer[2] = {};
        bool has[2] = {};
        readNumbers(v, timer, has, 2);
        saved.hasTimer = has[0] && has[1] && timer[1] >= 0 && timer[1] == std::floor(timer[1]);
        saved.timerMode = timer[0];
        saved.timerCount = timer[1];
    } else if ((v = tarvik::afterWholeKey(line, "STAGE"))) {
        saved.hasStage = readCount(v, saved.stage, 0, 4);
    } else if ((v = tarvik::afterWholeKey(line, "IGNITION"))) {
        saved.hasIgnition = readCount(v, saved.ignitionSteps, 0, HUGE_VAL);
    } else if ((v = tarvik::afterWholeKey(line, "CORECUTOFF"))) {
        saved.hasCutoff = readCount(v, saved.manualCutoff, 0, 1);
    } else if ((v = tarvik::afterWholeKey(line, "ENGINES"))) {
        bool has[3] = {};
        double engines[3] = {};
        readNumbers(v, engines, has, 3);
        for (int i = 0; i < 3; ++i) {
            saved.hasEngine[i] = has[i] && engines[i] >= 0 && engines[i] <= 1;
            saved.engines[i] = engines[i];
        }
    } else {
        return false;
    }
    return true;
}

// The saved staging history is taken when the flight could have had it and
// it leads to the configuration code read; otherwise the code alone decides,
// as it did before flights carried their history.
void HeavyLauncher::rebuildLoadedFlight(const SavedFlight& saved) {
    if (!isConfigurationCode(configCode))
        configCode = 0;  // an unknown code names nothing: the launcher stands on the pad
    // Without a CONFIG line the history alone says where the flight stands.
    if (!saved.hasConfig && saved.hasHistory && saved.historyReadable &&
        possibleHistory(saved.history, saved.historyLength))
        configCode = standingAfter(saved.history, saved.historyLength).configCode;
    const bool useHistory = saved.hasHistory && saved.historyReadable &&
                            possibleHistory(saved.history, saved.historyLength) &&
                            standingAfter(saved.history, saved.historyLength).configCode == configCode;
    StagingEvent derived[kStagingEvents];
    if (useHistory) {
        replayStaging(saved.history, saved.historyLength);
        restoreFlightState(saved);
    } else {
        replayStaging(derived, historyFor(configCode, derived));
    }
}

// Runs the staging events again, in order, from the pad layout: the launcher
// is built up as it flew, with every event's own layouts and set-ups.
void HeavyLauncher::replayStaging(const StagingEvent* events, int count) {
    const double fairing = fairingAttached;
    rebuildingFlight = true;
    stagingEventCount = 0;
    stage = 0;
    boosterPairState = 0;
    stageTimerMode = stageTimerCount = 0;
    padLayout();
    for (int i = 0; i < count; ++i) {
        switch (events[i]) {
            case StagingEvent::Liftoff:
                liftOff();
                break;
            case StagingEvent::BoosterPair1:
                shedBoosterPair(0);
                break;
            case StagingEvent::BoosterPair2:
                shedBoosterPair(1);
                break;
            case StagingEvent::BoosterPair3:
                shedBoosterPair(2);
                break;
            case StagingEvent::SideCores:
                stage = 1;
                separateSideCores();
                break;
            case StagingEvent::Core:
                separateCore();
                break;
            case StagingEvent::Fairing:
                jettisonFairing();
                break;
            case StagingEvent::Payload:
                separatePayload();
                break;
        }
    }
    // Past the full stack no solid booster is left to shed.
    if (stage > 0)
        boosterPairState = 3;
    fairingAttached = fairing;
    rebuildingFlight = false;
}

// The stage, timers and engine levels the flight had, where they fit the
// configuration just rebuilt. An engine the saved flight had off goes off
// again: the simulator puts back only the levels that were above zero.
void HeavyLauncher::restoreFlightState(const SavedFlight& saved) {
    if (saved.hasStage && (saved.stage == stage || (stage == 1 && saved.stage == 2)))
        stage = static_cast<int>(saved.stage);
    if (saved.hasTimer) {
        const bool coreAttached = configCode == 1 && stage >= 1;
        const bool upperStageWaiting = configCode == 2 || configCode == 3;
        if (saved.timerMode == 0 || (saved.timerMode == 1 && upperStageWaiting) ||
            (saved.timerMode == 2 && coreAttached)) {
            stageTimerMode = saved.timerMode;
            stageTimerCount = saved.timerCount;
        }
    }
    if (saved.hasIgnition)
        ignitionSteps = saved.ignitionSteps;
    if (saved.hasCutoff)
        manualCoreCutoff = saved.manualCutoff;
    if (saved.hasEngine[0])
        SetThrusterGroupLevel(THGROUP_MAIN, saved.engines[0]);
    if (saved.hasEngine[1])
        SetThrusterLevel(leftCoreEngine, saved.engines[1]);
    if (saved.hasEngine[2])
        SetThrusterLevel(rightCoreEngine, saved.engines[2]);
}

// Once the simulator has put back the saved engine levels: the core engines
// point where the attitude controls had swung them.
void HeavyLauncher::clbkPostCreation() {
    steerCoreEngines();
}

}  // namespace heavy
