// The launcher standing on its pad: class capabilities, pad tanks and the
// zero-thrust pad engines that carry the ignition flames, and the payload the
// configuration dialog left in "temp".
#include "MediumLauncher.h"
#include "ModuleState.h"
#include "PadIgnition.h"
#include "PayloadHandOff.h"
#include "Textures.h"
#include "variants/VariantRecord.h"

namespace medium {
namespace {

struct AnnotationPlacement {
    NOTEHANDLE MediumLauncher::*handle;
    double size, x1, y1;
};

constexpr AnnotationPlacement kAnnotations[] = {
    {&MediumLauncher::annotMissionLabel, 0.6, 0, 0.97},
    {&MediumLauncher::annotMissionValue, 0.6, 0.075, 0.97},
    {&MediumLauncher::annotAutopilot, 0.7, 0, 0.95},
};

// The simulator's current directory is its root folder: the custom payload pictures are found from it.
void copyCurrentDirectory() {
    if (GetCurrentDirectoryA(sizeof currentDirectory, currentDirectory) >= sizeof currentDirectory)
        currentDirectory[0] = '\0';
}

// The payload the configuration dialog handed over, as it wrote it. Missing items leave the payload as it was.
void takePayloadHandOff(LauncherState& s) {
    const tarvik::PayloadHandOff h = tarvik::readPayloadHandOff();
    if (h.hasMass)
        s.payloadMass = h.mass;
    if (h.hasZOffset)
        s.payloadZOffset = h.zOffset;
    if (h.hasFairing)
        s.fairingAttached = h.fairing;
    if (h.hasPayload)
        s.payloadClassName = h.payload;
    if (h.hasMesh)
        s.payloadMeshName = h.mesh;
}

// The stack standing on its pad: its size and the cross-sections it meets the air with.
constexpr double kPadSize = 35.5;
const VECTOR3 kPadCrossSections = {0, 0, 17.75};

}  // namespace

void MediumLauncher::clbkSetClassCaps(FILEHANDLE cfg) {
    copyCurrentDirectory();
    launcherName = kVariant.className;

    coreMesh = oapiLoadMeshGlobal("tarvik/Tarvik1st");
    interstageMesh = oapiLoadMeshGlobal(kVariant.interstageMesh);
    upperStageMesh = oapiLoadMeshGlobal(kVariant.upperStageMesh);

    configCode = 0;
    stageTimerCount = 0;
    stageTimerMode = 0;
    boosterPairState = 0;
    secondPairTime = 0;
    ignitionSteps = 0;
    missionTime = 0;
    firstStageDryMass = kVariant.firstStageDryMass;
    boosterDryMass = kVariant.boosterDryMass;
    upperStageDryMass = kVariant.upperStageDryMass;
    fairingAttached = 1;
    fairingMass = kVariant.fairingMass;

    for (const AnnotationPlacement& a : kAnnotations) {
        NOTEHANDLE note = oapiCreateAnnotation(true, a.size, _V(1, 0, 0));
        oapiAnnotationSetPos(note, a.x1, a.y1, 1, 1);
        this->*a.handle = note;
    }

    padFlameTexture = oapiRegisterExhaustTexture(const_cast<char*>(kVariant.padFlameTexture));

    SetSize(kPadSize);
    if (kVariant.padLayoutBeforeEmptyMass)
        padLayout();
    SetEmptyMass(emptyMassOf(kVariant.boosterCount, true, true, fairingAttached == 1));

    SetCW(0.2, 0.4, 1.2, 1.2);
    SetCrossSections(kPadCrossSections);
    SetRotDrag(_V(0.4, 0.6, 0.4));
    if (GetFlightModel() >= 1) {
        SetPitchMomentScale(0);
        SetYawMomentScale(0);
    }
    SetClipRadius(90);
    SetTrimScale(0.05);
    SetCameraOffset(_V(0, 0, 40));
    SetTouchdownPoints(_V(0, -1, 43.5), _V(0, 1, 43.5), _V(1, 0, 43.5));

    padEngineSetup();

    takePayloadHandOff(*this);
    padLayout();
}

// The pad tanks, and the zero-thrust engines on them that carry the ignition flames.
void MediumLauncher::padEngineSetup() {
    PROPELLANT_HANDLE padTanks[4] = {};
    for (int i = 0; i < kVariant.padTankCount; ++i)
        padTanks[i] = CreatePropellantResource(kVariant.padTanks[i], kVariant.padTanks[i], 1.0);

    const VECTOR3 enginePos = _V(0, 0, -20);
    THRUSTER_HANDLE padHoverThruster = CreateThruster(enginePos, _V(1, 0, -1), 0, padTanks[0], 4200, 0, 101400);
    mainEngine = CreateThruster(enginePos, _V(0, 0, 1), 0, padTanks[0], 4200, 0, 101400);
    // The pad carries two booster engines (none without boosters), each on a booster tank.
    for (int i = 0; i < kVariant.boosterCount && i < 2; ++i)
        boosterEngines[i] = CreateThruster(enginePos, _V(0, 0, 1), 0, padTanks[i + 1], 4200, 0, 101400);
    CreateThrusterGroup(&mainEngine, 1, THGROUP_MAIN);
    CreateThrusterGroup(&padHoverThruster, 1, THGROUP_HOVER);
    tarvik::addPadIgnitionEffects(*this, mainEngine, padFlameTexture, registeredTexture);
}

// A scenario that names another configuration before this one stands the
// launcher on its pad again: its tanks and engines as the class set them up.
void MediumLauncher::padSetupAgain() {
    ClearPropellantResources();
    ClearThrusterDefinitions();
    vapourThruster = nullptr;
    SetSize(kPadSize);
    if (kVariant.padLayoutBeforeEmptyMass)
        padLayout();
    SetCrossSections(kPadCrossSections);
    padEngineSetup();
    padLayout();
}

}  // namespace medium
