// Rigid-body rotation on its own: the rotation a rate gives, Euler's
// equations under a torque, and damping toward the air's rotation.
#include <gtest/gtest.h>

#include <cmath>

#include "physics/Attitude.h"
#include "physics/Frames.h"

namespace {

using namespace host::physics;

void expectNear(const MATRIX3& a, const MATRIX3& b, double tolerance) {
    for (int i = 0; i < 9; ++i)
        EXPECT_NEAR(a.data[i], b.data[i], tolerance) << "element " << i;
}

}  // namespace

TEST(Attitude, RateTurnsTheFrameByItsAngleInTheStatedSense) {
    // A quarter turn at positive wx lifts the nose (+z) onto +y.
    const MATRIX3 q = rotationIncrement(_V(PI / 2, 0, 0), 1);
    const VECTOR3 nose = mul(q, _V(0, 0, 1));
    EXPECT_NEAR(nose.y, 1, 1e-15);
    EXPECT_NEAR(nose.z, 0, 1e-15);

    // Any rate: a proper rotation, and two half steps make the whole one.
    const VECTOR3 w = _V(0.3, -0.2, 0.7);
    const MATRIX3 whole = rotationIncrement(w, 2);
    expectNear(product(whole, transposed(whole)), identityMatrix(), 1e-15);
    expectNear(product(rotationIncrement(w, 1), rotationIncrement(w, 1)), whole, 1e-15);
    expectNear(rotationIncrement(_V(0, 0, 0), 5), identityMatrix(), 0);
}

TEST(Attitude, TorqueAndGyroscopicCouplingFollowEulersEquations) {
    const VECTOR3 inertia = _V(200, 300, 400);
    const VECTOR3 none = _V(0, 0, 0);
    MATRIX3 R = identityMatrix();

    // From rest, a torque gives torque / I h about its axis.
    VECTOR3 omega = none;
    advanceAttitude(R, omega, _V(20, -30, 8), inertia, none, none, 0.5);
    EXPECT_DOUBLE_EQ(omega.x, 20.0 / 200 * 0.5);
    EXPECT_DOUBLE_EQ(omega.y, -30.0 / 300 * 0.5);
    EXPECT_DOUBLE_EQ(omega.z, 8.0 / 400 * 0.5);

    // Spinning about x and y together couples into z: Iz dwz/dt = -(Ix - Iy) wx wy.
    omega = _V(0.1, 0.2, 0);
    advanceAttitude(R, omega, none, inertia, none, none, 0.01);
    EXPECT_DOUBLE_EQ(omega.z, 0.01 * -(200.0 - 300) * 0.1 * 0.2 / 400);

    // A spin about a principal axis alone is kept.
    omega = _V(0, 0, 0.4);
    R = identityMatrix();
    advanceAttitude(R, omega, none, inertia, none, none, 1);
    EXPECT_EQ(omega.z, 0.4);
    expectNear(R, rotationIncrement(_V(0, 0, 0.4), 1), 1e-15);
}

TEST(Attitude, DampingPullsTowardTheAirsRotationWithoutOvershoot) {
    const VECTOR3 inertia = _V(100, 100, 100);
    const VECTOR3 air = _V(0, 7.29e-5, 0);
    MATRIX3 R = identityMatrix();
    VECTOR3 omega = _V(0.5, -0.5, 0.2);
    advanceAttitude(R, omega, _V(0, 0, 0), inertia, _V(2, 2, 2), air, 0.25);
    // The difference from the air shrinks by 1 / (1 + damping h).
    EXPECT_NEAR(omega.x, 0.5 / 1.5, 1e-15);
    EXPECT_NEAR(omega.y - air.y, (-0.5 - air.y) / 1.5, 1e-15);

    // A step far longer than the damping time settles on the air's rotation.
    omega = _V(0.5, -0.5, 0.2);
    advanceAttitude(R, omega, _V(0, 0, 0), inertia, _V(2, 2, 2), air, 1e9);
    EXPECT_NEAR(omega.x, 0, 1e-9);
    EXPECT_NEAR(omega.y, air.y, 1e-9);
    EXPECT_GT(omega.x, 0);  // approached from its own side
}
