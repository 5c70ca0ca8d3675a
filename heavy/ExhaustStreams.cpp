#include "ExhaustStreams.h"

#include "ModuleState.h"

namespace heavy {

namespace {

using S = PARTICLESTREAMSPEC;

struct StreamRow {
    double size, rate, speed, spread, life, growth, slow;
    S::LTYPE light;
    S::LEVELMAP levelMap;
    double lmin, lmax;
    S::ATMSMAP atmMap;
    double amin, amax;
};

// clang-format off
constexpr StreamRow kStreams[] = {
    //  size  rate  speed spread life growth slow  light        level map    lmin lmax  atm map      amin     amax
    {   14,    4,   -5,  13,   12,   8,   2,   S::DIFFUSE,  S::LVL_PSQRT, 0,   2,   S::ATM_PLOG, 0.0001,  1    },  // P1
    {    3,    3,  -40,   0.2,  7,   8,   0.5, S::EMISSIVE, S::LVL_SQRT,  0,   1,   S::ATM_PLIN, 0.00001, 0.01 },  // P2
    {    5.4, 14,  -32,   0.5,  6,   2.9, 0.5, S::EMISSIVE, S::LVL_SQRT,  0,   1,   S::ATM_PLIN, 0.00001, 0.01 },  // P3
    {    5.5, 25,  200,   0.3,  0.9, 10,  3,   S::EMISSIVE, S::LVL_FLAT,  0.1, 0.4, S::ATM_PLOG, 0.0001,  1    },  // P4
    {    2.9, 450,  90,   0,    0.6,  1,  0.5, S::EMISSIVE, S::LVL_SQRT,  0,   1,   S::ATM_PLIN, 0.00001, 0.01 },  // P5
    {    1.6, 150,  90,   0,    0.4,  0,  1,   S::EMISSIVE, S::LVL_SQRT,  0,   1,   S::ATM_PLIN, 1,       0.01 },  // P6
    {    1.5, 200,  80,   0.04, 0.5,  2,  1,   S::EMISSIVE, S::LVL_SQRT,  0,   1,   S::ATM_PLIN, 0.00001, 0.01 },  // P7
    {    5.5, 20,  150,   0.3,  0.4,  9,  2,   S::EMISSIVE, S::LVL_FLAT,  0.1, 0.4, S::ATM_PLIN, 0.0001,  0.1  },  // P8
    {    2,   35,  100,   0.03, 0.75, 3.5, 0.2, S::EMISSIVE, S::LVL_SQRT, 0.5, 1,   S::ATM_PLIN, 0.00001, 0.01 },  // P9
    {    1.6, 150,  90,   0,    0.5,  0,  1,   S::EMISSIVE, S::LVL_SQRT,  0,   1,   S::ATM_PLIN, 1,       0.1  },  // P10
    {    2.2, 150,  90,   0,    0.5,  2,  0,   S::EMISSIVE, S::LVL_SQRT,  0,   0.8, S::ATM_PLIN, 0.00001, 0.01 },  // P11
    {    0.9, 120,  40,   0,    4.7,  3.5, 0,  S::EMISSIVE, S::LVL_SQRT,  0,   1,   S::ATM_PLIN, 0.00001, 0.01 },  // P12
    {    1,   160,  40,   0,    0.6,  6.9, 0,  S::EMISSIVE, S::LVL_SQRT,  0,   0.8, S::ATM_PLIN, 0.00001, 0.01 },  // P13
};
// clang-format on

}  // namespace

PARTICLESTREAMSPEC streamSpec(Stream stream, SURFHANDLE texture) {
    const StreamRow& r = kStreams[static_cast<int>(stream)];
    PARTICLESTREAMSPEC pss{};
    pss.flags = 0;
    pss.srcsize = r.size;
    pss.srcrate = r.rate;
    pss.v0 = r.speed;
    pss.srcspread = r.spread;
    pss.lifetime = r.life;
    pss.growthrate = r.growth;
    pss.atmslowdown = r.slow;
    pss.ltype = r.light;
    pss.levelmap = r.levelMap;
    pss.lmin = r.lmin;
    pss.lmax = r.lmax;
    pss.atmsmap = r.atmMap;
    pss.amin = r.amin;
    pss.amax = r.amax;
    pss.tex = texture;
    return pss;
}

SURFHANDLE moduleStreamTexture(Stream stream) {
    switch (stream) {
        case Stream::P1:
        case Stream::P2:
            return textures.contrail;
        case Stream::P3:
        case Stream::P5:
        case Stream::P7:
        case Stream::P11:
            return textures.exhaust;
        case Stream::P4:
        case Stream::P8:
            return textures.exhaust2;
        case Stream::P6:
        case Stream::P9:
        case Stream::P10:
            return textures.exhaustM;
        case Stream::P12:
            return textures.smoke;
        case Stream::P13:
            return textures.gemExhaust;
    }
    return nullptr;
}

}  // namespace heavy
