// The autopilot dialog's own actions: key A, LAUNCH, HIDE and Autopilot OFF.
#include <cstdio>

#include "../GuidanceRules.h"
#include "../MediumLauncher.h"
#include "../variants/VariantRecord.h"
#include "DialogFields.h"
#include "ResourceIds.h"

namespace medium {
namespace {

// Targets the autopilot cannot fly are refused on the pad, with the reason
// in the dialog, before the engines light; so is a payload its pitch table
// has no class for, which would leave the launcher without a pitch programme.
bool targetsFlyable(HWND dialog, VESSEL& launcher, double targetAltitude, double payloadMass) {
    char message[128] = {};
    const double heaviest = rules::heaviestPitchClass(*kVariant.guidance);
    if (payloadMass > heaviest)
        std::snprintf(message, sizeof message, "No pitch table for a payload of %0.0f kg: at most %0.0f kg",
                      payloadMass, heaviest);
    double altitude = targetAltitude;
    readNumber(dialog, ids::kTargetAltitude, altitude);
    const CircularisationRule& rule = kVariant.guidance->circularisation;
    if (!message[0] && (!(altitude > 0) || !rules::circularisationBand(rule, altitude))) {
        std::snprintf(message, sizeof message, "No orbit rule for %0.0f km: at most %0.0f km", altitude,
                      rule.ceilingKm - 1);
    }
    double inclination = 0, longitude = 0, latitude = 0, radius = 0;
    oapiGetEquPos(launcher.GetHandle(), &longitude, &latitude, &radius);
    if (!message[0] && readNumber(dialog, ids::kTargetInclination, inclination, 5) &&
        !rules::inclinationReachable(inclination, latitude * DEG)) {
        std::snprintf(message, sizeof message, "Inclination %0.2f is out of reach from latitude %0.2f", inclination,
                      latitude * DEG);
    }
    SetDlgItemTextA(dialog, ids::kMessage, message);
    return !message[0];
}

}  // namespace

void MediumLauncher::autopilotKey() {
    if (missionTime < 1 && GetThrusterGroupLevel(THGROUP_MAIN) < 0.1 && configDialogOpen == 0 && autopilotMode != 2) {
        HWND dialog = openLauncherDialog(ids::kAutopilotDialog);
        if (!dialog)
            return;
        autopilotMode = 1;
        CheckDlgButton(dialog, ids::kAscendingNode, BST_CHECKED);
        orbitListBuilt = 0.0;
        setNumber(dialog, ids::kTargetAltitude, "%0.0f", targetAltitude);
    } else if (autopilotMode == 2) {
        ShowWindow(autopilotDialog, SW_SHOW);
        orbitListBuilt = 0.0;
        autopilotMode = 1;
    }
}

void MediumLauncher::launchButton(HWND dialog) {
    VESSEL* launcher = ownLauncher();
    if (!launcher || !targetsFlyable(dialog, *launcher, targetAltitude, payloadMass))
        return;
    launcher->SetThrusterGroupLevel(THGROUP_MAIN, 1);
    EnableWindow(GetDlgItem(dialog, ids::kLaunch), FALSE);
}

void MediumLauncher::hideButton(HWND dialog) {
    ShowWindow(dialog, SW_HIDE);
    autopilotMode = 2;
}

void MediumLauncher::autopilotOffButton(HWND dialog) {
    autopilotMode = 0;
    firstStepState = 1;
    nextTextRefresh = -1.0;
    oapiCloseDialog(dialog);
}

}  // namespace medium
