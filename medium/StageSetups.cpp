// The stage set-ups: the tanks, engines, attitude thrusters, flames and
// particle streams of each phase of flight. Each one replaces the previous
// stage's main engine; the handles go to the module-wide engine variables.
#include "MediumLauncher.h"
#include "ModuleState.h"
#include "ParticleStreams.h"
#include "Textures.h"
#include "variants/VariantSpec.h"

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

// The attitude thruster block every flight stage carries; x is scaled by the stage's arm.
struct AttitudeThruster {
    VECTOR3 pos;
    VECTOR3 dir;
};

// clang-format off
const AttitudeThruster kAttitudeThrusters[14] = {
    {{ 1, 0,  3}, { 0,  1, 0}},  //  1
    {{ 1, 0,  3}, { 0, -1, 0}},  //  2
    {{-1, 0,  3}, { 0,  1, 0}},  //  3
    {{-1, 0,  3}, { 0, -1, 0}},  //  4
    {{ 1, 0, -3}, { 0,  1, 0}},  //  5
    {{ 1, 0, -3}, { 0, -1, 0}},  //  6
    {{-1, 0, -3}, { 0,  1, 0}},  //  7
    {{-1, 0, -3}, { 0, -1, 0}},  //  8
    {{ 1, 0,  3}, {-1,  0, 0}},  //  9
    {{-1, 0,  3}, { 1,  0, 0}},  // 10
    {{ 1, 0, -3}, {-1,  0, 0}},  // 11
    {{-1, 0, -3}, { 1,  0, 0}},  // 12
    {{ 0, 0, -3}, { 0,  0, 1}},  // 13
    {{ 0, 0,  3}, { 0,  0,-1}},  // 14
};

struct AttitudeGroup {
    THGROUP_TYPE type;
    int count;
    int members[4];  // 1-based, as the thrusters are numbered above
};

// In creation order.
const AttitudeGroup kAttitudeGroups[] = {
    {THGROUP_ATT_PITCHUP,   4, {1, 3, 6, 8}},
    {THGROUP_ATT_PITCHDOWN, 4, {2, 4, 5, 7}},
    {THGROUP_ATT_BANKLEFT,  4, {1, 5, 4, 8}},
    {THGROUP_ATT_BANKRIGHT, 4, {2, 6, 3, 7}},
    {THGROUP_ATT_UP,        4, {1, 5, 3, 7}},
    {THGROUP_ATT_DOWN,      4, {2, 6, 4, 8}},
    {THGROUP_ATT_YAWLEFT,   2, {9, 12}},
    {THGROUP_ATT_YAWRIGHT,  2, {10, 11}},
    {THGROUP_ATT_LEFT,      2, {9, 11}},
    {THGROUP_ATT_RIGHT,     2, {10, 12}},
    {THGROUP_ATT_FORWARD,   1, {13}},
    {THGROUP_ATT_BACK,      1, {14}},
};
// clang-format on

}  // namespace

void MediumLauncher::addAttitudeBlock(double arm, double thrust, double isp, PROPELLANT_HANDLE tank) {
    for (int i = 0; i < 14; ++i) {
        const AttitudeThruster& t = kAttitudeThrusters[i];
        rcsThrusters[i] =
            CreateThruster(_V(t.pos.x * arm, t.pos.y, t.pos.z), t.dir, thrust, tank, isp, 0, kReferencePressure);
    }
    for (const AttitudeGroup& g : kAttitudeGroups) {
        THRUSTER_HANDLE members[4] = {};
        for (int i = 0; i < g.count; ++i)
            members[i] = rcsThrusters[g.members[i] - 1];
        CreateThrusterGroup(members, g.count, g.type);
    }
}

void MediumLauncher::addStream(THRUSTER_HANDLE th, const StreamDef& def, const VECTOR3* pos, double size) {
    PARTICLESTREAMSPEC stream = {};
    stream.flags = 0;
    stream.srcsize = size > 0 ? size : def.size;
    stream.srcrate = def.rate;
    stream.v0 = def.speed;
    stream.srcspread = def.spread;
    stream.lifetime = def.life;
    stream.growthrate = def.growth;
    stream.atmslowdown = def.slowdown;
    stream.ltype = static_cast<PARTICLESTREAMSPEC::LTYPE>(def.type);
    stream.levelmap = static_cast<PARTICLESTREAMSPEC::LEVELMAP>(def.levelMap);
    stream.lmin = def.levelMin;
    stream.lmax = def.levelMax;
    stream.atmsmap = static_cast<PARTICLESTREAMSPEC::ATMSMAP>(def.atmosphereMap);
    stream.amin = def.atmosphereMin;
    stream.amax = def.atmosphereMax;
    stream.tex = registeredTexture(def.texture);
    if (pos)
        AddExhaustStream(th, *pos, &stream);
    else
        AddExhaustStream(th, &stream);
}

// Three long flames, three short untextured ones and the pad's cloud, plume and smoke.
void MediumLauncher::addPadFlames(THRUSTER_HANDLE th, SURFHANDLE flameTexture) {
    for (double x : {0.0, 6.0, -6.0})
        AddExhaust(th, 65, 2, _V(x, 0, -21), kAft, flameTexture);
    for (double x : {0.0, 6.0, -6.0})
        AddExhaust(th, 4, 4, _V(x, 0, -20), kAft);
    const VECTOR3 cloudPos = _V(0, 0, -20), plumePos = _V(0, 0, -21), smokePos = _V(0, 0, -25);
    addStream(th, kPadCloud, &cloudPos);
    addStream(th, kPadPlume, &plumePos);
    addStream(th, kPadSmoke, &smokePos);
}

void MediumLauncher::padIgnitionSetup() {
    PROPELLANT_HANDLE tank = CreatePropellantResource(1, 1, 1.0);
    PROPELLANT_HANDLE sideTank = kVariant.padIgnitionFeedsAllThrusters ? tank : nullptr;
    const VECTOR3 pos = _V(0, 0, -20);
    padHoverThruster = CreateThruster(pos, _V(1, 0, -1), 0, sideTank, kPadIsp, 0, kReferencePressure);
    mainEngine = CreateThruster(pos, kForward, 0, tank, kPadIsp, 0, kReferencePressure);
    boosterEngines[0] = CreateThruster(pos, kForward, 0, sideTank, kPadIsp, 0, kReferencePressure);
    boosterEngines[1] = CreateThruster(pos, kForward, 0, sideTank, kPadIsp, 0, kReferencePressure);
    CreateThrusterGroup(&mainEngine, 1, THGROUP_MAIN);
    CreateThrusterGroup(&padHoverThruster, 1, THGROUP_HOVER);
    addPadFlames(mainEngine, registeredTexture("tarvik/TVHV_Exhaust"));
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

    for (const StreamDef* s : kVariant.liftoffCoreStreams)
        addStream(mainEngine, *s);
    for (int i = 0; i < kVariant.boosterCount; ++i) {
        const VECTOR3& p = kBoosterEnginePositions[i];
        const VECTOR3 trailPos = _V(p.x, p.y, -50);
        const VECTOR3 flamePos = _V(p.x, p.y, -19);
        addStream(boosterEngines[i], kBoosterTrail, &trailPos);
        addStream(boosterEngines[i], *kVariant.boosterFlameStream,
                  kVariant.boosterFlameStreamBesideBooster ? &flamePos : nullptr);
    }

    addAttitudeBlock(1, 150000, 4620, coreTank);

    SetThrusterGroupLevel(THGROUP_MAIN, 1.0);
    for (int i = 0; i < kVariant.boosterCount; ++i)
        SetThrusterLevel(boosterEngines[i], 1.0);
}

void MediumLauncher::boosterJettisonSetup() {
    // What the core tank still holds carries over into the core stage's own tank.
    coreFuelAtBoosterJettison = GetFuelMass();
    ClearPropellantResources();
    PROPELLANT_HANDLE coreTank = CreatePropellantResource(coreFuelAtBoosterJettison);
    SetPropellantMaxMass(coreTank, kVariant.corePropellant);
    SetPropellantMass(coreTank, coreFuelAtBoosterJettison);
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

    addAttitudeBlock(1, 44000, 4200, coreTank);
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
    addAttitudeBlock(2, 44000, 4620, tank);

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
    addAttitudeBlock(1, 44000, 4620, tank);
}

}  // namespace medium
