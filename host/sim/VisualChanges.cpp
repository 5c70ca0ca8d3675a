// After every frame the host compares what a pilot would see with what it
// showed before: beacons switched on or off, animations starting to move or
// coming to rest, thrusters with a flame or a particle stream (a pad's vents
// and clouds are streams only) lighting up or going out. Only a change costs
// anything (the log line).
#include <algorithm>

#include "SimulationImpl.h"
#include "VesselAccess.h"
#include "NumberText.h"

namespace host {

namespace {

bool isVisible(const VesselData& v, const Thruster* t) {
    for (const Exhaust& e : v.exhausts)
        if (e.thruster == t)
            return true;
    for (const Stream& s : v.streams)
        if (s.thruster == t)
            return true;
    return false;
}

}  // namespace

void Simulation::Impl::recordVisualChanges() {
    // A text that changes every frame (a mission clock) is logged at most
    // once a simulated second; any other change as soon as it is made.
    for (size_t i = 0; i < annotations.size(); ++i) {
        Annotation& a = *annotations[i];
        if (simt - a.loggedAt < 1.0 || a.text == a.loggedText)
            continue;
        a.loggedText = a.text;
        a.loggedAt = simt;
        std::string shown = a.text;
        std::replace(shown.begin(), shown.end(), '\n', '|');
        record(a.owner ? a.owner->name : std::string(), "annotation " + std::to_string(i) + " \"" + shown + "\"");
    }
    for (const auto& owned : vessels) {
        VesselData& v = *owned;
        for (size_t i = 0; i < v.beacons.size(); ++i) {
            const char active = v.beacons[i]->active ? 1 : 0;
            if (active == v.beaconShown[i])
                continue;
            v.beaconShown[i] = active;
            record(v.name, "beacon " + std::to_string(i) + (active ? " on" : " off"));
        }
        for (size_t i = 0; i < v.animations.size(); ++i) {
            Animation& a = v.animations[i];
            const bool moved = a.state != a.shownState;
            a.shownState = a.state;
            if (moved && !a.moving) {
                a.moving = true;
                record(v.name, "animation " + std::to_string(i) + " moving");
            } else if (!moved && a.moving) {
                a.moving = false;
                record(v.name, "animation " + std::to_string(i) + " at rest at " + numberText(a.state));
            }
        }
        // Only a thruster in use can be lit or shown lit (ThrusterLevels.h).
        for (Thruster* t : v.thrustersInUse) {
            const bool lit = thrusterLit(*t);
            if (lit == t->shownLit)
                continue;
            t->shownLit = lit;
            if (!isVisible(v, t))
                continue;  // nothing to see
            record(v.name, "thruster " + std::to_string(t->index) + (lit ? " lit" : " out"));
        }
    }
}

}  // namespace host
