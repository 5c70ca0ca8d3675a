// The launcher's step and key callbacks: which pieces of a step run, and in
// what order.
#include "MediumLauncher.h"

namespace medium {

void MediumLauncher::clbkPreStep(double simt, double simdt, double mjd) {
    launchGlowStep();  // the glow at the engines, from ignition until shortly after lift-off
    if (firstStepState == 0)
        firstStep();  // the launcher's own name and its launch site
    // With the autopilot on: the flight measured, the dialog's read-outs, the
    // targets typed on the pad, the launch azimuth, and the guidance step.
    if (autopilotMode == 1 || autopilotMode == 2)
        autopilotBlock();
    // The pad engines set up again once the configuration dialog has closed,
    // the pad hold-down and the lift-off, and the mission clock.
    preStepStaging(simdt);
}

void MediumLauncher::clbkPostStep(double simt, double simdt, double mjd) {
    releaseOneStepAttitude();  // the autopilot's bank and yaw levels last the one step they were set for
    // Apply in the configuration dialog takes effect on the pad, before the main engine runs.
    if (missionTime < 1 && GetThrusterLevel(mainEngine) < 0.1 && recreatePending == 1)
        recreate();
    updateAnnotations();  // the mission clock and the autopilot's state on screen
    // The stage timer, the second booster pair, the staging timeline and the
    // vapour around the stack through the transonic range.
    postStepStaging();
}

int MediumLauncher::clbkConsumeBufferedKey(DWORD key, bool down, char* kstate) {
    if (!down)
        return 0;
    if (key == OAPI_KEY_A) {
        autopilotKey();
        return 1;
    }
    if (key == OAPI_KEY_M) {
        configurationKey();
        return 1;
    }
    if (key == OAPI_KEY_F1 && endPreviewByKey())
        return 1;
    stagingKey(key);
    return 0;  // F and J are left to the simulator as well
}

}  // namespace medium
