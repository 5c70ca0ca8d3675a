// The mechanics of a launcher's staging that count steps rather than
// seconds, as the pilot's simulator runs them: the pad hold-down from
// ignition to release, the stage timer, the mission clock, and the time
// windows of a staging timeline.
#pragma once

#include "Orbitersdk.h"

namespace tarvik {

inline constexpr double kHoldDownSteps = 100;        // steps at full thrust on the pad before release
inline constexpr double kCoreSeparationSteps = 500;  // steps from the separation command to the separation

// Time windows of a timeline are open at both ends.
inline bool within(double t, double from, double to) {
    return t > from && t < to;
}

// What the pad waits for to let go once the count has reached the hold-down.
enum class Release {
    OnCount,            // the launcher still on the ground
    OnCountWithThrust,  // on the ground, its main group burning
};

// The pad's part of a pre-step, before the mission clock. Once the pilot
// opens the throttle on the pad (configuration 0) the main group goes to
// full and the simulation to real time; the steps with the main group
// burning are counted, and past the hold-down the hover group shows the
// launch cloud while the launcher stands. True on the step the pad lets go.
bool padHoldDownStep(const VESSEL& launcher, double configCode, double& ignitionSteps, Release release);

// The mission clock runs from the moment the launcher leaves the ground.
inline void runMissionClock(const VESSEL& launcher, double& missionTime, double dt) {
    if (!launcher.GroundContact())
        missionTime += dt;
}

enum class StageTimerEvent { None, CoreSeparates };

// One post-step of the stage timer. Mode 1 waits `ignitionSteps` steps after
// the core has gone, then lights the main group; mode 2 holds the main group
// off for the core-separation steps, then asks for the separation. Either
// way the timer then stops and its count starts again from 0.
StageTimerEvent stageTimerStep(const VESSEL& launcher, double& mode, double& count, double ignitionSteps);

}  // namespace tarvik
