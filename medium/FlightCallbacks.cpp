// The launcher's step and key callbacks: the order in which the pieces of a
// step run. Guidance and display hook in at the places marked below.
#include "MediumLauncher.h"
#include "ModuleState.h"

namespace medium {

void MediumLauncher::clbkPreStep(double simt, double simdt, double mjd) {
    // 1. Launch glow at the engines (flight display).
    // 2. First step only: own name and launch site (autopilot).
    // 3. Autopilot block: dialog read-outs, azimuth, roll and pitch programmes, heading hold.
    // 4. Pad ignition set-up, full-thrust hold-down, lift-off and the mission clock:
    preStepStaging(simdt);
}

void MediumLauncher::clbkPostStep(double simt, double simdt, double mjd) {
    // 1. Release the autopilot's one-step attitude commands (flight display).
    // 2. Variant switch requested by the configuration dialog.
    // 3. Annotations (flight display).
    // 4. The staging timeline:
    postStepStaging();
}

int MediumLauncher::clbkConsumeBufferedKey(DWORD key, bool down, char* kstate) {
    if (!down)
        return 0;
    // Keys of the configuration and autopilot dialogs go here.
    stagingKey(key);
    return 0;  // F and J are left to the simulator as well
}

}  // namespace medium
