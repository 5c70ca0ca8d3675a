// The atmosphere against the published 1976 standard atmosphere tables.
#include <gtest/gtest.h>

#include "physics/Atmosphere.h"

using host::physics::atmosphereAt;

TEST(Atmosphere, MatchesThe1976StandardWithinOnePercent) {
    struct Row {
        double altitude, temperature, pressure, density;
    };
    // Geometric altitude [m], K, Pa, kg/m^3, as tabulated by the standard.
    // clang-format off
    const Row table[] = {
        {0, 288.15, 101325, 1.2250},       {11000, 216.77, 22700, 0.36480},
        {20000, 216.65, 5529.3, 0.088910}, {32000, 228.49, 889.06, 0.013555},
        {50000, 270.65, 79.779, 1.0269e-3}, {80000, 198.64, 1.0524, 1.8458e-5},
    };
    // clang-format on
    for (const Row& r : table) {
        SCOPED_TRACE(r.altitude);
        const auto a = atmosphereAt(r.altitude);
        EXPECT_NEAR(a.temperature, r.temperature, 0.01 * r.temperature);
        EXPECT_NEAR(a.pressure, r.pressure, 0.01 * r.pressure);
        EXPECT_NEAR(a.density, r.density, 0.01 * r.density);
    }
}

TEST(Atmosphere, ThinsSmoothlyAboveTheLayersAndEndsAtItsTop) {
    double previous = atmosphereAt(0).density;
    for (double h = 1000; h < 1000e3; h += 1000) {
        const double d = atmosphereAt(h).density;
        ASSERT_LT(d, previous) << h;
        ASSERT_GT(d, 0.75 * previous) << h;  // no jumps between layers or table rows
        previous = d;
    }
    EXPECT_NEAR(atmosphereAt(400e3).density, 2.803e-12, 0.01 * 2.803e-12);
    EXPECT_EQ(atmosphereAt(1001e3).density, 0.0);
    EXPECT_EQ(atmosphereAt(1001e3).pressure, 0.0);
    EXPECT_EQ(atmosphereAt(-50).pressure, atmosphereAt(0).pressure);
}
