// A particle stream as the launchers and pads list them, one table row per
// stream, and the simulator's stream record made from it.
#pragma once

#include "Orbitersdk.h"

namespace tarvik {

struct StreamRow {
    double size, rate, speed, spread, life, growth, slowdown;
    PARTICLESTREAMSPEC::LTYPE light;
    PARTICLESTREAMSPEC::LEVELMAP levelMap;
    double lmin, lmax;
    PARTICLESTREAMSPEC::ATMSMAP atmMap;
    double amin, amax;
    const char* texture;  // the name of a texture the module registers; null: untextured
};

// The row's parameters with `texture` to draw it with (the handle the module
// registered for the row's texture name, or any other); no flags.
inline PARTICLESTREAMSPEC streamSpec(const StreamRow& row, SURFHANDLE texture) {
    PARTICLESTREAMSPEC spec = {};
    spec.flags = 0;
    spec.srcsize = row.size;
    spec.srcrate = row.rate;
    spec.v0 = row.speed;
    spec.srcspread = row.spread;
    spec.lifetime = row.life;
    spec.growthrate = row.growth;
    spec.atmslowdown = row.slowdown;
    spec.ltype = row.light;
    spec.levelmap = row.levelMap;
    spec.lmin = row.lmin;
    spec.lmax = row.lmax;
    spec.atmsmap = row.atmMap;
    spec.amin = row.amin;
    spec.amax = row.amax;
    spec.tex = texture;
    return spec;
}

}  // namespace tarvik
