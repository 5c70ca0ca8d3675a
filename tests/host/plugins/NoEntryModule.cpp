// A library that is not a vessel module: it exports no ovcInit.
#include "Orbitersdk.h"

DLLCLBK void InitModule(HINSTANCE hModule) {}
