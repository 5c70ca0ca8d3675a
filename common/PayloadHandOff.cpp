#include "PayloadHandOff.h"

#include <cmath>

namespace tarvik {

PayloadHandOff readPayloadHandOff() {
    PayloadHandOff h;
    FILEHANDLE f = oapiOpenFile("temp", FILE_IN_ZEROONFAIL, ROOT);
    if (!f)
        return h;
    h.hasMass = oapiReadItem_float(f, const_cast<char*>("PLDWEIGHT"), h.mass) && std::isfinite(h.mass);
    h.hasZOffset = oapiReadItem_float(f, const_cast<char*>("Z_OFFSET"), h.zOffset) && std::isfinite(h.zOffset);
    h.hasFairing = oapiReadItem_int(f, const_cast<char*>("Fairing_attached"), h.fairing);
    h.hasPayload = oapiReadItem_string(f, const_cast<char*>("PAYLOAD"), h.payload);
    h.hasMesh = oapiReadItem_string(f, const_cast<char*>("MESH"), h.mesh);
    oapiCloseFile(f, FILE_IN_ZEROONFAIL);
    return h;
}

}  // namespace tarvik
