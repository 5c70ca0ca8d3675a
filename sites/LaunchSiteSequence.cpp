// The pad's part in a launch, once per step: vents chosen by the launcher's
// name, the burn-off flare, launch clouds that fade as the launcher gains
// speed, the arm swing at lift-off and the cut of every effect once the
// launcher has climbed out.
#include <algorithm>
#include <cstring>

#include "LauncherNames.h"
#include "LaunchSite.h"

namespace sites {

namespace {

using tarvik::LauncherType;

// Which vents a launcher gets, by its vessel name (compared whole).
struct VentRow {
    LauncherType types[2];
    double ventLevels[5];  // vents 1 to 5
};

// clang-format off
const VentRow ventsByLauncher[] = {
    // launcher types                                   vents 1  2  3  4  5
    {{LauncherType::Heavy,    LauncherType::HeavyPlus}, {1, 1, 1, 1, 0}},
    {{LauncherType::Medium54, LauncherType::Medium52},  {1, 1, 0, 0, 0}},
    {{LauncherType::Medium4,  LauncherType::Medium42},  {1, 0, 0, 0, 1}},
};
// clang-format on

bool isNameOf(LauncherType type, const char* name) {
    for (const char* candidate : tarvik::launcherTypeEntry(type).names)
        if (std::strcmp(candidate, name) == 0)
            return true;
    return false;
}

bool timeRunsAtRealTime() {
    return oapiGetTimeAcceleration() == 1;
}

}  // namespace

void LaunchSite::clbkPreStep(double simt, double simdt, double mjd) {
    if (!firstStepDone)
        settleRestoredEffects();
    answerFocusRequest();
    searchStep();
    burnOffFlare();
    if (pad.ignitionSeen == 0)
        setEffect(Effect::SecondCloud, 0);
    if (pad.climbedOut == 0) {
        matchPadMesh();
        if (pad.towerHome > 0)
            ventForLauncher();
    }
    if (pad.armState > 0) {  // the arms have swung clear: nothing left to vent or light on them
        ventsOff();
        setEffect(Effect::Spare, 0);
        setEffect(Effect::TowerLight, 0);
    }
    if (oapiGetTimeAcceleration() > 1)  // venting at speed would only flicker
        ventsOff();
    if (pad.liftoffSeen == 1)
        swingArms(simdt);
    if (pad.ignitionSeen == 1 && pad.cloudsDone == 0)
        showLaunchClouds();
    if (pad.trackedAltitude > 100 && pad.trackedAltitude < 200 && pad.climbedOut == 0)
        cutLaunchEffects();
    nightLighting(mjd);
}

// A pad loaded from a scenario gets back the effect levels it was saved with,
// but not the state behind them: on its first step it shows what its own
// state says. The launch clouds wait for an ignition it has seen; the night
// lighting, down until now, follows the time of day from this step on.
void LaunchSite::settleRestoredEffects() {
    firstStepDone = true;
    if (pad.ignitionSeen == 0)
        SetThrusterGroupLevel(THGROUP_HOVER, 0);
    if (lightsOn == 0) {
        setEffect(Effect::Floodlight, 0);
        setEffect(Effect::TowerLight, 0);
    }
}

// The flare climbs by a fixed step per frame, not per second, so it cycles
// about every 900 steps at real time and rests under time acceleration.
void LaunchSite::burnOffFlare() {
    if (!hasEffect(Effect::Flare))
        return;
    if (timeRunsAtRealTime()) {
        flareLevel += 0.001;
        if (flareLevel > 1)
            flareLevel = 0.1;
        setEffect(Effect::Flare, flareLevel);
    } else {
        setEffect(Effect::Flare, 0);
    }
}

// sitewest shows a pad built for the heavy launcher while one stands on it.
void LaunchSite::matchPadMesh() {
    if (!site.heavyPadMesh)
        return;
    const bool heavy = isNameOf(LauncherType::HeavyPlus, pad.trackedName);
    const VECTOR3 origin = _V(0, 0, 0);
    if (pad.heavyPadMesh == 0 && heavy) {
        pad.heavyPadMesh = 1.0;
        InsertMesh(site.heavyPadMesh, 0, &origin);
    } else if (pad.heavyPadMesh == 1 && !heavy) {
        pad.heavyPadMesh = 0.0;
        InsertMesh(site.meshes[0].name, 0, &origin);
    }
}

// Vents open only at real time: time acceleration would make the venting race.
void LaunchSite::ventForLauncher() {
    for (const VentRow& row : ventsByLauncher)
        for (LauncherType type : row.types)
            if (timeRunsAtRealTime() && isNameOf(type, pad.trackedName))
                for (int i = 0; i < 5; ++i)
                    setEffect(kVents[i], row.ventLevels[i]);
}

// The arms swing clear in about 0.89 s and stay there.
void LaunchSite::swingArms(double simdt) {
    pad.armState = std::clamp(pad.armState + 1.12 * simdt, 0.0, 1.0);
    animate(Drive::ArmState, pad.armState);
}

// Thick clouds at ignition, thinning as the launcher picks up speed and gone at 30 m/s.
void LaunchSite::showLaunchClouds() {
    ventsOff();
    const double level = std::max(0.0, 1 - pad.trackedAirspeed / 30);
    SetThrusterGroupLevel(THGROUP_HOVER, level);
    setEffect(Effect::SecondCloud, level);
}

void LaunchSite::cutLaunchEffects() {
    pad.climbedOut = 1.0;
    SetThrusterGroupLevel(THGROUP_HOVER, 0);
    setEffect(Effect::SecondCloud, 0);
    pad.cloudsDone = 1.0;
    ventsOff();
}

}  // namespace sites
