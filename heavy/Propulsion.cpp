// The five propulsion set-ups: tanks, engines, flames and streams of the pad
// stack, the full stack in flight, the centre core, the upper stage and the
// spent upper stage.
#include "AttitudeThrusters.h"
#include "ExhaustStreams.h"
#include "HeavyLauncher.h"
#include "ModuleState.h"
#include "PadIgnition.h"

namespace heavy {

namespace {

constexpr double kReferencePressure = 101400;
constexpr VECTOR3 kForward = {{0, 0, 1}};
constexpr VECTOR3 kAft = {{0, 0, -1}};

constexpr double kCoreTank = 199640;
constexpr double kUpperStageTank = 27220;
constexpr double kBoosterTank = 29949;
constexpr double kPadPooledTank = 626140;

constexpr double kCoreThrust = 3312000;
constexpr double kCoreIspVacuum = 4200;
constexpr double kCoreIspSeaLevel = 3650;
constexpr double kBoosterThrust = 851500;
constexpr double kBoosterIspVacuum = 2750;
constexpr double kBoosterIspSeaLevel = 2450;
constexpr double kUpperThrust = 66700;
constexpr double kUpperIspVacuum = 4100;

// Past this mission time a new centre-core set-up keeps the main group at 0.6.
constexpr double kCoreFullThrottleUntil = 251;

// Solid boosters by x, in the order they are created.
constexpr double kBoosterX[6] = {-0.9, 0.9, -5.121, -6.921, 5.121, 6.921};

// A stream drawn with the texture the module registered for its row.
void addStream(const VESSEL& v, THRUSTER_HANDLE th, const tarvik::StreamRow& row) {
    PARTICLESTREAMSPEC pss = tarvik::particleStream(row, registeredTexture(row.texture));
    v.AddExhaustStream(th, &pss);
}

void addStreamAt(const VESSEL& v, THRUSTER_HANDLE th, const VECTOR3& pos, const tarvik::StreamRow& row) {
    PARTICLESTREAMSPEC pss = tarvik::particleStream(row, registeredTexture(row.texture));
    v.AddExhaustStream(th, pos, &pss);
}

SURFHANDLE flameTexture() {
    return registeredTexture("tarvik/flame");
}

}  // namespace

void HeavyLauncher::setupPadPropulsion() {
    PROPELLANT_HANDLE pooled = CreatePropellantResource(kPadPooledTank, -1, 1);
    CreatePropellantResource(kCoreTank, -1, 1);
    CreatePropellantResource(kCoreTank, -1, 1);
    CreatePropellantResource(kUpperStageTank, -1, 1);

    // No thrust on the pad: the engines only show flames and clouds while the
    // pad holds the vehicle down.
    const VECTOR3 enginePos = _V(0, 0, -20);
    THRUSTER_HANDLE padHoverThruster = CreateThruster(enginePos, _V(1, 0, -1), 0, pooled, 4200, 0, kReferencePressure);
    mainEngine = CreateThruster(enginePos, kForward, 0, pooled, 4200, 0, kReferencePressure);
    leftCoreEngine = CreateThruster(enginePos, kForward, 0, pooled, 4200, 0, kReferencePressure);
    rightCoreEngine = CreateThruster(enginePos, kForward, 0, pooled, 4200, 0, kReferencePressure);
    CreateThrusterGroup(&mainEngine, 1, THGROUP_MAIN);
    CreateThrusterGroup(&padHoverThruster, 1, THGROUP_HOVER);

    tarvik::addPadIgnitionEffects(*this, mainEngine, flameTexture(), registeredTexture);

    tarvik::createAttitudeThrusters(*this, 1, 120000, 4200, pooled);
}

void HeavyLauncher::setupLiftoffPropulsion() {
    ClearPropellantResources();
    ClearThrusterDefinitions();
    flightLayout();

    PROPELLANT_HANDLE centreTank = CreatePropellantResource(kCoreTank, -1, 1);
    PROPELLANT_HANDLE leftTank = CreatePropellantResource(kCoreTank, -1, 1);
    PROPELLANT_HANDLE rightTank = CreatePropellantResource(kCoreTank, -1, 1);
    CreatePropellantResource(kUpperStageTank, -1, 1);
    PROPELLANT_HANDLE boosterTanks[6];
    for (PROPELLANT_HANDLE& tank : boosterTanks)
        tank = CreatePropellantResource(kBoosterTank, -1, 1);
    // Pairs in the order they leave: (-0.9, 0.9), (-5.121, 5.121), (6.921, -6.921).
    boosterPairTanks[0][0] = boosterTanks[0];
    boosterPairTanks[0][1] = boosterTanks[1];
    boosterPairTanks[1][0] = boosterTanks[2];
    boosterPairTanks[1][1] = boosterTanks[4];
    boosterPairTanks[2][0] = boosterTanks[5];
    boosterPairTanks[2][1] = boosterTanks[3];

    const VECTOR3 centrePos = _V(0, 0, -22), leftPos = _V(6.2, 0, -22), rightPos = _V(-6.2, 0, -22);
    mainEngine = CreateThruster(centrePos, kForward, kCoreThrust, centreTank, kCoreIspVacuum, kCoreIspSeaLevel,
                                kReferencePressure);
    leftCoreEngine =
        CreateThruster(leftPos, kForward, kCoreThrust, leftTank, kCoreIspVacuum, kCoreIspSeaLevel, kReferencePressure);
    rightCoreEngine = CreateThruster(rightPos, kForward, kCoreThrust, rightTank, kCoreIspVacuum, kCoreIspSeaLevel,
                                     kReferencePressure);
    THRUSTER_HANDLE boosterEngines[6];
    for (int i = 0; i < 6; ++i)
        boosterEngines[i] = CreateThruster(_V(kBoosterX[i], 0, -17), kForward, kBoosterThrust, boosterTanks[i],
                                           kBoosterIspVacuum, kBoosterIspSeaLevel, kReferencePressure);

    // Only the centre core answers the throttle; side cores and boosters are
    // driven by the timeline.
    CreateThrusterGroup(&mainEngine, 1, THGROUP_MAIN);

    AddExhaust(mainEngine, 65, 2.1, centrePos, kAft, flameTexture());
    AddExhaust(leftCoreEngine, 65, 2.1, leftPos, kAft, flameTexture());
    AddExhaust(rightCoreEngine, 65, 2.1, rightPos, kAft, flameTexture());
    AddExhaust(mainEngine, 1.3, 1.3, _V(0, 0, -21.5), kAft, nullptr);
    AddExhaust(leftCoreEngine, 1.3, 1.3, _V(6.2, 0, -21.5), kAft, nullptr);
    AddExhaust(rightCoreEngine, 1.3, 1.3, _V(-6.2, 0, -21.5), kAft, nullptr);
    for (int i = 0; i < 6; ++i)
        AddExhaust(boosterEngines[i], 55, 5, _V(kBoosterX[i], 3.5, -17), kAft, registeredTexture("tarvik/gem1"));

    for (int i = 0; i < 6; ++i)
        addStreamAt(*this, boosterEngines[i], _V(kBoosterX[i], 3.5, -18), kBoosterSmoke);
    for (int i = 0; i < 6; ++i)
        addStreamAt(*this, boosterEngines[i], _V(kBoosterX[i], 3.5, -17), kBoosterFlame);
    const THRUSTER_HANDLE cores[3] = {mainEngine, leftCoreEngine, rightCoreEngine};
    for (const tarvik::StreamRow* row : {&kCoreGlow, &kCoreFlame, &kCoreVacuumPlume, &kCoreExhaust})
        for (THRUSTER_HANDLE core : cores)
            addStream(*this, core, *row);

    tarvik::createAttitudeThrusters(*this, 1, 120000, 4100, centreTank);

    SetThrusterGroupLevel(THGROUP_MAIN, 1);
    SetThrusterLevel(leftCoreEngine, 1);
    SetThrusterLevel(rightCoreEngine, 1);
    for (THRUSTER_HANDLE booster : boosterEngines)
        SetThrusterLevel(booster, 1);
}

void HeavyLauncher::setupCorePropulsion() {
    // Everything still on board goes into the one remaining core tank.
    const double carriedOver = GetFuelMass();

    ClearPropellantResources();
    SURFHANDLE flame = oapiRegisterExhaustTexture(const_cast<char*>("tarvik/flame"));
    SURFHANDLE exhaust = oapiRegisterExhaustTexture(const_cast<char*>("tarvik/Exhaust"));
    SURFHANDLE exhaustM = oapiRegisterExhaustTexture(const_cast<char*>("tarvik/ExhaustM"));
    SURFHANDLE exhaust2 = oapiRegisterParticleTexture(const_cast<char*>("tarvik/exhaust2"));
    PROPELLANT_HANDLE tank = CreatePropellantResource(carriedOver, -1, 1);
    SetPropellantMaxMass(tank, kCoreTank);
    SetPropellantMass(tank, carriedOver);

    DelThrusterGroup(THGROUP_MAIN, true);
    mainEngine = CreateThruster(_V(0, 0, -32), kForward, kCoreThrust, tank, kCoreIspVacuum, kCoreIspSeaLevel,
                                kReferencePressure);
    CreateThrusterGroup(&mainEngine, 1, THGROUP_MAIN);

    AddExhaust(mainEngine, 65, 2.1, flame);
    AddExhaust(mainEngine, 1.3, 1.3, _V(0, 0, -31.5), kAft, nullptr);
    // Drawn with textures of its own: the glow with the particle texture "tarvik/exhaust2".
    PARTICLESTREAMSPEC glow = tarvik::particleStream(kStageGlow, exhaust2);
    PARTICLESTREAMSPEC exhaustStream = tarvik::particleStream(kCoreAloneExhaust, exhaust);
    PARTICLESTREAMSPEC plume = tarvik::particleStream(kStageVacuumPlume, exhaustM);
    AddExhaustStream(mainEngine, &glow);
    AddExhaustStream(mainEngine, &exhaustStream);
    AddExhaustStream(mainEngine, &plume);

    tarvik::createAttitudeThrusters(*this, 1, 44000, 4200, tank);

    SetThrusterGroupLevel(THGROUP_MAIN, 0.6);
    if (missionTime < kCoreFullThrottleUntil)
        SetThrusterGroupLevel(THGROUP_MAIN, 1);
}

void HeavyLauncher::setupUpperStagePropulsion() {
    ClearPropellantResources();
    PROPELLANT_HANDLE tank = CreatePropellantResource(kUpperStageTank, -1, 1);

    DelThrusterGroup(THGROUP_MAIN, true);
    THRUSTER_HANDLE upperStageEngines[3];
    for (THRUSTER_HANDLE& engine : upperStageEngines)
        engine = CreateThruster(_V(0, 0, -11), kForward, kUpperThrust, tank, kUpperIspVacuum, 10, kReferencePressure);
    mainEngine = upperStageEngines[0];
    CreateThrusterGroup(upperStageEngines, 3, THGROUP_MAIN);

    const VECTOR3 flamePos[3] = {_V(0, 0.9, -9.05), _V(0.9, -0.8, -9.05), _V(-0.9, -0.8, -9.05)};
    for (int i = 0; i < 3; ++i) {
        AddExhaust(upperStageEngines[i], 17, 0.8, flamePos[i], kAft, flameTexture());
        AddExhaust(upperStageEngines[i], 17, 0.8, flamePos[i], kAft, flameTexture());
    }
    SetCrossSections(_V(2, 0, 6));
    addStreamAt(*this, mainEngine, _V(0, 0, -52), kStageGlow);
    addStreamAt(*this, mainEngine, _V(0, 0, -11), kUpperStageExhaust);
    addStreamAt(*this, mainEngine, _V(0, 0, -11), kStageVacuumPlume);

    tarvik::createAttitudeThrusters(*this, 2, 44000, 4100, tank);

    // Wait before lighting the upper stage.
    stageTimerMode = 1;
}

void HeavyLauncher::setupSpentStagePropulsion() {
    PROPELLANT_HANDLE tank = CreatePropellantResource(kUpperStageTank, -1, 1);

    DelThrusterGroup(THGROUP_MAIN, true);
    mainEngine = CreateThruster(_V(0, 0, -19), kForward, kUpperThrust, tank, kUpperIspVacuum, 0, kReferencePressure);
    CreateThrusterGroup(&mainEngine, 1, THGROUP_MAIN);

    AddExhaust(mainEngine, 20, 1, _V(0, 0, -7), kAft, flameTexture());
    addStreamAt(*this, mainEngine, _V(0, 0, -48), kStageGlow);
    addStreamAt(*this, mainEngine, _V(0, 0, -7), kUpperStageExhaust);
    addStreamAt(*this, mainEngine, _V(0, 0, -7), kStageVacuumPlume);

    tarvik::createAttitudeThrusters(*this, 1, 44000, 4100, tank);
}

}  // namespace heavy
