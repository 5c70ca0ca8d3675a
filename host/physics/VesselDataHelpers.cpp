#include "../sim/VesselData.h"

namespace host {

double VesselData::propellantMass() const {
    double m = 0;
    for (const auto& p : propellants)
        m += p->mass;
    return m;
}

ThrusterGroup* VesselData::group(THGROUP_TYPE type) const {
    for (const auto& g : groups)
        if (g->type == type)
            return g.get();
    return nullptr;
}

VECTOR3 VesselData::pmi() const {
    if (caps.pmiSet)
        return caps.pmi;
    return _V(2 * caps.size, 2 * caps.size, caps.size);
}

}  // namespace host
