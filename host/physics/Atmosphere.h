// The 1976 standard atmosphere, rotating with the Earth: the seven layers of
// constant lapse rate up to 86 km, then the standard's table of the upper
// atmosphere up to 1000 km, above which there is none.
#pragma once

namespace host::physics {

struct AtmosphereSample {
    double pressure = 0;     // [Pa]
    double density = 0;      // [kg/m^3]
    double temperature = 0;  // [K]
};

inline constexpr double kAtmosphereTop = 1000e3;  // [m] above the sphere

// At a geometric altitude above the Earth's sphere [m]; below the surface the
// sea-level values hold.
AtmosphereSample atmosphereAt(double altitude);

// The density atmosphereAt gives, times `factor` from now on in this thread
// (1: the standard's); a dispersed run sets it.
void setDensityScale(double factor);

}  // namespace host::physics
