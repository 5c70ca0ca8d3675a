// Night lighting: floodlights, night beacons, point lights and the lit-up pad
// meshes, switched by the time of day. The on and off windows leave a gap on
// each side in which nothing changes.
#include <cmath>

#include "LaunchSite.h"

namespace sites {

namespace {

bool inAnyWindow(std::span<const DayWindow> windows, double f) {
    for (const DayWindow& w : windows)
        if (w.contains(f))
            return true;
    return false;
}

}  // namespace

void LaunchSite::nightLighting(double mjd) {
    double wholeDays;
    const double f = std::modf(mjd, &wholeDays);  // UTC time of day as a fraction of a day
    if (lightsOn == 1 && inAnyWindow(site.nightOff, f))
        lightsDown();
    if (lightsOn == 0 && inAnyWindow(site.nightOn, f))
        lightsUp();
}

void LaunchSite::lightsUp() {
    setEffect(Effect::Floodlight, 1);
    setEffect(Effect::TowerLight, 1);
    lightsOn = 1.0;
    setNightBeacons(true);
    for (const PointLightRow& light : site.nightLights)
        AddPointLight(light.pos, light.range, 0, 0, light.quadraticAttenuation, light.colour, light.colour,
                      light.colour);
    for (std::size_t i = 0; i < site.nightMeshes.size(); ++i)
        nightMeshIndex[i] = AddMesh(site.nightMeshes[i].name, &site.nightMeshes[i].offset);
}

void LaunchSite::lightsDown() {
    setEffect(Effect::Floodlight, 0);
    setEffect(Effect::TowerLight, 0);
    for (std::size_t i = 0; i < site.nightMeshes.size(); ++i)
        DelMesh(nightMeshIndex[i], false);
    lightsOn = 0;
    setNightBeacons(false);
    ClearLightEmitters();
}

void LaunchSite::setNightBeacons(bool active) {
    for (std::size_t i = 0; i < site.beacons.size(); ++i)
        if (site.beacons[i].lit == Lit::AtNight)
            pad.beacons[i].active = active;
}

}  // namespace sites
