// The payload a Medium launcher's configuration dialog hands over in the
// host file "temp" to the launcher it is replaced by: its mass, mesh offset,
// fairing flag, class and mesh. Each launcher takes what it can use.
#pragma once

#include "Orbitersdk.h"

namespace tarvik {

struct PayloadHandOff {
    bool hasMass = false, hasZOffset = false, hasFairing = false, hasPayload = false, hasMesh = false;
    double mass = 0;         // PLDWEIGHT [kg], finite
    double zOffset = 0;      // Z_OFFSET [m], finite
    int fairing = 0;         // Fairing_attached, as written
    char payload[256] = {};  // PAYLOAD, possibly empty
    char mesh[256] = {};     // MESH, possibly empty
};

// The items "temp" holds; all absent when there is no such file.
PayloadHandOff readPayloadHandOff();

}  // namespace tarvik
