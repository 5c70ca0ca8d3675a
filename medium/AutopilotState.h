// The ascent autopilot's state, kept once per module like the rest of the
// flight state: the mode and targets the autopilot dialog sets, the
// measurements of the step, the roll, pitch and heading programmes, the
// insertion phases, the dialog's display memory and the launch glow.
#pragma once

#include "Orbitersdk.h"

namespace medium {

// Mode and targets
extern int autopilotMode;  // 0 off, 1 on with the dialog shown, 2 on with the dialog hidden
extern int launchSite;     // 0 none, 1 LC37, 2 LC6, 3 LC37B
extern int firstStepState;   // 0 before the first step, 1 node button still to be checked, 2 done
extern double ascentPhase;   // 0 powered ascent, 2 apoapsis raising, 3 coasting, 4 circularising, 5 complete
extern double targetAltitude;     // [km]
extern double targetInclination;  // [deg]
extern double nodeChoice;         // 0 ascending, 1 descending
extern double azimuthCorrection;  // [deg] the pilot's trim
extern double azimuthBias;        // [deg]
extern double launchAzimuth;      // [deg]
extern double azimuthComputed;    // 1.0 once the azimuth is fixed

// Measurements of the step
extern double currentHeading;      // [deg]
extern double currentAltitude;     // [m]
extern double apoapsisRadius;      // [km]
extern double periapsisRadius;     // [km]
extern double timeToApoapsis;      // [s]
extern double currentInclination;  // [deg], two decimals
extern double nodeLongitude;       // [deg] + 360, two decimals
extern double meanLongitude;       // [deg] + 360, two decimals
extern double descendingNodeLongitude;

// Roll, pitch and heading programmes
extern double rollAngle, rollReference, rollLevel;
extern double rollProgrammeDone, rollInhibit;
extern double headingHoldLatched, headingHoldReleased;
extern double upperStageLatch;
extern double throttleBack;
extern double targetPitch;
extern double bankTimer;

// Orbit insertion
extern double planeChangeState;    // 0 none, 1 starting, 2 in progress, 3 done
extern double planeChangeRefused;  // 0 allowed; 1 and 2 alternate while the warning blinks
extern double blinkTimer;
extern double trimBurnState;  // 0, 0.5 no trim needed, 1 waiting, 2 burning, 3 done
extern double trimStart;
extern double cutoffShown;
extern double apoapsisNearSeen;

// Dialogs and their display memory
extern int configDialogOpen;
extern double orbitListBuilt;
extern char lastCopiedName[64];
extern double nextTextRefresh;
extern int dialogRepainted;
extern double lastDrawnHeading;
extern double lastDrawnPitch;
extern double lastDrawnThrustHeight;
extern char headingText[16];

// Launch glow
extern LightEmitter* launchGlow;
extern double glowCreated, glowDeleted;
extern double glowFlicker, glowFade;

}  // namespace medium
