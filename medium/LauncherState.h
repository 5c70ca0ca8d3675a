// What a Medium launcher keeps of its own flight: names, payload, staging,
// engines, the ascent autopilot, its dialogs and their display memory, and
// the launch glow. Each launcher carries its own copy (it is a base of
// MediumLauncher), so two launchers of one build fly, save and reload each as
// itself; the dialogs act on the launcher that opened them. What is truly the
// module's (its instance, its textures) stays in ModuleState.h.
#pragma once

#include <string>

#include "Orbitersdk.h"

namespace medium {

// The staging events of a flight in the order they came, written into the
// scenario so that a reload rebuilds the launcher as it flew.
enum class StagingEvent : int {
    Liftoff,
    BoosterJettison,
    SecondPair,
    FairingOnCore,
    CoreSeparation,
    FairingOnUpper,
    PayloadRelease,
};
constexpr int kMaxStagingEvents = 8;

struct LauncherState {
    // Names
    std::string launcherName;  // name for the next launcher the configuration dialog creates
    std::string ownName;       // the launcher's own vessel name, kept on its first step

    // Payload description. The names are whole whitespace-free tokens of any length.
    std::string payloadClassName;  // also the payload's vessel name once released
    std::string payloadMeshName;
    double payloadZOffset = 0;
    double payloadMass = 0;
    int fairingAttached = 1;
    double fairingMass = 0;

    // Flight
    double missionTime = 0;            // s since lift-off
    double boosterSpawnPending = 1.0;  // 1.0 until the last booster has been released
    double separationShown = 0;        // 1.0 once the core-separation countdown runs
    double baseAnimationDisabled = 0;
    double stageRebuildRequest = 0;          // 1.0: the next pre-step sets up the pad ignition
    double fairingMeshIndex[2] = {0, 0};     // mesh slots of the right and left halves on the pad
    double payloadMeshIndex = 0;             // mesh slot of the payload shown on the pad without a fairing

    // The staging history of this flight. It starts from the configuration
    // the launcher was loaded in (0, the pad, unless a scenario named another
    // code without saying how the launcher got there).
    double historyStart = 0;
    StagingEvent stagingHistory[kMaxStagingEvents] = {};
    int stagingEventCount = 0;
    bool rebuildingFlight = false;  // a reload replays the staging steps: no part leaves, nothing else is told

    // Engines of the current stage
    THRUSTER_HANDLE mainEngine = nullptr;
    THRUSTER_HANDLE boosterEngines[4] = {};
    THRUSTER_HANDLE vapourThruster = nullptr;

    // Autopilot mode and targets
    int autopilotMode = 0;     // 0 off, 1 on with the dialog shown, 2 on with the dialog hidden
    int launchSite = 0;        // 0 none, 1 LC37, 2 LC6, 3 LC37B
    int firstStepState = 0;    // 0 before the first step, 1 node button still to be checked, 2 done
    double ascentPhase = 0;    // 0 powered ascent, 2 apoapsis raising, 3 coasting, 4 circularising, 5 complete
    double targetAltitude = 350;   // [km]
    double targetInclination = 0;  // [deg]
    double nodeChoice = 0;         // 0 ascending, 1 descending
    double azimuthCorrection = 0;  // [deg] the pilot's trim
    double azimuthBias = 0;        // [deg]
    double launchAzimuth = 0;      // [deg]
    double azimuthComputed = 0;    // 1.0 once the azimuth is fixed

    // Measurements of the step
    double currentHeading = 0;      // [deg]
    double currentAltitude = 0;     // [m]
    double apoapsisRadius = 0;      // [km]
    double periapsisRadius = 0;     // [km]
    double timeToApoapsis = 0;      // [s]
    double currentInclination = 0;  // [deg], two decimals
    double nodeLongitude = 0;       // [deg] + 360, two decimals
    double meanLongitude = 0;       // [deg] + 360, two decimals
    double descendingNodeLongitude = 0;

    // Roll, pitch and heading programmes
    double rollAngle = 0, rollReference = 0, rollLevel = 0;
    double rollProgrammeDone = 0, rollInhibit = 0;
    double headingHoldLatched = 0, headingHoldReleased = 0;
    double upperStageLatch = 0;
    double throttleBack = 0;
    double targetPitch = 0;
    double bankTimer = 0;

    // Orbit insertion
    double planeChangeState = 0;    // 0 none, 1 starting, 2 in progress, 3 done
    double planeChangeRefused = 0;  // 0 allowed; 1 and 2 alternate while the warning blinks
    double blinkTimer = 0;
    double trimBurnState = 0;  // 0, 0.5 no trim needed, 1 waiting, 2 burning, 3 done
    double trimStart = 0;
    double cutoffShown = 0;
    double apoapsisNearSeen = 0;

    // The dialogs this launcher opened (null while closed)
    HWND autopilotDialog = nullptr;
    HWND configurationDialog = nullptr;
    HWND customPayloadDialog = nullptr;
    HWND meshOffsetDialog = nullptr;

    // The autopilot dialog's display memory
    int configDialogOpen = 0;
    double orbitListBuilt = 0;
    char lastCopiedName[64] = {};
    double nextTextRefresh = -1;
    int dialogRepainted = 0;
    double lastDrawnHeading = 0;
    double lastDrawnPitch = 0;
    double lastDrawnThrustHeight = 0;
    char headingText[16] = {};
    // What the heading strip, the fuel column and the status pictures show,
    // so that a step redraws only what changes the picture.
    int drawnHeadingStrip = 0, drawnHeadingOffset = 0;
    char drawnHeadingText[16] = {};
    int drawnFuelTop = -1;
    int drawnStatusImage[4] = {};  // plane change, separation, cut-off, completion

    // The configuration dialogs: the re-creation Apply asked for, the payload
    // the launcher had when the dialog opened (kept if no launcher of the
    // chosen type can be made), the custom payload picked and the placement
    // preview.
    int recreatePending = 0;  // 1 after Apply: the post-step re-creates or refreshes the launcher
    struct Payload {
        std::string className, meshName;
        double zOffset = 0, mass = 0, fairingMass = 0;
        int fairingAttached = 1;
    } payloadBeforeDialog;
    std::string customMeshName;  // the placement preview's mesh and offset [m]
    double customZOffset = 0;
    std::string customImagePath;
    double previewActive = 0;  // 1.0 while the payload placement preview is on
    UINT previewMesh = 0;
    UINT adapterMesh = 0;

    // Launch glow
    LightEmitter* launchGlow = nullptr;
    double glowCreated = 0, glowDeleted = 0;
    double glowFlicker = 0, glowFade = 0;

    void recordStagingEvent(StagingEvent e) {
        if (!rebuildingFlight && stagingEventCount < kMaxStagingEvents)
            stagingHistory[stagingEventCount++] = e;
    }
};

}  // namespace medium
