// The autopilot block of the pre-step: the launcher's first step, the
// measurements every guidance rule reads, the targets taken from the dialog
// on the pad, and the launch azimuth, fixed between 1 and 2 s of flight.
#include <cmath>
#include <cstdio>

#include "FixedText.h"
#include "GuidanceRules.h"
#include "MediumLauncher.h"
#include "dialogs/DialogFields.h"
#include "dialogs/ResourceIds.h"
#include "variants/VariantRecord.h"

namespace medium {
namespace {

bool fieldEmpty(HWND dialog, int id) {
    char text[8] = {};
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text[0] == '\0';
}

double latitudeOf(OBJHANDLE h) {
    double longitude = 0, latitude = 0, radius = 0;
    oapiGetEquPos(h, &longitude, &latitude, &radius);
    return latitude;
}

void measureFlight(VESSEL& v, LauncherState& s, double& pitch) {
    double value = 0;
    oapiGetAltitude(v.GetHandle(), &s.currentAltitude);
    oapiGetHeading(v.GetHandle(), &value);
    s.currentHeading = value * DEG;
    oapiGetPitch(v.GetHandle(), &value);
    pitch = value * DEG;
    tarvik::fixedText(s.headingText, s.currentHeading, 2);
    v.GetApDist(value);
    s.apoapsisRadius = value * 0.001;
    v.GetPeDist(value);
    s.periapsisRadius = value * 0.001;
    if (s.missionTime > 1) {
        ELEMENTS el;
        ORBITPARAM prm;
        v.GetElements(v.GetGravityRef(), el, &prm, 0, FRAME_EQU);
        s.timeToApoapsis = prm.ApT;
        s.currentInclination = rules::twoDecimals(el.i * DEG);
        const double node = rules::twoDecimals(el.theta * DEG);
        s.nodeLongitude = node + 360;
        s.meanLongitude = rules::twoDecimals(el.L * DEG) + 360;
        s.descendingNodeLongitude = (node - 180 < 0 ? node + 180 : node - 180) + 360;
    }
}

// The target altitude typed on the pad, unless the autopilot has no rule to
// circularise there.
void readTargetAltitude(HWND dialog, double& targetAltitude) {
    double altitude = 0;
    if (!readNumber(dialog, ids::kTargetAltitude, altitude) || altitude == targetAltitude)
        return;
    const CircularisationRule& rule = kVariant.guidance->circularisation;
    if (altitude > 0 && rules::circularisationBand(rule, altitude)) {
        targetAltitude = altitude;
        return;
    }
    char message[96];
    std::snprintf(message, sizeof message, "No orbit rule for %0.0f km: at most %0.0f km", altitude,
                  rule.ceilingKm - 1);
    SetDlgItemTextA(dialog, ids::kMessage, message);
}

}  // namespace

void MediumLauncher::firstStep() {
    ownName = GetName();
    launchSite = rules::launchSiteAt(latitudeOf(GetHandle()) * DEG);
    firstStepState = 1;
}

void MediumLauncher::autopilotBlock() {
    HWND dialog = autopilotDialog;
    measureFlight(*this, *this, currentPitch);
    refreshAutopilotDialog(dialog);

    if (missionTime < 0.1) {
        readNumber(dialog, ids::kAzimuthStore, launchAzimuth);
        readTargetAltitude(dialog, targetAltitude);
        VESSELSTATUS2 vs = {};
        vs.version = 2;
        GetStatusEx(&vs);
        rollReference = rules::rollFromOrientation(vs.arot.z);
    }
    const bool noInclination = fieldEmpty(dialog, ids::kTargetInclination);
    if (missionTime > 1 && noInclination)
        targetInclination = 0;
    if (missionTime > 1 && missionTime < 2 && !noInclination && azimuthComputed == 0)
        computeLaunchAzimuth(dialog);

    if (missionTime > 1) {
        if (missionTime < 100 && launchSite != rules::kNoSite) {
            VESSELSTATUS2 vs = {};
            vs.version = 2;
            GetStatusEx(&vs);
            rollAngle = rules::rollAngle(rules::rollFromOrientation(vs.arot.z), rollReference, launchSite);
        }
        guidanceStep();
    }
    drawThrustColumn(dialog);
}

void MediumLauncher::computeLaunchAzimuth(HWND dialog) {
    readNumber(dialog, ids::kAzimuthTrim, azimuthCorrection);
    readNumber(dialog, ids::kTargetInclination, targetInclination, 5);
    const double latitude = latitudeOf(GetHandle());
    if (IsDlgButtonChecked(dialog, ids::kAscendingNode) == BST_CHECKED)
        nodeChoice = 0;
    else if (IsDlgButtonChecked(dialog, ids::kDescendingNode) == BST_CHECKED)
        nodeChoice = 1;

    // An inclination typed after LAUNCH may still be out of reach: the
    // launcher then flies to the nearest one it can reach.
    if (!rules::inclinationReachable(targetInclination, latitude * DEG)) {
        const double lowest = std::ceil(std::fabs(latitude * DEG) * 100) / 100;
        targetInclination = targetInclination > 90 ? 180 - lowest : lowest;
        setNumber(dialog, ids::kTargetInclination, "%0.2f", targetInclination);
        char text[96];
        std::snprintf(text, sizeof text, "Inclination out of reach: flying to %0.2f", targetInclination);
        SetDlgItemTextA(dialog, ids::kMessage, text);
    }

    azimuthBias = rules::tableBias(*kVariant.guidance, static_cast<int>(nodeChoice), launchSite, payloadMass,
                                   targetAltitude, azimuthBias) +
                  azimuthCorrection;
    const double earthMass = oapiGetMass(oapiGetGbodyByName(const_cast<char*>("Earth")));
    const double azimuth = rules::launchAzimuth(targetInclination, latitude, targetAltitude, earthMass,
                                                static_cast<int>(nodeChoice), azimuthBias);
    setNumber(dialog, ids::kAzimuthStore, "%0.2f", azimuth);
    readNumber(dialog, ids::kAzimuthStore, launchAzimuth);
    azimuthComputed = 1;
}

}  // namespace medium
