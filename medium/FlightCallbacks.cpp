// The launcher's step and key callbacks: the order in which the pieces of a
// step run.
#include "AutopilotState.h"
#include "MediumLauncher.h"
#include "ModuleState.h"
#include "dialogs/ConfigurationDialogs.h"
#include "dialogs/ConfigurationState.h"
#include "dialogs/DialogProcedure.h"

namespace medium {

void MediumLauncher::clbkPreStep(double simt, double simdt, double mjd) {
    launchGlowStep();
    if (firstStepState == 0)
        firstStep();  // own name and launch site
    if (autopilotMode == 1 || autopilotMode == 2)
        autopilotBlock();  // dialog read-outs, azimuth, guidance
    // Pad ignition set-up, full-thrust hold-down, lift-off and the mission clock:
    preStepStaging(simdt);
}

void MediumLauncher::clbkPostStep(double simt, double simdt, double mjd) {
    releaseOneStepAttitude();
    // The configuration dialog's choice, only on the pad before the engines run.
    if (missionTime < 1 && GetThrusterLevel(mainEngine) < 0.1 && recreatePending == 1)
        recreate();
    updateAnnotations();
    postStepStaging();
}

int MediumLauncher::clbkConsumeBufferedKey(DWORD key, bool down, char* kstate) {
    if (!down)
        return 0;
    if (key == OAPI_KEY_A) {
        autopilotKey(*this);
        return 1;
    }
    if (key == OAPI_KEY_M) {
        configurationKey(*this);
        return 1;
    }
    if (key == OAPI_KEY_F1 && endPreviewByKey())
        return 1;
    stagingKey(key);
    return 0;  // F and J are left to the simulator as well
}

}  // namespace medium
