// The guidance step, from lift-off to the cut-off of the upper stage: roll
// onto the launch azimuth, the pitch holds and table, throttle-back, fairing
// jettison, the second-stage pitch law and the heading hold. Pitch, yaw and
// roll are steered by writing angular rates into the vessel's state, which
// goes back to the simulator at the end of the step; bank and yaw groups are
// set for the one step.
#include <cmath>
#include <cstring>

#include "GuidanceRules.h"
#include "MediumLauncher.h"
#include "variants/VariantRecord.h"

namespace medium {
namespace {

constexpr double kHoldRate = 0.03;       // [rad/s] the pitch holds
constexpr double kProgrammeRate = 0.02;  // [rad/s] the pitch table and the second-stage law
constexpr double kLevellingRate = 0.01;  // [rad/s] never below the horizon

// Up below the band, down above it, hold inside it.
void holdPitch(double pitch, double low, double high, double rate, double& pitchRate) {
    if (pitch < low)
        pitchRate = rate;
    if (pitch > high)
        pitchRate = -rate;
    if (pitch > low && pitch < high)
        pitchRate = 0;
}

// Both holds steer the vessel named after the launcher, as the launcher looks itself up.
void yawHeadingHold(MediumLauncher& l) {
    VESSEL* v = l.ownLauncher();
    if (!v)
        return;
    v->DeactivateNavmode(NAVMODE_KILLROT);
    const rules::YawCommand c = rules::yawHold(l.currentHeading, l.launchAzimuth);
    if (c.setLeft)
        v->SetThrusterGroupLevel(THGROUP_ATT_YAWLEFT, c.left);
    if (c.setRight)
        v->SetThrusterGroupLevel(THGROUP_ATT_YAWRIGHT, c.right);
    if (c.latch)
        l.headingHoldLatched = 1;
}

// Pushes the wings level once, then waits 5 s before it pushes again.
void bankDamper(MediumLauncher& l) {
    VESSEL* v = l.ownLauncher();
    if (!v)
        return;
    const double bank = v->GetBank();
    if (l.missionTime > l.bankTimer) {
        if (bank > 0.002) {
            v->SetThrusterGroupLevel(THGROUP_ATT_BANKRIGHT, 0.1);
            v->SetThrusterGroupLevel(THGROUP_ATT_BANKLEFT, 0);
        }
        if (bank < -0.002) {
            v->SetThrusterGroupLevel(THGROUP_ATT_BANKRIGHT, 0);
            v->SetThrusterGroupLevel(THGROUP_ATT_BANKLEFT, 0.1);
        }
    }
    if (bank > -0.002 && bank < 0.002) {
        v->SetThrusterGroupLevel(THGROUP_ATT_BANKRIGHT, 0);
        v->SetThrusterGroupLevel(THGROUP_ATT_BANKLEFT, 0);
    }
    l.bankTimer = l.missionTime + 5;
}

}  // namespace

void MediumLauncher::guidanceStep() {
    VESSELSTATUS2 vs;
    std::memset(&vs, 0, sizeof vs);
    vs.version = 2;
    GetStatusEx(&vs);

    rollProgramme(vs);
    pitchProgramme(vs);
    upperStagePitchLaw(vs);
    insertionStep(vs);
    if (headingHoldReleased == 0 && (missionTime > 90 || headingHoldLatched == 1))
        headingHold(vs);
    DefSetStateEx(&vs);
    if (ascentPhase < 3 && !GroundContact())
        oapiSetTimeAcceleration(1);
}

void MediumLauncher::rollProgramme(VESSELSTATUS2& vs) {
    const GuidanceTables& g = *kVariant.guidance;
    if (!(missionTime > g.rollStart && missionTime < g.rollEnd) || rollProgrammeDone != 0)
        return;
    rollLevel = rules::rollLevel(std::fabs(rollAngle - launchAzimuth), rollLevel);
    if (rollInhibit != 0)
        return;
    const rules::BankCommand c = rules::rollCommand(launchSite, rollAngle, launchAzimuth, rollLevel);
    if (c.act) {
        SetThrusterGroupLevel(THGROUP_ATT_BANKRIGHT, c.right);
        SetThrusterGroupLevel(THGROUP_ATT_BANKLEFT, c.left);
    }
    if (c.captured) {
        rollInhibit = 1;
        vs.vrot.y = 0;
        ActivateNavmode(NAVMODE_KILLROT);
        rollProgrammeDone = 1;
    }
}

void MediumLauncher::pitchProgramme(VESSELSTATUS2& vs) {
    const GuidanceTables& g = *kVariant.guidance;
    const double t = missionTime;
    if (t > 45 && t < 90 && rollProgrammeDone == 1) {
        holdPitch(currentPitch, g.hold1Low, g.hold1High, kHoldRate, vs.vrot.x);
        if (headingHoldLatched == 0)
            yawHeadingHold(*this);
    }
    if (t >= 90 && t < 125) {
        holdPitch(currentPitch, g.hold2Low, g.hold2High, kHoldRate, vs.vrot.x);
        if (headingHoldLatched == 0)
            yawHeadingHold(*this);
    }
    if (t > 125 && t < g.programmeEnd) {
        const rules::PitchChoice choice = rules::pitchTarget(g, t, payloadMass, {targetPitch, throttleBack});
        targetPitch = choice.targetPitch;
        throttleBack = choice.throttleBack;
        if (currentPitch < 0)
            targetPitch = 0;
        holdPitch(currentPitch, targetPitch, targetPitch + 1, kProgrammeRate, vs.vrot.x);
    }
    if (t > g.throttleBackFrom && ascentPhase == 0 && GetThrusterGroupLevel(THGROUP_MAIN) > 0)
        SetThrusterGroupLevel(THGROUP_MAIN, 1 - throttleBack);
    const bool fairingDue = (stage == 1 && t > g.fairingTimeStage1) || (stage == 2 && t > g.fairingTimeStage2);
    if (fairingDue && fairingAttached == 1)
        fairingJettison();
}

void MediumLauncher::upperStagePitchLaw(VESSELSTATUS2& vs) {
    const GuidanceTables& g = *kVariant.guidance;
    if (!(missionTime > g.upperStageLawFrom))
        return;
    const bool burning = GetThrusterGroupLevel(THGROUP_MAIN) > 0.01;
    if (!(ascentPhase == 0 || (ascentPhase <= 3 && burning && currentHeading == launchAzimuth)))
        return;
    const double pitch = currentPitch;
    double& rate = vs.vrot.x;
    if (GetThrusterLevel(mainEngine) > 0.01) {
        if (timeToApoapsis > 90) {
            holdPitch(pitch, 0, 1, kProgrammeRate, rate);
        } else {
            // Close to the apoapsis the nose comes up to push it ahead.
            const double target = 90 - timeToApoapsis;
            if (pitch < target)
                rate = kProgrammeRate;
            if (pitch > target)
                rate = -kProgrammeRate;
            if (pitch == target)
                rate = 0;
            if (pitch > 55)
                rate = -kProgrammeRate;
        }
        if (timeToApoapsis >= 1000) {  // the apoapsis has just been passed
            rate = pitch <= 85 ? kProgrammeRate : -kProgrammeRate;
        }
        if (timeToApoapsis >= 70 && periapsisRadius > 5200)
            upperStageLatch = 1;
        if (upperStageLatch == 1) {
            if (pitch <= 0)
                rate = kProgrammeRate;
            if (pitch > 1)
                rate = -kProgrammeRate;
            if (pitch > 0 && pitch < 1)
                rate = 0;
        }
    }
    if (pitch < 0)
        rate = kLevellingRate;
}

void MediumLauncher::headingHold(VESSELSTATUS2& vs) {
    const GuidanceTables& g = *kVariant.guidance;
    DeactivateNavmode(NAVMODE_KILLROT);
    for (THGROUP_TYPE group : {THGROUP_ATT_BANKLEFT, THGROUP_ATT_BANKRIGHT, THGROUP_ATT_YAWLEFT, THGROUP_ATT_YAWRIGHT})
        SetThrusterGroupLevel(group, 0);

    // Headings are compared across the 0/360 seam.
    const double error = rules::wrapDegrees(currentHeading - launchAzimuth);
    if ((error > -0.002 && error < 0.002) || headingHoldLatched == 1) {
        double& yawRate = vs.vrot.y;
        if (g.fineYawProportionalBelow55)
            yawRate = error;  // degrees taken as rad/s
        if (!g.fineYawProportionalBelow55 || currentPitch > 55) {
            if (error > 0)
                yawRate = g.fineYawRate;
            if (error < 0)
                yawRate = -g.fineYawRate;
            if (error == 0)
                yawRate = 0;
        }
        VECTOR3 up;
        HorizonInvRot(_V(0, 1, 0), up);
        vs.arot.z += std::atan2(up.x, up.y);  // level the wings
        vs.vrot.z = 0;
        headingHoldLatched = 1;
    } else {
        ActivateNavmode(NAVMODE_KILLROT);
        yawHeadingHold(*this);
        bankDamper(*this);
    }
}

}  // namespace medium
