// Staging events: each rebuilds the launcher for what is left and sets the
// shed parts free as vessels of their own, with the launcher's position,
// velocity and attitude, offset and pushed away.
#include "HeavyLauncher.h"
#include "ModuleState.h"
#include "PartRelease.h"

namespace heavy {

namespace {

struct ShedPart {
    const char* suffix;  // appended to the launcher's name
    const char* className;
    VECTOR3 pos;   // launcher frame [m]
    VECTOR3 push;  // added velocity, launcher frame [m/s]
    tarvik::PartSpin spin;
};

// clang-format off
//                               suffix      class                  position      push            spin: set x, set y, x, y
const ShedPart kFairingHalf1  = {"fairing1", "tarvik/fair1",        {{0, 0, 0}},  {{ 6,  0,  0}}, {false, true,  0,   -0.1}};
const ShedPart kFairingHalf2  = {"fairing2", "tarvik/fair2",        {{0, 0, 0}},  {{-6,  0,  0}}, {false, true,  0,    0.1}};
const ShedPart kCentreCore    = {"1st",      "tarvik/1st",          {{0, 0, 0}},  {{ 0,  0, -2}}, {false, false, 0,    0}};
const ShedPart kRightSideCore = {"booster1", "tarvik/rightbooster", {{0, 0, 0}},  {{-7,  0,  0}}, {false, true,  0,    0.14}};
const ShedPart kLeftSideCore  = {"booster2", "tarvik/leftbooster",  {{0, 0, 0}},  {{ 7,  0,  0}}, {false, true,  0,   -0.14}};
// All six solid boosters fly under one name.
const ShedPart kBooster[6] = {
    {"gem1", "tarvik/gem1SH", {{-0.9,   3.5, -8.4}}, {{-1, 20, 0}}, {true, true, 0.4,  0.1}},
    {"gem1", "tarvik/gem1SH", {{ 0.9,   3.5, -8.4}}, {{ 1, 20, 0}}, {true, true, 0.4, -0.1}},
    {"gem1", "tarvik/gem1SH", {{-5.121, 3.5, -8.4}}, {{ 0, 20, 0}}, {true, true, 0.4,  0.3}},
    {"gem1", "tarvik/gem1SH", {{ 5.121, 3.5, -8.4}}, {{ 0, 20, 0}}, {true, true, 0.4, -0.3}},
    {"gem1", "tarvik/gem1SH", {{ 6.921, 3.5, -8.4}}, {{ 0, 20, 0}}, {true, true, 0.4, -0.3}},
    {"gem1", "tarvik/gem1SH", {{-6.921, 3.5, -8.4}}, {{ 0, 20, 0}}, {true, true, 0.4,  0.3}},
};
// clang-format on

constexpr double kPayloadMountZ = 2.44;
constexpr double kSpentStageMass = 3490;

// A part named after the launcher, from the launcher's present state. While
// a loaded flight is rebuilt the parts it shed are in the scenario already,
// and nothing is created.
void shed(const VESSEL& launcher, bool rebuilding, const ShedPart& part) {
    if (rebuilding)
        return;
    char name[tarvik::kPartNameSize];
    tarvik::releasePart(launcher, tarvik::partName(launcher, part.suffix, name, sizeof name), part.className, part.pos,
                        part.push, part.spin);
}

}  // namespace

// The pad lets go: all three cores and the six solid boosters at full thrust.
void HeavyLauncher::liftOff() {
    setupLiftoffPropulsion();
    SetThrusterGroupLevel(THGROUP_HOVER, 0);
    recordStagingEvent(StagingEvent::Liftoff);
}

void HeavyLauncher::jettisonBoosterPair1() {
    shed(*this, rebuildingFlight, kBooster[0]);
    shed(*this, rebuildingFlight, kBooster[1]);
    fourBoosterLayout();
    recordStagingEvent(StagingEvent::BoosterPair1);
}

void HeavyLauncher::jettisonBoosterPair2() {
    shed(*this, rebuildingFlight, kBooster[2]);
    shed(*this, rebuildingFlight, kBooster[3]);
    twoBoosterLayout();
    recordStagingEvent(StagingEvent::BoosterPair2);
}

void HeavyLauncher::jettisonBoosterPair3() {
    shed(*this, rebuildingFlight, kBooster[4]);
    shed(*this, rebuildingFlight, kBooster[5]);
    noBoosterLayout();
    recordStagingEvent(StagingEvent::BoosterPair3);
}

// A pair leaves: counted, and its two tanks emptied.
void HeavyLauncher::shedBoosterPair(int pair) {
    if (pair == 0)
        jettisonBoosterPair1();
    else if (pair == 1)
        jettisonBoosterPair2();
    else
        jettisonBoosterPair3();
    boosterPairState = pair + 1;
    SetPropellantMass(boosterPairTanks[pair][0], 0);
    SetPropellantMass(boosterPairTanks[pair][1], 0);
}

void HeavyLauncher::separateSideCores() {
    if (!rebuildingFlight) {
        ActivateNavmode(NAVMODE_KILLROT);
        DeactivateNavmode(NAVMODE_KILLROT);
    }
    coreLayout();
    shed(*this, rebuildingFlight, kRightSideCore);
    shed(*this, rebuildingFlight, kLeftSideCore);
    setupCorePropulsion();
    recordStagingEvent(StagingEvent::SideCores);
}

void HeavyLauncher::separateCore() {
    if (!rebuildingFlight) {
        ActivateNavmode(NAVMODE_KILLROT);
        DeactivateNavmode(NAVMODE_KILLROT);
    }
    upperStageLayout();
    shed(*this, rebuildingFlight, kCentreCore);
    recordStagingEvent(StagingEvent::Core);
}

void HeavyLauncher::jettisonFairing() {
    if (stage != 2)
        return;
    bareUpperStageLayout();
    configCode = 3;
    if (fairingAttached == 1) {
        shed(*this, rebuildingFlight, kFairingHalf1);
        shed(*this, rebuildingFlight, kFairingHalf2);
    }
    recordStagingEvent(StagingEvent::Fairing);
}

// The spent stage's engine is cut as the payload leaves, and an ignition
// still waiting is called off, so the stage falls behind its payload.
void HeavyLauncher::separatePayload() {
    configCode = 5;
    stage = 4;
    SetEmptyMass(kSpentStageMass);
    ClearMeshes();
    const VECTOR3 spentPos = _V(0, -0.12, -4.25);
    AddMesh(oapiLoadMeshGlobal("tarvik/2nd"), &spentPos);
    SetSize(5.5);
    SetThrusterGroupLevel(THGROUP_MAIN, 0);
    stageTimerMode = 0;
    stageTimerCount = 0;
    if (!rebuildingFlight)
        tarvik::releasePart(*this, payloadClassName.c_str(), payloadClassName.c_str(),
                            _V(0, 0, payloadZOffset + kPayloadMountZ), _V(0, 0, 1));
    ShiftCG(_V(0, 0, -10));
    if (!rebuildingFlight)
        oapiSetFocusObject(oapiGetVesselByName(payloadClassName.data()));
    recordStagingEvent(StagingEvent::Payload);
}

}  // namespace heavy
