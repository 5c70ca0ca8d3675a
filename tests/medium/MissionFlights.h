// One scripted manual mission per build, flown once and shared by the tests
// that look at it: throttle up on the pad, let the timeline stage the
// launcher, drop the fairing with F and release the payload with J. The
// record keeps what a pilot (and the scenario file) would have seen.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "MediumTestSupport.h"

namespace medium_test {

struct PartRelease {
    std::string name;
    std::string classKey;
    long long step;  // steps after lift-off
    VECTOR3 push;    // velocity relative to the launcher, in the launcher's frame [m/s]
    VECTOR3 spin;    // the part's angular velocity [rad/s]
    VECTOR3 launcherSpin;
};

// The launcher the first time it stood in a configuration code.
struct ConfigSnapshot {
    std::string scenario;  // the whole scenario as saved at that moment
    double emptyMass = 0;
    std::vector<std::string> meshes;
    std::vector<double> tanks;
    std::vector<double> tankMax;
};

struct MissionRecord {
    long long throttleStep = -1;  // absolute step counts
    long long liftoffStep = -1;
    bool landedUntilLiftoff = false;
    bool airborneAfterLiftoff = false;
    std::vector<PartRelease> releases;
    std::map<int, ConfigSnapshot> configs;
    ConfigSnapshot boosting;            // 50 s after lift-off, tanks part used
    long long coreSeparationStep = -1;  // steps after lift-off
    long long upperIgnitionStep = -1;
    double mainLevelAt247 = -1;
    double mainLevelAt2526 = -1;
    double propellantBeforeBoosterJettison = -1;
    double coreTankBeforeBoosterJettison = -1;
    double coreTankAfterBoosterJettison = -1;
    double coreTankMaxAfterBoosterJettison = -1;
    int tanksAfterBoosterJettison = -1;
    std::string focusAtEnd;
    std::vector<std::string> eventLines;

    const PartRelease* release(const std::string& name) const {
        for (const PartRelease& r : releases)
            if (r.name == name)
                return &r;
        return nullptr;
    }
};

// Mission times (s after lift-off) at which the pilot presses F; J follows at 290 s.
std::vector<double> fairingKeyTimes(const Build& b);

const MissionRecord& flownMission(const Build& b);

}  // namespace medium_test
