#include "ModuleState.h"

#include <cstring>

namespace heavy {

double missionTime = 0;

THRUSTER_HANDLE mainEngine = nullptr;
THRUSTER_HANDLE leftCoreEngine = nullptr;
THRUSTER_HANDLE rightCoreEngine = nullptr;

PROPELLANT_HANDLE boosterPairTanks[3][2] = {};

namespace {

struct TextureRegistration {
    const char* name;
    bool particle;  // a particle texture, otherwise an exhaust texture
};

// In the order they are registered; "tarvik/l" and the second
// "tarvik/Exhaust2" are registered but never drawn.
constexpr TextureRegistration kTextureRegistrations[] = {
    {"tarvik/flame", false},    {"tarvik/Exhaust", false},    {"tarvik/ExhaustM", false}, {"tarvik/Exhaust2", false},
    {"tarvik/Exhaust2", false}, {"tarvik/gemexhaust", false}, {"tarvik/gem1", false},     {"tarvik/smoke2", true},
    {"tarvik/l", false},        {"tarvik/Contrail4", true},
};
constexpr int kRegistrationCount = sizeof kTextureRegistrations / sizeof kTextureRegistrations[0];

struct RegisteredTextures {
    SURFHANDLE handles[kRegistrationCount] = {};

    // Registered once, when the module is loaded and before any vessel exists.
    RegisteredTextures() {
        for (int i = 0; i < kRegistrationCount; ++i) {
            char* name = const_cast<char*>(kTextureRegistrations[i].name);
            handles[i] = kTextureRegistrations[i].particle ? oapiRegisterParticleTexture(name)
                                                           : oapiRegisterExhaustTexture(name);
        }
    }
};

RegisteredTextures registeredTextures;

}  // namespace

SURFHANDLE registeredTexture(const char* name) {
    if (!name)
        return nullptr;
    for (int i = 0; i < kRegistrationCount; ++i)
        if (std::strcmp(kTextureRegistrations[i].name, name) == 0)
            return registeredTextures.handles[i];
    return nullptr;
}

}  // namespace heavy
