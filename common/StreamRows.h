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
inline PARTICLESTREAMSPEC particleStream(const StreamRow& row, SURFHANDLE texture) {
    PARTICLESTREAMSPEC stream = {};
    stream.flags = 0;
    stream.srcsize = row.size;
    stream.srcrate = row.rate;
    stream.v0 = row.speed;
    stream.srcspread = row.spread;
    stream.lifetime = row.life;
    stream.growthrate = row.growth;
    stream.atmslowdown = row.slowdown;
    stream.ltype = row.light;
    stream.levelmap = row.levelMap;
    stream.lmin = row.lmin;
    stream.lmax = row.lmax;
    stream.atmsmap = row.atmMap;
    stream.amin = row.amin;
    stream.amax = row.amax;
    stream.tex = texture;
    return stream;
}

}  // namespace tarvik
