// What the module keeps once rather than per launcher: the textures it
// registers when it is loaded. A launcher's clock, engines and tanks are its
// own (HeavyLauncher).
#pragma once

#include "Orbitersdk.h"

namespace heavy {

// The handle the module registered under `name` when it was loaded, or null.
SURFHANDLE registeredTexture(const char* name);

}  // namespace heavy
