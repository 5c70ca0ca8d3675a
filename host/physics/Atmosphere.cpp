#include "Atmosphere.h"

#include <cmath>
#include <cstring>
#include <iterator>

namespace host::physics {

namespace {

constexpr double kGasConstant = 8.31432;      // [J/(mol K)], as the standard uses
constexpr double kMolarMass = 0.0289644;      // [kg/mol]
constexpr double kStandardGravity = 9.80665;  // [m/s^2]
constexpr double kGeopotentialRadius = 6356766.0;
constexpr double kHydrostatic = kStandardGravity * kMolarMass / kGasConstant;  // [K/m]

struct Layer {
    double baseHeight;       // geopotential [m]
    double lapseRate;        // [K/m]
    double baseTemperature;  // [K]
    double basePressure;     // [Pa]
};

// clang-format off
constexpr Layer kLayers[] = {
    // base height   lapse rate   base T    base p
    {0, -0.0065, 288.15, 101325.0},
    {11000, 0.0, 216.65, 22632.06},
    {20000, 0.001, 216.65, 5474.889},
    {32000, 0.0028, 228.65, 868.0187},
    {47000, 0.0, 270.65, 110.9063},
    {51000, -0.0028, 270.65, 66.93887},
    {71000, -0.002, 214.65, 3.956420},
};
// clang-format on
constexpr double kLowerTop = 84852.0;  // geopotential height of 86 km

struct UpperRow {
    double altitude;  // geometric [m]
    double pressure;  // [Pa]
    double density;   // [kg/m^3]
    double temperature;
};

// clang-format off
constexpr UpperRow kUpper[] = {
    // altitude  pressure    density     temperature
    {86e3, 3.7338e-1, 6.958e-6, 186.87},
    {90e3, 1.8359e-1, 3.416e-6, 186.87},
    {100e3, 3.2011e-2, 5.604e-7, 195.08},
    {110e3, 7.1042e-3, 9.708e-8, 240.00},
    {120e3, 2.5382e-3, 2.222e-8, 360.00},
    {130e3, 1.2505e-3, 8.152e-9, 469.27},
    {150e3, 4.5422e-4, 2.076e-9, 634.39},
    {200e3, 8.4736e-5, 2.541e-10, 854.56},
    {250e3, 2.4767e-5, 6.073e-11, 941.33},
    {300e3, 8.7704e-6, 1.916e-11, 976.01},
    {400e3, 1.4518e-6, 2.803e-12, 995.83},
    {500e3, 3.0236e-7, 5.215e-13, 999.24},
    {600e3, 8.2130e-8, 1.137e-13, 999.85},
    {700e3, 3.1908e-8, 3.070e-14, 999.97},
    {800e3, 1.7036e-8, 1.136e-14, 999.99},
    {900e3, 1.0873e-8, 5.759e-15, 1000.0},
    {1000e3, 7.5138e-9, 3.561e-15, 1000.0},
};
// clang-format on

AtmosphereSample lowerAtmosphere(double geopotential) {
    const Layer* layer = &kLayers[0];
    for (const Layer& l : kLayers)
        if (geopotential >= l.baseHeight)
            layer = &l;
    const double dh = geopotential - layer->baseHeight;
    AtmosphereSample s;
    if (layer->lapseRate == 0) {
        s.temperature = layer->baseTemperature;
        s.pressure = layer->basePressure * std::exp(-kHydrostatic * dh / layer->baseTemperature);
    } else {
        s.temperature = layer->baseTemperature + layer->lapseRate * dh;
        s.pressure =
            layer->basePressure * std::pow(layer->baseTemperature / s.temperature, kHydrostatic / layer->lapseRate);
    }
    s.density = s.pressure * kMolarMass / (kGasConstant * s.temperature);
    return s;
}

// Pressure and density fall off exponentially between rows: interpolate their
// logarithms.
AtmosphereSample upperAtmosphere(double altitude) {
    const UpperRow* hi = std::begin(kUpper) + 1;
    while (hi->altitude < altitude && hi + 1 != std::end(kUpper))
        ++hi;
    const UpperRow* lo = hi - 1;
    const double f = (altitude - lo->altitude) / (hi->altitude - lo->altitude);
    AtmosphereSample s;
    s.pressure = lo->pressure * std::pow(hi->pressure / lo->pressure, f);
    s.density = lo->density * std::pow(hi->density / lo->density, f);
    s.temperature = lo->temperature + f * (hi->temperature - lo->temperature);
    return s;
}

AtmosphereSample sampleAt(double altitude) {
    if (!(altitude < kAtmosphereTop))
        return {};  // also for NaN
    if (altitude < 0)
        altitude = 0;
    const double geopotential = kGeopotentialRadius * altitude / (kGeopotentialRadius + altitude);
    if (geopotential < kLowerTop)
        return lowerAtmosphere(geopotential);
    return upperAtmosphere(altitude);
}

// The flight asks again where it asked before (a sub-step's last kick and the
// next one's first are at the same place, and so is the next step's thrust),
// so the last few answers are kept, for each thread its own, with the
// density of a dispersed run's air (denser or thinner than the standard's
// by `densityScale`, Dispersions.h) already in them: a kept answer costs
// nothing more for it. One thread-local record, found once a call, in the
// host library's static share of each thread's storage: the library is
// loaded with the program, never opened later, so no lookup finds it.
struct Kept {
    double altitude;
    AtmosphereSample sample;
};
struct Air {
    Kept kept[4] = {{NAN, {}}, {NAN, {}}, {NAN, {}}, {NAN, {}}};
    unsigned next = 0;
    double densityScale = 1;
};
[[gnu::tls_model("initial-exec")]] thread_local Air air;

}  // namespace

AtmosphereSample atmosphereAt(double altitude) {
    Air& a = air;
    for (const Kept& k : a.kept)
        if (std::memcmp(&k.altitude, &altitude, sizeof altitude) == 0)
            return k.sample;
    AtmosphereSample s = sampleAt(altitude);
    s.density *= a.densityScale;
    a.kept[a.next++ % std::size(a.kept)] = {altitude, s};
    return s;
}

void setDensityScale(double factor) {
    air.densityScale = factor;
    for (Kept& k : air.kept)
        k.altitude = NAN;  // answers of the other air
}

}  // namespace host::physics
