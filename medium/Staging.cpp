// The staging machine: the pad hold-down and lift-off counted in steps, the
// mission-time windows of the timeline, the stage timer, and keys F and J.
#include "MediumLauncher.h"
#include "ModuleState.h"
#include "StepCounters.h"
#include "variants/VariantRecord.h"

namespace medium {

using tarvik::within;

void MediumLauncher::preStepStaging(double dt) {
    if (stageRebuildRequest == 1.0) {
        padIgnitionSetup();
        stageRebuildRequest = 0;
    }
    // From ignition to release the engines run at full thrust in real time.
    if (tarvik::padHoldDownStep(*this, configCode, ignitionSteps, tarvik::Release::OnCount)) {
        recordStagingEvent(StagingEvent::Liftoff);
        liftoffSetup();
        SetThrusterGroupLevel(THGROUP_HOVER, 0);
    }
    tarvik::runMissionClock(*this, missionTime, dt);
}

void MediumLauncher::postStepStaging() {
    const double t = missionTime;

    if (tarvik::stageTimerStep(*this, stageTimerMode, stageTimerCount, kVariant.upperStageIgnitionSteps) ==
        tarvik::StageTimerEvent::CoreSeparates)
        coreSeparation();
    if (kVariant.boosterCount == 4)
        secondBoosterPair();

    // Booster tail-off and cut.
    if (within(t, 94, 97) && stage == 0 && kVariant.boosterCount > 0) {
        for (int i = 0; i < kVariant.boosterCount; ++i)
            SetThrusterLevel(boosterEngines[i], GetThrusterLevel(boosterEngines[i]) - 0.007);
        if (GetThrusterLevel(boosterEngines[0]) < 0.01)
            for (int i = 0; i < kVariant.boosterCount; ++i)
                SetThrusterLevel(boosterEngines[i], 0);
    }
    if (within(t, 97, 98) && stage == 0 && (!kVariant.boosterCutOnlyUnderWarp || oapiGetTimeAcceleration() > 1))
        for (int i = 0; i < kVariant.boosterCount; ++i)
            SetThrusterLevel(boosterEngines[i], 0);

    if (within(t, 99.9, 100.9) && stage == 0) {
        if (kVariant.boosterCount > 0) {
            oapiSetTimeAcceleration(1);
            stage = 1;
            boosterJettison();
        } else {
            stage = 1;  // the core alone flies on; nothing changes shape
        }
    }

    // Core throttle-down and cut-off.
    const CoreThrottleDown& down = kVariant.coreThrottleDown;
    if (within(t, 242, 252) && stage == 1 && GetThrusterLevel(mainEngine) > 0.01 &&
        (!down.onlyBelowWarp2 || oapiGetTimeAcceleration() < 2)) {
        if (down.wholeMainGroup)
            SetThrusterGroupLevel(THGROUP_MAIN, GetThrusterGroupLevel(THGROUP_MAIN) - down.stepPerFrame);
        else
            SetThrusterLevel(mainEngine, GetThrusterLevel(mainEngine) - down.stepPerFrame);
    }
    if (within(t, 252, 253) && stage == 1 && GetThrusterLevel(mainEngine) > 0.001)
        SetThrusterLevel(mainEngine, 0);
    if (within(t, 253, 254) && stage == 1) {
        separationShown = 1.0;
        oapiSetTimeAcceleration(1);
        stageTimerMode = 2.0;
        stage = 2;
    }

    // Condensation around the stack through the transonic range.
    if (vapourThruster) {
        const double v = GetAirspeed();
        const double level = GetThrusterLevel(vapourThruster);
        if (within(v, 220, 350))
            SetThrusterLevel(vapourThruster, level + 0.0004 < 1 ? level + 0.0004 : 1);
        else if (within(v, 355, 485))
            SetThrusterLevel(vapourThruster, level - 0.001 > 0 ? level - 0.001 : 0);
        else if (within(v, 485, 550))
            SetThrusterLevel(vapourThruster, 0);
    }
}

void MediumLauncher::stagingKey(DWORD key) {
    const int stageWhenPressed = stage;
    if (key == OAPI_KEY_F) {
        const bool allowed = kVariant.coreBurnsFromPad ? stage == 1 || stage == 2 || (stage == 0 && !GroundContact())
                                                       : stage == 2 || (stage == 1 && boosterSpawnPending == 0);
        if (allowed)
            fairingJettison();
    } else if (key == OAPI_KEY_J) {
        if (stage == 1) {
            if (kVariant.coreBurnsFromPad)
                coreSeparation();
            else
                stageTimerMode = 2.0;  // the core separates after the countdown
        } else if (stage == 0 && !GroundContact()) {
            if (kVariant.coreBurnsFromPad)
                coreSeparation();
            else
                boosterJettison();
        }
        // One press does one thing: the payload goes only from the stage the key found.
        if (stageWhenPressed == stage && (stage == 3 || (stage == 2 && fairingAttached == 0)))
            payloadRelease();
    }
}

}  // namespace medium
