// Meshes and textures the modules load or register by name. A handle lives as
// long as the process, so a module may keep it in a module-wide variable.
#pragma once

#include <string>

#include "OrbiterAPI.h"

struct HostMesh {
    std::string name;
};

struct HostSurface {
    std::string name;
    bool particle = false;  // registered as a particle texture
};

namespace host {

MESHHANDLE meshNamed(const std::string& name);
SURFHANDLE textureNamed(const std::string& name, bool particle);

// The name a mesh handle carries ("" for null).
std::string meshName(MESHHANDLE h);
std::string textureName(SURFHANDLE h);

}  // namespace host
