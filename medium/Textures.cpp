#include "Textures.h"

#include "RegisteredTextures.h"
#include "variants/VariantRecord.h"

namespace medium {
namespace {

using tarvik::TextureKind;

struct TextureRegistration {
    const char* name;
    TextureKind kind;
    bool m52, m42, m54, m4;  // registered by that build
};

constexpr TextureKind E = TextureKind::Exhaust;
constexpr TextureKind P = TextureKind::Particle;

// clang-format off
constexpr TextureRegistration kTextureRegistrations[] = {
    // name                    kind  M52    M42    M54    M4
    {"tarvik/TVHV_Exhaust",    E,    true,  true,  true,  true },
    {"tarvik/Exhaust",         E,    true,  true,  true,  true },
    {"tarvik/yexhaust",        E,    true,  true,  true,  true },
    {"tarvik/exhaust2",        P,    true,  true,  true,  false},
    {"tarvik/Exhaust2",        E,    false, false, false, true },  // TarvikM4's core streams, in the slot above
    {"tarvik/gemexhaust",      E,    true,  true,  true,  true },
    {"tarvik/gem1",            E,    true,  true,  true,  false},
    {"tarvik/smoke2",          P,    true,  true,  true,  true },
    {"tarvik/l",               E,    true,  true,  true,  true },
    {"tarvik/Exhaust2",        E,    true,  true,  true,  true },
    {"tarvik/Contrail4",       P,    true,  true,  true,  true },
    {"tarvik/ex2",             E,    true,  false, true,  true },
    {"tarvik/TVHV_firetrail",  E,    true,  true,  true,  true },
    {"tarvik/mq",              E,    true,  true,  true,  true },
    {"tarvik/Q",               E,    true,  true,  true,  true },
};
// clang-format on

constexpr int kRegistrationCount = sizeof kTextureRegistrations / sizeof kTextureRegistrations[0];

bool registeredBy(const TextureRegistration& r, Build build) {
    switch (build) {
        case Build::M52:
            return r.m52;
        case Build::M42:
            return r.m42;
        case Build::M54:
            return r.m54;
        case Build::M4:
            return r.m4;
    }
    return false;
}

struct RegisteredTextures {
    SURFHANDLE handles[kRegistrationCount] = {};

    // Registered once, when the module is loaded and before any vessel exists.
    RegisteredTextures() {
        for (int i = 0; i < kRegistrationCount; ++i) {
            const TextureRegistration& r = kTextureRegistrations[i];
            if (!registeredBy(r, kVariant.build))
                continue;
            handles[i] = tarvik::registerTexture(r.name, r.kind);
        }
    }
};

RegisteredTextures registeredTextures;

}  // namespace

SURFHANDLE registeredTexture(const char* name) {
    return tarvik::registeredUnder(name, kTextureRegistrations, registeredTextures.handles);
}

}  // namespace medium
