#include "ThrusterLevels.h"

#include <algorithm>

namespace host {

namespace {

void putInUse(VesselData& v, Thruster& t) {
    if (t.inUse)
        return;
    t.inUse = true;
    auto& list = v.thrustersInUse;
    const auto at = std::lower_bound(list.begin(), list.end(), t.index,
                                     [](const Thruster* u, size_t index) { return u->index < index; });
    list.insert(at, &t);  // within the room kept for every thruster
}

}  // namespace

void setThrusterLevel(VesselData& v, Thruster& t, double level) {
    t.level = level;
    if (level != 0)
        putInUse(v, t);
}

void addSingleStepLevel(VesselData& v, Thruster& t, double level) {
    t.singleStepLevel += level;
    if (t.singleStepLevel != 0)
        putInUse(v, t);
}

void thrustersRenumbered(VesselData& v) {
    v.thrustersInUse.clear();
    v.thrustersInUse.reserve(v.thrusters.size());
    for (size_t i = 0; i < v.thrusters.size(); ++i) {
        Thruster& t = *v.thrusters[i];
        t.index = i;
        if (t.inUse)
            v.thrustersInUse.push_back(&t);
    }
}

void dropIdleThrusters(VesselData& v) {
    std::erase_if(v.thrustersInUse, [](Thruster* t) {
        const bool idle = t->level == 0 && t->singleStepLevel == 0 && !t->shownLit;
        if (idle)
            t->inUse = false;
        return idle;
    });
}

}  // namespace host
