// What the module keeps once, not per launcher: its instance (dialogs and
// bitmaps are found by it), the simulator's folder the custom payload
// pictures are found from, and the pad flame texture it registers. A
// launcher's own flight state is its LauncherState.
#pragma once

#include "Orbitersdk.h"

namespace medium {

extern HINSTANCE moduleInstance;
extern char currentDirectory[260];
extern SURFHANDLE padFlameTexture;

}  // namespace medium
