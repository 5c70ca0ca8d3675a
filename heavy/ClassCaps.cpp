// The launcher's class capabilities and first state: the full stack standing
// on the pad with the pad propulsion. The meshes come with the layout that
// the scenario load applies.
#include "HeavyLauncher.h"
#include "ModuleState.h"
#include "PayloadHandOff.h"

namespace heavy {

HeavyLauncher::HeavyLauncher(OBJHANDLE hVessel, int flightModel)
    : VESSEL2(hVessel, flightModel),
      stage(0),
      fairingAttached(0),
      ignitionSteps(0),
      stageTimerMode(0),
      stageTimerCount(0),
      configCode(0),
      missionTimeText{},
      boosterPairState(0),
      boosterDryMass(0),
      payloadZOffset(0),
      payloadMass(0),
      fairingMass(0),
      coreDryMass(0),
      upperStageDryMass(0),
      manualCoreCutoff(0),
      interstageMass(0),
      annotMissionLabel(nullptr),
      annotMissionValue(nullptr),
      coreMesh(nullptr),
      leftCoreMesh(nullptr),
      rightCoreMesh(nullptr),
      interstageMesh(nullptr),
      upperStageMesh(nullptr),
      boosterMesh(nullptr),
      stagingHistory{},
      stagingEventCount(0),
      rebuildingFlight(false) {}

void HeavyLauncher::clbkSetClassCaps(FILEHANDLE cfg) {
    coreMesh = oapiLoadMeshGlobal("tarvik/Tarvik1st");
    leftCoreMesh = oapiLoadMeshGlobal("tarvik/leftboost");
    rightCoreMesh = oapiLoadMeshGlobal("tarvik/rightboost");
    interstageMesh = oapiLoadMeshGlobal("tarvik/interstage");
    upperStageMesh = oapiLoadMeshGlobal("tarvik/SHstage2");

    fairingAttached = 1;
    configCode = 0;
    boosterPairState = 0;
    manualCoreCutoff = 0;
    ignitionSteps = 0;
    stageTimerMode = 0;
    stageTimerCount = 0;
    boosterDryMass = 3250;
    fairingMass = 1400;
    coreDryMass = 26767;
    upperStageDryMass = 6490;
    interstageMass = 9490;
    missionTime = 0;

    const VECTOR3 red = _V(1, 0, 0);
    annotMissionLabel = oapiCreateAnnotation(true, 0.6, red);
    annotMissionValue = oapiCreateAnnotation(true, 0.6, red);
    oapiAnnotationSetPos(annotMissionLabel, 0, 0.97, 1, 1);
    oapiAnnotationSetPos(annotMissionValue, 0.075, 0.97, 1, 1);

    SetSize(35.5);
    SetClipRadius(90);
    SetEmptyMass(stackMass(6, 3, true, true));
    SetCW(0.2, 0.4, 1.2, 1.2);
    SetCrossSections(_V(0, 0, 17.75));
    SetRotDrag(_V(0.4, 0.6, 0.4));
    if (GetFlightModel() >= 1) {
        SetPitchMomentScale(0);
        SetYawMomentScale(0);
    }
    SetTrimScale(0.05);
    SetCameraOffset(_V(0, 0, 40));
    SetTouchdownPoints(_V(0, -1, 43.5), _V(0, 1, 43.5), _V(1, 0, 43.5));

    setupPadPropulsion();
    readPayloadHandOff();
    // A launcher created by a Medium launcher's configuration dialog gets no
    // scenario lines: it stands on the pad as laid out here.
    padLayout();
}

// The payload a Medium launcher's configuration dialog hands over in "temp"
// when it replaces itself by this launcher. Missing items change nothing.
// A value the launcher cannot have (a negative mass, a flag other than 0 or
// 1, an empty name) is passed over.
void HeavyLauncher::readPayloadHandOff() {
    const tarvik::PayloadHandOff h = tarvik::readPayloadHandOff();
    if (h.hasMass && h.mass >= 0)
        payloadMass = h.mass;
    if (h.hasZOffset)
        payloadZOffset = h.zOffset;
    if (h.hasFairing && (h.fairing == 0 || h.fairing == 1))
        fairingAttached = h.fairing;
    if (h.hasPayload && h.payload[0])
        payloadClassName = h.payload;
    if (h.hasMesh && h.mesh[0])
        payloadMeshName = h.mesh;
}

}  // namespace heavy
