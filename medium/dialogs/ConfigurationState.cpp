#include "ConfigurationState.h"

namespace medium {

int recreatePending = 0;
int payloadIsGlider = 0;
std::string variantBase;
std::string customPayloadClass;
std::string customMeshName;
double customZOffset = 0;
double customWeight = 0;
int customFairing = 0;
std::string customImagePath;
double previewActive = 0;
UINT previewMesh = 0;
UINT adapterMesh = 0;

}  // namespace medium
