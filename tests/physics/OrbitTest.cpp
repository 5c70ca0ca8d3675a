// Orbits: a coasting orbit is kept at every time acceleration, and the
// elements and times agree with values worked out by hand.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "TestVessels.h"
#include "physics/TurnRemainder.h"

using namespace physics_test;
using host::physics::kEarthMu;

namespace {

struct ApsisDrift {
    double apoapsis = 0, periapsis = 0;  // largest change seen [m]
};

ApsisDrift flyTenOrbits(double warp) {
    TestVessel t;
    putInCircularOrbit(t, 400e3);
    double ap0 = 0, pe0 = 0;
    t.vessel().GetApDist(ap0);
    t.vessel().GetPeDist(pe0);
    const double r = host::physics::kEarthRadius + 400e3;
    const double period = PI2 * std::sqrt(r * r * r / kEarthMu);
    ApsisDrift drift;
    double mjd = 55000;
    for (int orbit = 0; orbit < 10; ++orbit) {
        fly(t, period, kFrame * warp, mjd);
        double ap = 0, pe = 0;
        t.vessel().GetApDist(ap);
        t.vessel().GetPeDist(pe);
        drift.apoapsis = std::max(drift.apoapsis, std::fabs(ap - ap0));
        drift.periapsis = std::max(drift.periapsis, std::fabs(pe - pe0));
    }
    return drift;
}

}  // namespace

TEST(Orbit, CircularOrbitIsKeptForTenOrbitsAtEveryTimeAcceleration) {
    for (double warp : {1.0, 100.0, 1000.0}) {
        SCOPED_TRACE(warp);
        const ApsisDrift d = flyTenOrbits(warp);
        EXPECT_LT(d.apoapsis, 100);
        EXPECT_LT(d.periapsis, 100);
    }
}

TEST(Orbit, ElementsAndTimesOfAnEllipticOrbitMatchHandValues) {
    // An orbit chosen by its elements; the state is built from them with the
    // textbook perifocal formulas (right-handed, z north), then written in the
    // host's left-handed frame (y north).
    const double a = 8000e3, e = 0.1, inc = 30 * RAD, node = 40 * RAD, argp = 60 * RAD, nu = 100 * RAD;
    const double p = a * (1 - e * e), r = p / (1 + e * std::cos(nu));
    const double px = r * std::cos(nu), py = r * std::sin(nu);
    const double vx = -std::sqrt(kEarthMu / p) * std::sin(nu), vy = std::sqrt(kEarthMu / p) * (e + std::cos(nu));
    auto toGlobal = [&](double x, double y) {
        const double co = std::cos(node), so = std::sin(node), cw = std::cos(argp), sw = std::sin(argp);
        const double ci = std::cos(inc), si = std::sin(inc);
        const double X = (co * cw - so * sw * ci) * x + (-co * sw - so * cw * ci) * y;
        const double Y = (so * cw + co * sw * ci) * x + (-so * sw + co * cw * ci) * y;
        const double Z = (sw * si) * x + (cw * si) * y;
        return _V(X, Z, Y);
    };
    TestVessel t;
    VESSELSTATUS2 s{};
    s.version = 2;
    s.rpos = toGlobal(px, py);
    s.rvel = toGlobal(vx, vy);
    host::physics::applyStatus(t.v(), s, 55000);

    const double ecc = 2 * std::atan(std::sqrt((1 - e) / (1 + e)) * std::tan(nu / 2));
    const double mean = ecc - e * std::sin(ecc);
    const double n = std::sqrt(kEarthMu / (a * a * a));

    ELEMENTS el;
    ORBITPARAM prm;
    ASSERT_TRUE(t.vessel().GetElements(nullptr, el, &prm, 0, FRAME_EQU));
    EXPECT_NEAR(el.a, a, 1e-3);
    EXPECT_NEAR(el.e, e, 1e-12);
    EXPECT_NEAR(el.i, inc, 1e-12);
    EXPECT_NEAR(el.theta, node, 1e-12);
    EXPECT_NEAR(el.omegab, node + argp, 1e-12);
    EXPECT_NEAR(el.L, node + argp + mean, 1e-12);
    EXPECT_NEAR(prm.TrA, nu, 1e-12);
    EXPECT_NEAR(prm.EcA, ecc, 1e-12);
    EXPECT_NEAR(prm.MnA, mean, 1e-12);
    EXPECT_NEAR(prm.PeD, a * (1 - e), 1e-3);
    EXPECT_NEAR(prm.ApD, a * (1 + e), 1e-3);
    EXPECT_NEAR(prm.T, PI2 / n, 1e-6);
    EXPECT_NEAR(prm.ApT, (PI - mean) / n, 1e-6);
    EXPECT_NEAR(prm.PeT, (PI2 - mean) / n, 1e-6);

    double ap = 0, pe = 0;
    t.vessel().GetApDist(ap);
    t.vessel().GetPeDist(pe);
    EXPECT_NEAR(ap, a * (1 + e), 1e-3);
    EXPECT_NEAR(pe, a * (1 - e), 1e-3);

    // The mean longitude at a later date runs on with the mean motion.
    ASSERT_TRUE(t.vessel().GetElements(nullptr, el, nullptr, 55000 + 600 / 86400.0, FRAME_EQU));
    EXPECT_NEAR(el.L, node + argp + mean + 600 * n, 1e-9);

    // Time to apoapsis counts down as the vessel coasts, and the orbit stays put.
    double mjd = 55000;
    fly(t, 100, kFrame * 10, mjd);
    ORBITPARAM later;
    t.vessel().GetElements(nullptr, el, &later, 0, FRAME_EQU);
    EXPECT_NEAR(later.ApT, prm.ApT - 100, 1e-4);
    EXPECT_NEAR(el.a, a, 1e-3);
}

TEST(Orbit, EastwardOrbitIsPrograde) {
    TestVessel east, west;
    putInCircularOrbit(east, 300e3);
    putInCircularOrbit(west, 300e3);
    west.v().state.vel = -west.v().state.vel;
    ELEMENTS el;
    east.vessel().GetElements(nullptr, el, nullptr, 0, FRAME_EQU);
    EXPECT_NEAR(el.i, 0, 1e-12);
    west.vessel().GetElements(nullptr, el, nullptr, 0, FRAME_EQU);
    EXPECT_NEAR(el.i, PI, 1e-12);
}

TEST(Orbit, EclipticElementsAreAskedForByTheFrame) {
    TestVessel equatorial;
    putInCircularOrbit(equatorial, 300e3);
    ELEMENTS el;
    equatorial.vessel().GetElements(nullptr, el, nullptr, 0, FRAME_ECL);
    EXPECT_NEAR(el.i * DEG, 23.439281, 1e-9);
    double mjd = 0;
    equatorial.vessel().GetElements(el, mjd);  // the simulator's default frame
    EXPECT_NEAR(el.i * DEG, 23.439281, 1e-9);
    equatorial.vessel().GetElements(nullptr, el, nullptr, 0, FRAME_EQU);
    EXPECT_NEAR(el.i, 0, 1e-12);
}

// The angles wrapped into whole turns (longitudes, nodes, anomalies, the
// Earth's turn) come out as the library's fmod gives them, bit for bit: at
// the turn boundaries, signed zeros, far outside two turns, and not numbers.
TEST(TurnRemainder, IsTheLibraryRemainderBitForBit) {
    using host::physics::turnRemainder;
    std::vector<double> angles = {0.0, -0.0, PI, -PI, PI2, -PI2, 2 * PI2, -2 * PI2, 3 * PI2, -3 * PI2, 1e300,
                                  -1e300, 5e-324, INFINITY, -INFINITY, NAN};
    for (double edge : {PI2, 2 * PI2, PI2 / 2}) {  // the few numbers either side of each boundary
        double below = edge, above = edge;
        for (int i = 0; i < 4; ++i) {
            below = std::nextafter(below, 0.0);
            above = std::nextafter(above, INFINITY);
            angles.insert(angles.end(), {below, -below, above, -above});
        }
    }
    uint64_t x = 88172645463325252ull;  // xorshift: the same spread of angles every run
    for (int i = 0; i < 200000; ++i) {
        x ^= x << 13, x ^= x >> 7, x ^= x << 17;
        angles.push_back((static_cast<double>(x >> 11) / 9007199254740992.0 - 0.5) * 6 * PI2);
    }
    for (double a : angles) {
        const double mine = turnRemainder(a), library = std::fmod(a, PI2);
        if (std::isnan(library))
            EXPECT_TRUE(std::isnan(mine)) << a;
        else
            EXPECT_EQ(std::memcmp(&mine, &library, sizeof mine), 0) << std::hexfloat << a << " " << mine << " " << library;
    }
}
