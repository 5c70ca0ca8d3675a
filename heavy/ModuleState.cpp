#include "ModuleState.h"

#include "RegisteredTextures.h"

namespace heavy {

namespace {

struct TextureRegistration {
    const char* name;
    tarvik::TextureKind kind;
};

constexpr tarvik::TextureKind E = tarvik::TextureKind::Exhaust;
constexpr tarvik::TextureKind P = tarvik::TextureKind::Particle;

// In the order they are registered; "tarvik/l" and the second
// "tarvik/Exhaust2" are registered but never drawn.
constexpr TextureRegistration kTextureRegistrations[] = {
    {"tarvik/flame", E},    {"tarvik/Exhaust", E},    {"tarvik/ExhaustM", E}, {"tarvik/Exhaust2", E},
    {"tarvik/Exhaust2", E}, {"tarvik/gemexhaust", E}, {"tarvik/gem1", E},     {"tarvik/smoke2", P},
    {"tarvik/l", E},        {"tarvik/Contrail4", P},
};
constexpr int kRegistrationCount = sizeof kTextureRegistrations / sizeof kTextureRegistrations[0];

struct RegisteredTextures {
    SURFHANDLE handles[kRegistrationCount] = {};

    // Registered once, when the module is loaded and before any vessel exists.
    RegisteredTextures() {
        for (int i = 0; i < kRegistrationCount; ++i)
            handles[i] = tarvik::registerTexture(kTextureRegistrations[i].name, kTextureRegistrations[i].kind);
    }
};

RegisteredTextures registeredTextures;

}  // namespace

SURFHANDLE registeredTexture(const char* name) {
    return tarvik::registeredUnder(name, kTextureRegistrations, registeredTextures.handles);
}

}  // namespace heavy
