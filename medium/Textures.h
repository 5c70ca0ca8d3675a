// The exhaust and particle textures the module registers when it is loaded,
// and the look-up the stage set-ups use to put them on flames and streams.
#pragma once

#include "Orbitersdk.h"

namespace medium {

// The handle registered under `name`, or null (untextured) if the build has none.
SURFHANDLE registeredTexture(const char* name);

}  // namespace medium
