// What the configuration dialogs keep between their actions: the re-creation
// Apply asked for, the picture of the custom payload picked, and the mesh and
// offset the payload placement preview shows.
#pragma once

#include <string>

#include "Orbitersdk.h"

namespace medium {

extern int recreatePending;         // 1 after Apply: the post-step re-creates or refreshes the launcher
extern std::string customMeshName;  // the placement preview's mesh and offset [m]
extern double customZOffset;
extern std::string customImagePath;
extern double previewActive;  // 1.0 while the payload placement preview is on
extern UINT previewMesh;
extern UINT adapterMesh;

}  // namespace medium
