// The stage set-ups: the tanks, engines, attitude thrusters, flames and
// particle streams of each phase of flight. Each one replaces the previous
// stage's main engine; the handles go to the module-wide engine variables.
#include "AttitudeThrusters.h"
#include "MediumLauncher.h"
#include "ModuleState.h"
#include "PadIgnition.h"
#include "ParticleStreams.h"
#include "Textures.h"
#include "variants/VariantRecord.h"

namespace medium {
namespace {

constexpr double kReferencePressure = 101400;
constexpr double kVapourIsp = 31415926.535897933;  // the vapour effect must never empty the tank
constexpr double kCoreThrust = 3312760;
constexpr double kCoreIspVacuum = 4200;
constexpr double kCoreIspSeaLevel = 3650;
constexpr double kBoosterThrust = 851500;
constexpr double kBoosterIspVacuum = 2750;
constexpr double kBoosterIspSeaLevel = 2450;
constexpr double kUpperStageThrust = 110100;
constexpr double kUpperStageIsp = 4620;
constexpr double kPadIsp = 4200;
const VECTOR3 kForward = {0, 0, 1};
const VECTOR3 kAft = {0, 0, -1};

// Solid booster engines in the order of the booster engine handles.
const VECTOR3 kBoosterEnginePositions[4] = {{3.7, 1, -17}, {-3.7, -1, -17}, {3.7, -1, -17}, {-3.7, 1, -17}};

}  // namespace

void MediumLauncher::addStream(THRUSTER_HANDLE th, const tarvik::StreamRow& row, const VECTOR3* pos, double size) {
    PARTICLESTREAMSPEC stream = tarvik::particleStream(row, registeredTexture(row.texture));
    if (size > 0)
        stream.srcsize = size;
    if (pos)
        AddExhaustStream(th, *pos, &stream);
    else
        AddExhaustStream(th, &stream);
}

void MediumLauncher::padIgnitionSetup() {
    PROPELLANT_HANDLE tank = CreatePropellantResource(1, 1, 1.0);
    PROPELLANT_HANDLE sideTank = kVariant.padIgnitionFeedsAllThrusters ? tank : nullptr;
    const VECTOR3 pos = _V(0, 0, -20);
    THRUSTER_HANDLE padHoverThruster = CreateThruster(pos, _V(1, 0, -1), 0, sideTank, kPadIsp, 0, kReferencePressure);
    mainEngine = CreateThruster(pos, kForward, 0, tank, kPadIsp, 0, kReferencePressure);
    boosterEngines[0] = CreateThruster(pos, kForward, 0, sideTank, kPadIsp, 0, kReferencePressure);
    boosterEngines[1] = CreateThruster(pos, kForward, 0, sideTank, kPadIsp, 0, kReferencePressure);
    CreateThrusterGroup(&mainEngine, 1, THGROUP_MAIN);
    CreateThrusterGroup(&padHoverThruster, 1, THGROUP_HOVER);
    tarvik::addPadIgnitionEffects(*this, mainEngine, registeredTexture("tarvik/TVHV_Exhaust"), registeredTexture);
}

void MediumLauncher::liftoffSetup() {
    ClearPropellantResources();
    ClearThrusterDefinitions();
    liftoffLayout();

    PROPELLANT_HANDLE coreTank = CreatePropellantResource(kVariant.corePropellant);
    PROPELLANT_HANDLE boosterTanks[4] = {};
    for (int i = 0; i < kVariant.boosterCount; ++i)
        boosterTanks[i] = CreatePropellantResource(kVariant.boosterPropellant);
    CreatePropellantResource(kVariant.upperStagePropellant);

    vapourThruster =
        CreateThruster(_V(0, 0, kVariant.vapourThrusterZ), kForward, 0, coreTank, kVapourIsp, 0, kReferencePressure);
    addStream(vapourThruster, kVapour, nullptr, kVariant.vapourStreamSize);

    mainEngine = CreateThruster(_V(0, 0, -22), kForward, kCoreThrust, coreTank, kCoreIspVacuum, kCoreIspSeaLevel,
                                kReferencePressure);
    for (int i = 0; i < kVariant.boosterCount; ++i)
        boosterEngines[i] = CreateThruster(kBoosterEnginePositions[i], kForward, kBoosterThrust, boosterTanks[i],
                                           kBoosterIspVacuum, kBoosterIspSeaLevel, kReferencePressure);

    CreateThrusterGroup(&mainEngine, 1, THGROUP_MAIN);
    AddExhaust(mainEngine, 65, 2.1, registeredTexture("tarvik/TVHV_Exhaust"));
    for (int i = 0; i < kVariant.boosterCount; ++i)
        AddExhaust(boosterEngines[i], 55, 5, registeredTexture("tarvik/gem1"));
    AddExhaust(mainEngine, 1.3, 1.3, _V(0, 0, -21.5), kAft);

    for (const tarvik::StreamRow* s : kVariant.liftoffCoreStreams)
        addStream(mainEngine, *s);
    for (int i = 0; i < kVariant.boosterCount; ++i) {
        const VECTOR3& p = kBoosterEnginePositions[i];
        const VECTOR3 trailPos = _V(p.x, p.y, -50);
        const VECTOR3 flamePos = _V(p.x, p.y, -19);
        addStream(boosterEngines[i], kBoosterTrail, &trailPos);
        addStream(boosterEngines[i], *kVariant.boosterFlameStream,
                  kVariant.boosterFlameStreamBesideBooster ? &flamePos : nullptr);
    }

    tarvik::createAttitudeThrusters(*this, 1, 150000, 4620, coreTank);

    SetThrusterGroupLevel(THGROUP_MAIN, 1.0);
    for (int i = 0; i < kVariant.boosterCount; ++i)
        SetThrusterLevel(boosterEngines[i], 1.0);
}

void MediumLauncher::boosterJettisonSetup() {
    // What the core tank still holds carries over into the core stage's own tank.
    const double coreFuel = GetFuelMass();
    ClearPropellantResources();
    PROPELLANT_HANDLE coreTank = CreatePropellantResource(coreFuel);
    SetPropellantMaxMass(coreTank, kVariant.corePropellant);
    SetPropellantMass(coreTank, coreFuel);
    if (kVariant.coreBurnsFromPad)
        CreatePropellantResource(kVariant.upperStagePropellant);

    DelThrusterGroup(THGROUP_MAIN, true);
    mainEngine = CreateThruster(_V(0, 0, -32), kForward, kCoreThrust, coreTank, kCoreIspVacuum, kCoreIspSeaLevel,
                                kReferencePressure);
    CreateThrusterGroup(&mainEngine, 1, THGROUP_MAIN);
    AddExhaust(mainEngine, 65, 2.1, registeredTexture("tarvik/TVHV_Exhaust"));
    AddExhaust(mainEngine, 1.3, 1.3, _V(0, 0, -31.5), kAft);
    for (int i = 0; i < kVariant.coreAloneStreamCount; ++i)
        addStream(mainEngine, *kVariant.coreAloneStreams[i]);

    tarvik::createAttitudeThrusters(*this, 1, 44000, 4200, coreTank);
    SetThrusterGroupLevel(THGROUP_MAIN, kVariant.coreBurnsFromPad ? 0.6 : 1.0);
}

void MediumLauncher::upperStageSetup() {
    ClearPropellantResources();
    PROPELLANT_HANDLE tank = CreatePropellantResource(kVariant.upperStagePropellant);

    DelThrusterGroup(THGROUP_MAIN, true);
    mainEngine =
        CreateThruster(_V(0, 0, -19), kForward, kUpperStageThrust, tank, kUpperStageIsp, 0, kReferencePressure);
    CreateThrusterGroup(&mainEngine, 1, THGROUP_MAIN);
    AddExhaust(mainEngine, 20, 1, _V(0, 0, -12), kAft);

    SetCrossSections(_V(2, 0, 6));
    tarvik::createAttitudeThrusters(*this, 2, 44000, 4620, tank);

    // Lit by the stage timer only when the stage separates in time; the count itself carries on.
    stageTimerMode = missionTime < kVariant.upperStageCountdownCutoff ? 1.0 : 0.0;
    ShiftCentreOfMass(_V(0, 0, 10));
}

void MediumLauncher::payloadStageSetup() {
    // The stage flies on with the tank it had when the payload left; a stage
    // rebuilt without one gets a full one.
    PROPELLANT_HANDLE tank = GetPropellantHandleByIndex(0);
    if (!tank)
        tank = CreatePropellantResource(kVariant.upperStagePropellant);
    DelThrusterGroup(THGROUP_MAIN, true);
    mainEngine =
        CreateThruster(_V(0, 0, -19), kForward, kUpperStageThrust, tank, kUpperStageIsp, 0, kReferencePressure);
    CreateThrusterGroup(&mainEngine, 1, THGROUP_MAIN);
    AddExhaust(mainEngine, 20, 1, _V(0, 0, kVariant.payloadStageExhaustZ), kAft);
    tarvik::createAttitudeThrusters(*this, 1, 44000, 4620, tank);
}

}  // namespace medium
