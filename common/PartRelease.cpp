#include "PartRelease.h"

#include <cstdio>
#include <cstring>

namespace tarvik {

OBJHANDLE releasePart(const VESSEL& launcher, const char* name, const char* classKey, const VECTOR3& offset,
                      const VECTOR3& push, const PartSpin& spin) {
    VESSELSTATUS2 vs;
    std::memset(&vs, 0, sizeof vs);
    vs.version = 2;
    launcher.GetStatusEx(&vs);
    launcher.Local2Rel(offset, vs.rpos);
    VECTOR3 pushGlobal;
    launcher.GlobalRot(push, pushGlobal);
    vs.rvel += pushGlobal;
    if (spin.setX)
        vs.vrot.x = spin.x;
    if (spin.setY)
        vs.vrot.y = spin.y;
    vs.status = 0;
    return oapiCreateVesselEx(name, classKey, &vs);
}

const char* partName(const VESSEL& launcher, const char* suffix, char* buffer, std::size_t size) {
    std::snprintf(buffer, size, "%s%s", launcher.GetName(), suffix);
    return buffer;
}

}  // namespace tarvik
