#include "ModuleState.h"

namespace medium {

HINSTANCE moduleInstance = nullptr;
char currentDirectory[260] = {};
SURFHANDLE padFlameTexture = nullptr;

}  // namespace medium
