// The service structures: withdrawn or brought home at the pad's ramp rate
// until the launcher lifts off, when they freeze where they are.
#include <algorithm>

#include "LaunchSite.h"

namespace sites {

void LaunchSite::clbkPostStep(double simt, double simdt, double mjd) {
    if (pad.liftoffSeen == 0)
        moveStructures(simdt);
    // Tower lights burn whenever the tower stands within a metre of home, by day too.
    if (hasEffect(Effect::TowerLight) && site.towerSlidePerState * towerRamp < 1)
        setEffect(Effect::TowerLight, 1);
}

void LaunchSite::moveStructures(double simdt) {
    const double d = site.towerRampRate * simdt;
    if (pad.towerHome < 1) {  // withdrawing: nothing vents from a structure on the move
        ventsOff();
        setEffect(Effect::Spare, 0);
        setEffect(Effect::TowerLight, 0);
        towerRamp = std::min(1.0, towerRamp + d);
        platformRamp = std::max(0.0, platformRamp - d);
        applyStructureStates();
    }
    if (pad.towerHome > 0) {  // returning
        towerRamp = std::max(0.0, towerRamp - d);
        platformRamp = std::min(1.0, platformRamp + d);
        applyStructureStates();
    }
}

void LaunchSite::applyStructureStates() {
    animate(Drive::TowerRamp, towerRamp);
    animate(Drive::PlatformRamp, platformRamp);
    const RidingBeacon& rider = site.ridingBeacon;
    if (rider.index >= 0 && towerRamp >= 0 && towerRamp <= rider.slideEndState)
        pad.beaconPos[rider.index].y = rider.homeY - site.towerSlidePerState * towerRamp;
}

}  // namespace sites
