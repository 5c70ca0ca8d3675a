#include "StepCounters.h"

namespace tarvik {

bool padHoldDownStep(const VESSEL& launcher, double configCode, double& ignitionSteps, Release release) {
    if (configCode == 0 && launcher.GetThrusterGroupLevel(THGROUP_MAIN) > 0) {
        launcher.SetThrusterGroupLevel(THGROUP_MAIN, 1);
        oapiSetTimeAcceleration(1);
    }
    if (launcher.GroundContact() && ignitionSteps > kHoldDownSteps)
        launcher.SetThrusterGroupLevel(THGROUP_HOVER, 0.5);
    if (launcher.GetThrusterGroupLevel(THGROUP_MAIN) > 0)
        ignitionSteps += 1;
    return ignitionSteps == kHoldDownSteps && launcher.GroundContact() &&
           (release == Release::OnCount || launcher.GetThrusterGroupLevel(THGROUP_MAIN) > 0);
}

StageTimerEvent stageTimerStep(const VESSEL& launcher, double& mode, double& count, double ignitionSteps) {
    if (mode == 1) {
        count += 1;
        if (count > ignitionSteps) {
            launcher.SetThrusterGroupLevel(THGROUP_MAIN, 1);
            mode = 0;
            count = 0;
        }
    }
    if (mode == 2) {
        count += 1;
        launcher.SetThrusterGroupLevel(THGROUP_MAIN, 0);
        if (count > kCoreSeparationSteps) {
            mode = 0;
            count = 0;
            return StageTimerEvent::CoreSeparates;
        }
    }
    return StageTimerEvent::None;
}

}  // namespace tarvik
