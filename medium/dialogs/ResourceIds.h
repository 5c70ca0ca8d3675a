// The module's resource ids: its dialogs, their controls and its bitmaps.
// One dialog procedure serves every dialog, so an id means the same action
// in whichever dialog it sits.
#pragma once

namespace medium::ids {

// dialogs
constexpr int kConfigurationDialog = 101;
constexpr int kAutopilotDialog = 131;
constexpr int kMeshOffsetDialog = 258;
constexpr int kCustomPayloadDialog = 287;

// autopilot dialog: inputs
constexpr int kTargetAltitude = 1049;
constexpr int kTargetInclination = 1079;
constexpr int kAzimuthTrim = 1100;  // "+/-"
constexpr int kAscendingNode = 1085;
constexpr int kDescendingNode = 1086;
constexpr int kOrbitList = 1083;  // "Copy Orbital Elements"
constexpr int kLaunch = 1075;
constexpr int kAutopilotOff = 1033;
constexpr int kHide = 1054;
constexpr int kAzimuthStore = 1041;  // hidden

// autopilot dialog: read-outs
constexpr int kOwnName = 1058;
constexpr int kPayloadWeight = 1094;
constexpr int kAltitude = 1036;
constexpr int kApoapsis = 1042;
constexpr int kPeriapsis = 1043;
constexpr int kTimeToApoapsis = 1046;
constexpr int kAirspeed = 1045;
constexpr int kInclination = 1080;
constexpr int kMissionTime = 1068;
constexpr int kOrbitalNode = 1098;
constexpr int kMessage = 1035;  // shared with the configuration dialog

// autopilot dialog: pictures
constexpr int kHeadingPicture = 1065;
constexpr int kCompletionPicture = 1073;
constexpr int kWarningPicture = 1106;
constexpr int kPlaneChangePicture = 1124;
constexpr int kSeparationPicture = 1125;
constexpr int kCutoffPicture = 1126;
constexpr int kGaugePicture = 1129;

// configuration dialog
constexpr int kCancel = 2;
constexpr int kApply = 3;
constexpr int kHelp = 1032;
constexpr int kPayloadClass = 1002;
constexpr int kPayloadMesh = 1003;
constexpr int kMeshZOffset = 1004;
constexpr int kPayloadMass = 1005;
constexpr int kFairingField = 1006;
constexpr int kLaunchThrust = 1025;
constexpr int kUpperStageThrust = 1027;
constexpr int kDescription = 1146;
constexpr int kLauncherPicture = 1026;
constexpr int kPayloadPicture = 1029;
constexpr int kCustomPayloadButtons[3] = {1121, 1122, 1123};
constexpr int kEditCustomPayloads = 1130;

// custom payload settings dialog
constexpr int kCustomSlotRadios[3] = {1131, 1132, 1133};
constexpr int kCustomApply = 1134;
constexpr int kCustomCancel = 1135;
constexpr int kCustomName = 1136;
constexpr int kCustomImagePath = 1137;  // hidden
constexpr int kVisualAdjustment = 1141;

// mesh offset dialog
constexpr int kPreviewOk = 1114;
constexpr int kPreviewOffset = 1115;
constexpr int kPreviewMoves[4] = {1116, 1117, 1118, 1119};  // up 0.1, down 0.1, up 0.01, down 0.01
constexpr double kPreviewSteps[4] = {0.1, -0.1, 0.01, -0.01};

// bitmaps of the autopilot dialog
constexpr int kHeadingStripOn = 191;
constexpr int kHeadingStripOff = 275;
constexpr int kHeadingOverlay = 194;
constexpr int kPitchTape = 283;
constexpr int kPitchMarker = 277;
constexpr int kThrustBackground = 193;
constexpr int kThrustFill = 196;
constexpr int kFuelColumn = 269;
constexpr int kFuelColumnEmpty = 270;  // the part of the column the fuel has left
constexpr int kCompleteImage = 260;
constexpr int kPlaneChangeImage = 262;
constexpr int kPlaneChangeDoneImage = 263;
constexpr int kWarningImages[2] = {264, 265};
constexpr int kSeparationImage = 266;
constexpr int kCutoffImage = 267;

}  // namespace medium::ids
