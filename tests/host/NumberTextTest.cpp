// The angles a save writes: the same texts as the search with printf and
// strtod that the host made before, for angles of every kind a vessel holds
// (a pad's place typed in a scenario, a flying vessel's orientation, whole
// degrees, tiny, huge and odd values).
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "OrbiterAPI.h"
#include "sim/NumberText.h"

namespace {

// The search as printf and strtod do it: the fewest decimals (then the fewest
// significant digits) of the degree value or its four nearest neighbours that
// read back, times RAD, as the angle.
std::string printfDegrees(double radians) {
    if (!std::isfinite(radians))
        return "0";
    const double approx = radians * DEG;
    double c[5] = {approx, std::nextafter(approx, INFINITY), std::nextafter(approx, -INFINITY), 0, 0};
    c[3] = std::nextafter(c[1], INFINITY);
    c[4] = std::nextafter(c[2], -INFINITY);
    char buf[64];
    auto readsBack = [&](double v, const char* format, int digits) {
        std::snprintf(buf, sizeof buf, format, digits, v);
        return std::strtod(buf, nullptr) * RAD == radians;
    };
    if (std::fabs(approx) < 1e15)
        for (int decimals = 0; decimals <= 17; ++decimals)
            for (double v : c)
                if (readsBack(v, "%.*f", decimals))
                    return buf;
    for (int digits = 1; digits <= 17; ++digits)
        for (double v : c)
            if (readsBack(v, "%.*g", digits))
                return buf;
    return host::numberText(approx);
}

TEST(DegreesText, WritesTheTextsPrintfFinds) {
    std::vector<double> angles = {0.0, -0.0, 28.53429 * RAD, -80.568 * RAD, 90 * RAD, 180 * RAD, PI, -PI, PI2,
                                  1e-300, -1e-310, DBL_MIN, DBL_TRUE_MIN, 1e13, 3e306, DBL_MAX, -DBL_MAX};
    std::mt19937_64 random(20261210);
    std::uniform_real_distribution<double> turn(-PI2, PI2);
    std::uniform_int_distribution<int> degree(-360, 360), decimals(0, 6);
    for (int i = 0; i < 3000; ++i) {
        angles.push_back(turn(random));  // an orientation or a heading
        // A place or heading typed with a few decimals.
        angles.push_back(std::round(degree(random) * std::pow(10.0, decimals(random)) * 0.9817) /
                         std::pow(10.0, decimals(random)) * RAD);
        uint64_t bits = random();
        double any = 0;
        std::memcpy(&any, &bits, sizeof any);
        angles.push_back(any);  // anything, NaN and infinities among them
    }
    int mismatches = 0;
    for (double a : angles) {
        const std::string expected = printfDegrees(a), actual = host::degreesText(a);
        if (expected != actual && ++mismatches <= 5)
            ADD_FAILURE() << "angle " << a << ": printf finds \"" << expected << "\", the save writes \"" << actual
                          << "\"";
    }
    EXPECT_EQ(mismatches, 0) << "of " << angles.size() << " angles";
}

}  // namespace
