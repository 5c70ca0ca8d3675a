#include "ConfigurationState.h"

namespace medium {

int recreatePending = 0;
std::string customMeshName;
double customZOffset = 0;
std::string customImagePath;
double previewActive = 0;
UINT previewMesh = 0;
UINT adapterMesh = 0;

}  // namespace medium
