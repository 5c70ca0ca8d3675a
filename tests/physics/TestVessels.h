// Vessels built directly as host records, and a few ways to fly them.
#pragma once

#include <memory>

#include "Orbitersdk.h"
#include "physics/Earth.h"
#include "physics/Physics.h"
#include "sim/VesselData.h"

namespace physics_test {

using host::VesselData;

// A vessel record with its VESSEL interface, as a module would see it.
struct TestVessel {
    std::unique_ptr<VesselData> data = std::make_unique<VesselData>();
    std::unique_ptr<VESSEL2> iface;

    TestVessel();
    VesselData& v() { return host::settled(*data); }  // as any reader sees it
    VESSEL& vessel() { return *iface; }
    OBJHANDLE handle() { return data.get(); }

    host::Propellant* addTank(double mass, double efficiency = 1);
    host::Thruster* addThruster(VECTOR3 pos, VECTOR3 dir, double thrust, host::Propellant* tank, double isp,
                                double ispRef = 0, double pRef = 101.4e3);
    host::ThrusterGroup* addGroup(THGROUP_TYPE type, std::initializer_list<host::Thruster*> members);
};

// The fourteen attitude thrusters every launcher stage carries, with the
// given lateral arm, thrust and Isp, fed from one tank, grouped as the
// launchers group them.
void addAttitudeBlock(TestVessel& t, double arm, double thrust, double isp, host::Propellant* tank);

// An upper stage in the launchers' layout: 35 t with the attitude block of arm 2 m.
void makeUpperStage(TestVessel& t);

// Upright and level (+y up) with the nose along a heading, at a global position.
MATRIX3 levelAttitude(const VECTOR3& pos, double heading);

// Free flight on a circular equatorial orbit of the given altitude, moving
// east, upright with the nose along the velocity.
void putInCircularOrbit(TestVessel& t, double altitude, double mjd = 55000);

// dt seconds per frame (1/60 at time acceleration 1).
void fly(TestVessel& t, double seconds, double dt, double& mjd);

inline constexpr double kFrame = 1.0 / 60;

}  // namespace physics_test
