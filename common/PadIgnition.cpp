#include "PadIgnition.h"

#include "StreamRows.h"

namespace tarvik {
namespace {

using PS = PARTICLESTREAMSPEC;

// clang-format off
//                          size rate speed spread life growth slow light         level map      lmin lmax atm map       amin     amax  texture
constexpr StreamRow kCloud {14,  4,   -5,   13,    12,  8,     2,   PS::DIFFUSE,  PS::LVL_PSQRT, 0,   2,   PS::ATM_PLOG, 0.0001,  1,    "tarvik/Contrail4"};
constexpr StreamRow kPlume {3,   3,   -40,  0.2,   7,   8,     0.5, PS::EMISSIVE, PS::LVL_SQRT,  0,   1,   PS::ATM_PLIN, 0.00001, 0.01, "tarvik/Contrail4"};
constexpr StreamRow kSmoke {5.4, 14,  -32,  0.5,   6,   2.9,   0.5, PS::EMISSIVE, PS::LVL_SQRT,  0,   1,   PS::ATM_PLIN, 0.00001, 0.01, "tarvik/Exhaust"};
// clang-format on

constexpr double kRowX[3] = {0, 6, -6};  // across the engine row [m]

void addStream(const VESSEL& launcher, THRUSTER_HANDLE engine, const StreamRow& row, double z,
               SURFHANDLE (*texture)(const char*)) {
    PARTICLESTREAMSPEC stream = particleStream(row, texture(row.texture));
    launcher.AddExhaustStream(engine, _V(0, 0, z), &stream);
}

}  // namespace

void addPadIgnitionEffects(const VESSEL& launcher, THRUSTER_HANDLE engine, SURFHANDLE flameTexture,
                           SURFHANDLE (*texture)(const char* name)) {
    const VECTOR3 aft = _V(0, 0, -1);
    for (double x : kRowX)
        launcher.AddExhaust(engine, 65, 2, _V(x, 0, -21), aft, flameTexture);
    for (double x : kRowX)
        launcher.AddExhaust(engine, 4, 4, _V(x, 0, -20), aft, nullptr);
    addStream(launcher, engine, kCloud, -20, texture);
    addStream(launcher, engine, kPlume, -21, texture);
    addStream(launcher, engine, kSmoke, -25, texture);
}

}  // namespace tarvik
