// A part leaving a launcher (a booster, a fairing half, a spent stage, the
// payload) becomes a vessel of its own: it starts from the launcher's state,
// offset and pushed away in the launcher's frame, flying.
#pragma once

#include <cstddef>

#include "Orbitersdk.h"

namespace tarvik {

// Which components of the launcher's angular velocity the part does not
// keep, and what they become.
struct PartSpin {
    bool setX = false, setY = false;
    double x = 0, y = 0;  // [rad/s]
};

// Creates the part `name` of class `classKey` at `offset` [m] from the
// launcher with `push` [m/s] added to its velocity, both in the launcher's
// frame; the host's answer is handed back as it is. Nothing here allocates:
// it runs inside the step callbacks.
OBJHANDLE releasePart(const VESSEL& launcher, const char* name, const char* classKey, const VECTOR3& offset,
                      const VECTOR3& push, const PartSpin& spin = {});

// "<launcher's name><suffix>" in `buffer`, cut to fit: the name a part
// carries that is named after its launcher.
const char* partName(const VESSEL& launcher, const char* suffix, char* buffer, std::size_t size);

// The buffer a part's name is built in.
inline constexpr std::size_t kPartNameSize = 256;

}  // namespace tarvik
