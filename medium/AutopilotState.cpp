#include "AutopilotState.h"

namespace medium {

int autopilotMode = 0;
int launchSite = 0;
int firstStepState = 0;
double ascentPhase = 0;
double targetAltitude = 350;
double targetInclination = 0;
double nodeChoice = 0;
double azimuthCorrection = 0;
double azimuthBias = 0;
double launchAzimuth = 0;
double azimuthComputed = 0;

double currentHeading = 0;
double currentAltitude = 0;
double apoapsisRadius = 0;
double periapsisRadius = 0;
double timeToApoapsis = 0;
double currentInclination = 0;
double nodeLongitude = 0;
double meanLongitude = 0;
double descendingNodeLongitude = 0;

double rollAngle = 0, rollReference = 0, rollLevel = 0;
double rollProgrammeDone = 0, rollInhibit = 0;
double headingHoldLatched = 0, headingHoldReleased = 0;
double upperStageLatch = 0;
double throttleBack = 0;
double targetPitch = 0;
double bankTimer = 0;

double planeChangeState = 0;
double planeChangeRefused = 0;
double blinkTimer = 0;
double trimBurnState = 0;
double trimStart = 0;
double cutoffShown = 0;
double apoapsisNearSeen = 0;

int configDialogOpen = 0;
double orbitListBuilt = 0;
char lastCopiedName[64] = {};
double nextTextRefresh = -1;
int dialogRepainted = 0;
double lastDrawnHeading = 0;
double lastDrawnPitch = 0;
double lastDrawnThrustHeight = 0;
char headingText[16] = {};

LightEmitter* launchGlow = nullptr;
double glowCreated = 0, glowDeleted = 0;
double glowFlicker = 0, glowFade = 0;

}  // namespace medium
