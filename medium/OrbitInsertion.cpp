// From the end of the ascent to a circular orbit: the apoapsis is raised to
// the target and the engine cut off, the inclination is trimmed near a node,
// an overshooting apoapsis is trimmed, and the orbit is circularised at the
// apoapsis. Radii are compared in km against the target altitude on a
// 6371 km sphere; inclinations carry the two decimals the dialog shows.
#include <cmath>

#include "GuidanceRules.h"
#include "MediumLauncher.h"
#include "ModuleState.h"
#include "dialogs/ControlCanvas.h"
#include "dialogs/DialogFields.h"
#include "dialogs/ResourceIds.h"
#include "variants/VariantRecord.h"

namespace medium {
namespace {

constexpr double kSphereRadius = 6371;  // [km]
constexpr double kPassedApoapsis = 4500;  // [s] an ApT this long means the apoapsis has just gone by
constexpr double kRelightApT = 7;         // [s]
constexpr double kNearApoapsis = 90;      // [s] the prograde turn before the circularisation starts here

bool nearNode(double longitude, double node, double within) {
    return std::fabs(rules::wrapDegrees(longitude - node)) < within;
}

}  // namespace

void MediumLauncher::insertionStep(VESSELSTATUS2& vs) {
    const GuidanceTables& g = *kVariant.guidance;
    const double target = targetAltitude + kSphereRadius;
    const double t = missionTime;
    const double apT = timeToApoapsis;
    HWND dialog = autopilotDialog;

    // 1. Apoapsis raising starts once the orbit no longer meets the ground.
    if (ascentPhase == 0 && apoapsisRadius > 6500 && periapsisRadius >= 6100) {
        SetThrusterGroupLevel(THGROUP_ATT_YAWLEFT, 0);
        SetThrusterGroupLevel(THGROUP_ATT_YAWRIGHT, 0);
        SetThrusterGroupLevel(THGROUP_MAIN, 1);
        ascentPhase = 2;
    }

    // 2. Level flight while the apoapsis climbs; ease off near it, cut off past it.
    if (ascentPhase == 2) {
        double& pitchRate = vs.vrot.x;
        if (currentPitch <= 0)
            pitchRate = 0.01;
        if (currentPitch > 1)
            pitchRate = -0.01;
        if (currentPitch > 0 && currentPitch < 1)
            pitchRate = 0;
        if (apoapsisRadius > targetAltitude - g.throttleDownMarginKm + kSphereRadius)
            SetThrusterGroupLevel(THGROUP_MAIN, std::fmax(0.1, GetThrusterGroupLevel(THGROUP_MAIN) - 0.001));
        if (apoapsisRadius > target) {
            rollInhibit = 1;
            headingHoldReleased = 1;
            SetThrusterGroupLevel(THGROUP_MAIN, 0);
            DeactivateNavmode(NAVMODE_KILLROT);
            cutoffShown = 1;
            ascentPhase = 3;
            azimuthBias = rules::suggestedCorrection(g, launchSite, static_cast<int>(nodeChoice), currentInclination,
                                                     targetInclination);
            // The next launch reads the field as the whole correction: the one
            // in use plus this flight's increment, so that typing it back converges.
            setNumber(dialog, ids::kAzimuthTrim, "%0.2f", azimuthCorrection + azimuthBias);
            EnableWindow(GetDlgItem(dialog, ids::kAzimuthTrim), TRUE);
        }
    }

    // 3. (The node longitudes are measured with the other flight values.)

    // 4. A plane change is refused for good when the inclination is too far off.
    const bool onInclination = currentInclination == targetInclination;
    if (planeChangeRefused == 0) {
        if (ascentPhase == 3 && std::fabs(targetInclination - currentInclination) > 0.2)
            planeChangeRefused = 1;
        else if (planeChangeState == 0 && ascentPhase == 3 && !onInclination)
            planeChangeState = 1;
    }

    // 5. Status pictures.
    if (planeChangeState == 1) {
        showImage(dialog, ids::kPlaneChangePicture, ids::kPlaneChangeImage, 96, 19);
        planeChangeState = 2;
    } else if (planeChangeState == 2 && apoapsisRadius < target + 0.1 && onInclination) {
        showImage(dialog, ids::kPlaneChangePicture, ids::kPlaneChangeDoneImage, 96, 19);
        planeChangeState = 3;
    }
    if ((planeChangeRefused == 1 || planeChangeRefused == 2) && t > blinkTimer) {
        const int shown = planeChangeRefused == 1 ? 1 : 0;  // the frame of the other value
        showImage(dialog, ids::kWarningPicture, ids::kWarningImages[shown], 96, 19);
        planeChangeRefused = planeChangeRefused == 1 ? 2 : 1;
        blinkTimer = t + 1.5;
    }

    // 6. The plane change burns within 88 degrees of a node, until the trim has begun.
    if (ascentPhase == 3 && !onInclination && targetInclination > 0 && planeChangeRefused == 0 &&
        trimBurnState == 0 &&
        (nearNode(meanLongitude, nodeLongitude, 88) || nearNode(meanLongitude, descendingNodeLongitude, 88))) {
        oapiSetTimeAcceleration(1);
        const bool nearAscending = nearNode(meanLongitude, nodeLongitude, 90);
        if (currentInclination > targetInclination)
            ActivateNavmode(nearAscending ? NAVMODE_ANTINORMAL : NAVMODE_NORMAL);
        else
            ActivateNavmode(nearAscending ? NAVMODE_NORMAL : NAVMODE_ANTINORMAL);
        if (t > bankTimer) {
            bankTimer = t + 25;
            // The engine lights only once the turn has taken the nose well off the azimuth.
            if (std::fabs(rules::wrapDegrees(currentHeading - launchAzimuth)) > 40)
                SetThrusterLevel(mainEngine, 1);
        }
    }

    // 7. Plane change finished: an apoapsis above the target is trimmed after 40 s.
    if (ascentPhase == 3 && onInclination && targetInclination > 0 && trimBurnState == 0) {
        trimBurnState = 0.5;
        SetThrusterLevel(mainEngine, 0);
        DeactivateNavmode(NAVMODE_NORMAL);
        DeactivateNavmode(NAVMODE_ANTINORMAL);
        if (apoapsisRadius > target + 0.1) {
            trimBurnState = 1;
            ActivateNavmode(NAVMODE_RETROGRADE);
            trimStart = t + 40;
        }
    }

    // 8. The trim burn.
    if (trimBurnState == 1 && t > trimStart) {
        SetThrusterGroupLevel(THGROUP_MAIN, 0.1);
        trimBurnState = 2;
    }
    if (trimBurnState == 2 && apoapsisRadius < target + 0.01) {
        DeactivateNavmode(NAVMODE_RETROGRADE);
        SetThrusterGroupLevel(THGROUP_MAIN, 0);
        trimBurnState = 3;
    }

    // 9. Which node the launcher is nearer.
    SetDlgItemTextA(dialog, ids::kOrbitalNode,
                    nearNode(meanLongitude, nodeLongitude, 90) ? "Ascending" : "Descending");

    // 10. Prograde for the circularisation.
    if (ascentPhase == 3 && apT > 60 && apT < 90) {
        ActivateNavmode(NAVMODE_PROGRADE);
        headingHoldReleased = 1;
        oapiSetTimeAcceleration(1);
    }

    // 11. Circularisation around the apoapsis.
    const CircularisationRule& rule = g.circularisation;
    if (const CircularisationBand* band = rules::circularisationBand(rule, targetAltitude)) {
        auto engineOn = [&](double level) {
            SetThrusterGroupLevel(THGROUP_MAIN, level);
            if (rule.realTimeOnIgnition)
                oapiSetTimeAcceleration(1);
        };
        if (ascentPhase == 3) {
            if (band->earlyIgnitionApT > 0 && apT < band->earlyIgnitionApT)
                engineOn(1);
            if (apT < band->startApT) {
                SetThrusterGroupLevel(THGROUP_MAIN, 1);
                ascentPhase = 4;
            }
        }
        if (ascentPhase == 4) {
            if (band->offOnlyAfterNear && apT < band->offAboveApT)
                apoapsisNearSeen = 1;
            if (apT > band->offAboveApT && apT < band->offBelowApT && (!band->offOnlyAfterNear || apoapsisNearSeen == 1))
                SetThrusterGroupLevel(THGROUP_MAIN, 0);
            if (apT < kRelightApT || (rule.relightPastApoapsis && apT > kPassedApoapsis))
                engineOn(band->level);
        }
    }

    // Every burn after the cut-off (plane change, apoapsis trim, circularisation)
    // runs in real time, and so does the wait before it: a time acceleration
    // only takes effect from the next step, and one step of a burn under a
    // pilot's 100x takes the apoapsis kilometres past what the burn was for.
    const bool burnLit = GetThrusterGroupLevel(THGROUP_MAIN) > 0;
    const bool trimDue = trimBurnState == 1 || trimBurnState == 2;
    const bool apoapsisNear = apT < kNearApoapsis;  // the circularisation burns around it
    if (ascentPhase >= 3 && ascentPhase < 5 && (burnLit || trimDue || apoapsisNear))
        oapiSetTimeAcceleration(1);

    // 12. Complete once the periapsis has come up to the target. An early
    // ignition burns while still coasting: burning ahead of the apoapsis moves
    // it on, so its ApT may never fall to the start of the circularisation,
    // and the burn must end on the periapsis there too.
    const bool earlyBurn = ascentPhase == 3 && GetThrusterGroupLevel(THGROUP_MAIN) > 0;
    if ((ascentPhase == 4 || earlyBurn) && periapsisRadius > target - 0.1) {
        SetThrusterGroupLevel(THGROUP_MAIN, 0);
        DeactivateNavmode(NAVMODE_PROGRADE);
        ascentPhase = 5;
        rollInhibit = 1;
        headingHoldReleased = 1;
        showImage(dialog, ids::kCompletionPicture, ids::kCompleteImage, 111, 22);  // with the screen text
    }
}

}  // namespace medium
