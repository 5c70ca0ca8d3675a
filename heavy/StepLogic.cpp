// Every step: the pad hold-down and mission clock before the host's update;
// the mission-time display, thrust vectoring, stage timers and the staging
// timeline after it.
#include <cstdio>

#include "HeavyLauncher.h"
#include "ModuleState.h"
#include "StepCounters.h"

namespace heavy {

namespace {

constexpr double kUpperStageIgnitionSteps = 700;

double timeAcceleration() {
    return oapiGetTimeAcceleration();
}

char missionTimeLabel[] = "Mission time:";

}  // namespace

void HeavyLauncher::clbkPreStep(double simt, double simdt, double mjd) {
    // Once the pilot opens the throttle on the pad the engines go to full
    // and the simulation runs in real time.
    if (tarvik::padHoldDownStep(*this, configCode, ignitionSteps, tarvik::Release::OnCountWithThrust))
        liftOff();
    tarvik::runMissionClock(*this, missionTime, simdt);
}

void HeavyLauncher::clbkPostStep(double simt, double simdt, double mjd) {
    showMissionTime();
    steerCoreEngines();
    runTimers();
    runTimeline();
}

void HeavyLauncher::showMissionTime() {
    std::snprintf(missionTimeText, sizeof(missionTimeText), "%.5g", missionTime);
    oapiAnnotationSetText(annotMissionLabel, missionTimeLabel);
    oapiAnnotationSetText(annotMissionValue, missionTimeText);
}

// The pilot's attitude controls swing the core engines while the full stack
// flies: the centre engine for pitch and yaw, the side engines in opposite
// senses for roll.
void HeavyLauncher::steerCoreEngines() {
    const double pitchGimbal =
        0.05 * (GetThrusterGroupLevel(THGROUP_ATT_PITCHDOWN) - GetThrusterGroupLevel(THGROUP_ATT_PITCHUP));
    const double yawGimbal =
        0.05 * (GetThrusterGroupLevel(THGROUP_ATT_YAWLEFT) - GetThrusterGroupLevel(THGROUP_ATT_YAWRIGHT));
    const double bankLeft = GetThrusterGroupLevel(THGROUP_ATT_BANKLEFT);
    const double bankRight = GetThrusterGroupLevel(THGROUP_ATT_BANKRIGHT);
    const double rollGimbalLeft = 0.06666666666666667 * (bankLeft - bankRight);
    const double rollGimbalRight = 0.06666666666666667 * (bankRight - bankLeft);
    if (configCode == 4) {
        SetThrusterDir(mainEngine, _V(yawGimbal, 0.5 * pitchGimbal, 1));
        SetThrusterDir(leftCoreEngine, _V(0, 0.5 * rollGimbalLeft, 1));
        SetThrusterDir(rightCoreEngine, _V(0, 0.5 * rollGimbalRight, 1));
    }
}

void HeavyLauncher::runTimers() {
    if (tarvik::stageTimerStep(*this, stageTimerMode, stageTimerCount, kUpperStageIgnitionSteps) ==
        tarvik::StageTimerEvent::CoreSeparates)
        separateCore();
}

// The staging timeline; every row is tested on every step, in this order.
void HeavyLauncher::runTimeline() {
    // A window of the mission clock, open at both ends.
    auto within = [this](double from, double to) { return tarvik::within(missionTime, from, to); };
    // A staging event has no end to its window: it fires on the first step past
    // the start while its state has not moved on, so that a step at high time
    // acceleration that jumps over the whole window sheds all the same.
    auto past = [this](double from) { return missionTime > from; };

    // Centre core throttles back to 0.6 while the side cores stay at full.
    if (within(56, 70) && stage == 0 && GetThrusterGroupLevel(THGROUP_MAIN) > 0.6 && timeAcceleration() < 2)
        SetThrusterGroupLevel(THGROUP_MAIN, GetThrusterGroupLevel(THGROUP_MAIN) - 0.0017);
    if (within(56, 70) && stage == 0 && GetThrusterGroupLevel(THGROUP_MAIN) > 0.6 && timeAcceleration() > 1)
        SetThrusterGroupLevel(THGROUP_MAIN, 0.6);

    // Solid boosters leave in pairs, from the stack that carries them; their
    // tanks are emptied.
    if (past(100) && boosterPairState == 0 && stage == 0)
        shedBoosterPair(0);
    if (past(102) && boosterPairState == 1 && stage == 0)
        shedBoosterPair(1);
    if (past(104) && boosterPairState == 2 && stage == 0)
        shedBoosterPair(2);

    // Side cores throttle down, then separate.
    if (within(238, 252) && stage == 0 && GetThrusterLevel(leftCoreEngine) > 0.6 && timeAcceleration() > 1) {
        SetThrusterLevel(leftCoreEngine, 0.6);
        SetThrusterLevel(rightCoreEngine, 0.6);
    }
    if (within(238, 252) && stage == 0 && GetThrusterLevel(leftCoreEngine) > 0.6 && timeAcceleration() < 2) {
        SetThrusterLevel(leftCoreEngine, GetThrusterLevel(leftCoreEngine) - 0.001);
        SetThrusterLevel(rightCoreEngine, GetThrusterLevel(rightCoreEngine) - 0.001);
    }
    if (within(246, 251) && stage == 0 && GetThrusterLevel(leftCoreEngine) > 0.1) {
        SetThrusterLevel(leftCoreEngine, GetThrusterLevel(leftCoreEngine) - 0.01);
        SetThrusterLevel(rightCoreEngine, GetThrusterLevel(rightCoreEngine) - 0.01);
    }
    if (past(251) && stage == 0) {
        oapiSetTimeAcceleration(1);
        stage = 1;
        separateSideCores();
    }

    // Centre core back up to full, then cut off and separated.
    if (within(257, 272) && stage == 1) {
        SetThrusterGroupLevel(THGROUP_MAIN, GetThrusterGroupLevel(THGROUP_MAIN) + 0.0015);
        if (timeAcceleration() > 1)
            SetThrusterGroupLevel(THGROUP_MAIN, 1);
    }
    // A pilot who throttled the core right down takes the cut-off and the
    // separation into his own hands.
    if (within(263, 326) && GetThrusterGroupLevel(THGROUP_MAIN) < 0.1 && GetFuelMass() > 1)
        manualCoreCutoff = 1;
    if (past(327) && stage == 1 && manualCoreCutoff == 0)
        SetThrusterGroupLevel(THGROUP_MAIN, 0);
    if (past(332) && stage == 1 && manualCoreCutoff == 0) {
        oapiSetTimeAcceleration(1);
        stageTimerMode = 2;
        stage = 2;
    }
}

}  // namespace heavy
