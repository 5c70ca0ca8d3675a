// The exhaust and particle textures a module registers when it is loaded,
// and the look-up by name its set-ups use to put them on flames and streams.
// Each module keeps its own table of rows, each with a `name`, and a handle
// per row (null where the module did not register that row).
#pragma once

#include <cstddef>
#include <cstring>

#include "Orbitersdk.h"

namespace tarvik {

enum class TextureKind { Exhaust, Particle };

inline SURFHANDLE registerTexture(const char* name, TextureKind kind) {
    char* writable = const_cast<char*>(name);  // the simulator's call takes a non-const name
    return kind == TextureKind::Particle ? oapiRegisterParticleTexture(writable) : oapiRegisterExhaustTexture(writable);
}

// The first handle registered under `name`, or null (untextured).
template <class Row, std::size_t N>
SURFHANDLE registeredUnder(const char* name, const Row (&rows)[N], const SURFHANDLE (&handles)[N]) {
    if (!name)
        return nullptr;
    for (std::size_t i = 0; i < N; ++i)
        if (handles[i] && std::strcmp(rows[i].name, name) == 0)
            return handles[i];
    return nullptr;
}

}  // namespace tarvik
