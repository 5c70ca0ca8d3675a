// What the configuration dialogs keep between their actions: whether the
// dialog is open, the re-creation it asked for, and the working copies of a
// custom payload and of the placement preview.
#pragma once

#include <string>

#include "Orbitersdk.h"

namespace medium {

extern int recreatePending;  // 1 after Apply: the post-step re-creates or refreshes the launcher
extern int payloadIsGlider;
extern std::string variantBase;  // base name of the chosen launcher type
extern std::string customPayloadClass;
extern std::string customMeshName;
extern double customZOffset;
extern double customWeight;
extern int customFairing;
extern std::string customImagePath;
extern double previewActive;  // 1.0 while the payload placement preview is on
extern UINT previewMesh;
extern UINT adapterMesh;

}  // namespace medium
