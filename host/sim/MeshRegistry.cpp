#include "MeshRegistry.h"

#include <map>
#include <memory>

#include "CurrentSimulation.h"

namespace host {

namespace {

std::map<std::string, std::unique_ptr<HostMesh>>& meshes() {
    static std::map<std::string, std::unique_ptr<HostMesh>> all;
    return all;
}

std::map<std::pair<std::string, bool>, std::unique_ptr<HostSurface>>& textures() {
    static std::map<std::pair<std::string, bool>, std::unique_ptr<HostSurface>> all;
    return all;
}

}  // namespace

MESHHANDLE meshNamed(const std::string& name) {
    auto& slot = meshes()[name];
    if (!slot)
        slot = std::make_unique<HostMesh>(HostMesh{name});
    return slot.get();
}

SURFHANDLE textureNamed(const std::string& name, bool particle) {
    auto& slot = textures()[{name, particle}];
    if (!slot)
        slot = std::make_unique<HostSurface>(HostSurface{name, particle});
    return slot.get();
}

std::string meshName(MESHHANDLE h) {
    return h ? h->name : std::string();
}
std::string textureName(SURFHANDLE h) {
    return h ? h->name : std::string();
}

}  // namespace host

MESHHANDLE oapiLoadMeshGlobal(const char* fname) {
    return fname ? host::meshNamed(fname) : nullptr;
}

namespace {

SURFHANDLE registerTexture(const char* name, bool particle) {
    if (!name)
        return nullptr;
    host::recordTexture(name);
    return host::textureNamed(name, particle);
}

}  // namespace

SURFHANDLE oapiRegisterExhaustTexture(char* name) {
    return registerTexture(name, false);
}
SURFHANDLE oapiRegisterParticleTexture(char* name) {
    return registerTexture(name, true);
}
