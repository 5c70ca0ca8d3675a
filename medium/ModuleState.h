// State the module keeps once, not per vessel object: the flight state the
// launcher's callbacks, its dialogs and its autopilot share. Every launcher
// created from this module sees the same values, so one launcher per build
// flies at a time; the symbols stay private to the loaded module.
#pragma once

#include <string>

#include "Orbitersdk.h"

namespace medium {

// Module and dialogs
extern HINSTANCE moduleInstance;
extern HWND autopilotDialog;
extern std::string launcherName;  // name for the next launcher the configuration dialog creates
extern std::string ownName;       // the launcher's own vessel name, kept on its first step
VESSEL* ownLauncher();            // the vessel of that name, or null
extern char currentDirectory[260];

// Payload description. The names are whole whitespace-free tokens of any length.
extern std::string payloadClassName;  // also the payload's vessel name once released
extern std::string payloadMeshName;
extern double payloadZOffset;
extern double payloadMass;
extern int fairingAttached;
extern double fairingMass;

// Flight
extern double missionTime;          // s since lift-off
extern double boosterSpawnPending;  // 1.0 until the last booster has been released
extern double separationShown;      // 1.0 once the core-separation countdown runs
extern double baseAnimationDisabled;
extern double stageRebuildRequest;  // 1.0: the next pre-step sets up the pad ignition
extern double fairingMeshIndex[2];  // mesh slots of the right and left halves on the pad
extern double payloadMeshIndex;     // mesh slot of the payload shown on the pad without a fairing

// The staging events of this flight in the order they came, written into the
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
extern StagingEvent stagingHistory[kMaxStagingEvents];
extern int stagingEventCount;
extern bool rebuildingFlight;  // a reload replays the staging steps: no part leaves, nothing else is told
void recordStagingEvent(StagingEvent e);

// Engines of the current stage
extern THRUSTER_HANDLE mainEngine;
extern THRUSTER_HANDLE boosterEngines[4];
extern THRUSTER_HANDLE vapourThruster;
extern SURFHANDLE padFlameTexture;

}  // namespace medium
