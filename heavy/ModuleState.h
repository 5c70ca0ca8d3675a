// State kept once per loaded module rather than per vessel: the mission clock,
// the engine and tank handles of the current configuration, and the textures
// registered when the module is loaded. Every heavy launcher in the
// simulation shares it, so one of them flies at a time.
#pragma once

#include "Orbitersdk.h"

namespace heavy {

// Seconds since lift-off.
extern double missionTime;

// The engine the main thruster group drives in the current configuration,
// and the two side-core engines while the side cores are attached.
extern THRUSTER_HANDLE mainEngine;
extern THRUSTER_HANDLE leftCoreEngine;
extern THRUSTER_HANDLE rightCoreEngine;

// Solid-booster tanks in the order the pairs leave: (x -0.9, x 0.9),
// (x -5.121, x 5.121), (x 6.921, x -6.921).
extern PROPELLANT_HANDLE boosterPairTanks[3][2];

// The handle the module registered under `name` when it was loaded, or null.
SURFHANDLE registeredTexture(const char* name);

}  // namespace heavy
