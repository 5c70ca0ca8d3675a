#include "PlaneLaunch.h"

#include <cmath>
#include <cstdio>

#include "Missions.h"
#include "physics/Earth.h"
#include "sim/NumberText.h"
#include "sim/Simulation.h"

namespace tarviksim {

namespace {

// The dialog lists vessels whose altitude, to a whole km, is above this.
constexpr double kListedAltitudeKm = 300;

std::string fixed(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

// A value as the dialog's "%0.Nf" text reads back.
double asShown(double value, int decimals) {
    return std::stod(fixed(value, decimals));
}

}  // namespace

PlaneScene readPlaneScene(const std::string& scenarioPath, const std::string& dataDir, const std::string& rootDir,
                          const std::string& launcher, const std::string& target) {
    host::Simulation sim(dataDir, 60, rootDir);
    sim.loadScenario(scenarioPath);
    host::VesselData* pad = sim.vessel(launcher);
    if (!pad || !pad->iface)
        throw MissionError("the scenario has no vessel " + launcher);

    PlaneScene s;
    s.startMjd = sim.mjd();
    double longitude = 0, latitude = 0, radius = 0;
    oapiGetEquPos(pad->iface->GetHandle(), &longitude, &latitude, &radius);
    VECTOR3 position{};
    pad->iface->GetGlobalPos(position);
    s.pad.latitude = latitude * DEG;
    s.pad.rightAscension = std::atan2(position.z, position.x) * DEG;
    s.pad.rate = host::physics::kEarthRotationRate * DEG;

    if (target.empty())
        return s;
    host::VesselData* t = sim.vessel(target);
    if (!t || !t->iface)
        throw MissionError("the scenario has no vessel '" + target + "' to launch into the plane of");
    if (t->state.landed)
        throw MissionError(target + " stands on the ground: it has no orbit to launch into the plane of");
    ELEMENTS el{};
    ORBITPARAM prm{};
    t->iface->GetElements(sim.earth(), el, &prm, 0, FRAME_EQU);
    const double altitude = t->iface->GetAltitude() / 1000;
    if (!(el.e < 1) || !(asShown(altitude, 0) > kListedAltitudeKm))
        throw MissionError(target + " is not in an Earth orbit the autopilot dialog lists (above " +
                           fixed(kListedAltitudeKm, 0) + " km): its altitude is " + fixed(altitude, 1) + " km");
    s.target = target;
    s.targetPlane = {el.i * DEG, el.theta * DEG};
    s.copiedAltitudeKm = asShown(altitude, 0);
    s.copiedInclinationDeg = asShown(el.i * DEG, 2);
    return s;
}

LaunchPlan planLaunch(const PlaneScene& scene, const OrbitPlane& plane, std::optional<bool> descending,
                      double latestLaunch) {
    const std::optional<PlanePass> pass = nextPass(scene.pad, plane, kEarliestLaunch + kPlaneLead, descending);
    if (!pass)
        throw MissionError("the plane at " + fixed(plane.inclination, 2) + " deg does not pass over the pad at latitude " +
                           fixed(scene.pad.latitude, 2));
    LaunchPlan p;
    p.target = scene.target;
    p.plane = plane;
    p.pass = *pass;
    p.launchTime = std::round((pass->time - kPlaneLead) * 100) / 100;  // as a pilot's clock reads it
    p.startMjd = scene.startMjd;
    if (p.launchTime > latestLaunch)
        throw MissionError("the next launch into the plane (" + std::string(pass->descending ? "descending" : "ascending") +
                           " node) is " + fixed(p.launchTime, 0) + " s after the scenario start, after the time limit "
                           "leaves room for the flight (" + fixed(latestLaunch, 0) + " s)");
    return p;
}

}  // namespace tarviksim
