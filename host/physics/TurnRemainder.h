// The remainder of an angle over whole turns, as std::fmod(a, PI2) gives it,
// bit for bit. The angles the physics wraps lie within two turns either way,
// and there the remainder is the angle itself or one exact subtraction
// (the difference of two numbers within a factor of two of each other is
// exact), so the library's division loop is only run for the others.
#pragma once

#include <cmath>

#include "OrbiterAPI.h"

namespace host::physics {

inline double turnRemainder(double a) {
    if (a >= 0) {
        if (a < PI2)
            return a;
        if (a < 2 * PI2)
            return a - PI2;
    } else if (a > -PI2) {
        return a;
    } else if (a > -2 * PI2 && a != -PI2) {  // fmod keeps the sign: -PI2 gives -0
        return a + PI2;
    }
    return std::fmod(a, PI2);
}

}  // namespace host::physics
