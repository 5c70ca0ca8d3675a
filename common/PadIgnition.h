// What a launcher shows at its engines while the pad holds it down: three
// long flames and three short ones across the engine row, and the pad's
// cloud, plume and smoke below it. The pad engine carries them all and
// gives no thrust.
#pragma once

#include "Orbitersdk.h"

namespace tarvik {

// Adds the flames (drawn with `flameTexture`) and the three streams to
// `engine`; `texture` gives the handle the module registered for a
// stream's texture name.
void addPadIgnitionEffects(const VESSEL& launcher, THRUSTER_HANDLE engine, SURFHANDLE flameTexture,
                           SURFHANDLE (*texture)(const char* name));

}  // namespace tarvik
