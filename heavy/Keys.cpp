// The pilot's keys: F drops the fairing; J brings the side-core or core
// separation forward, or releases the payload. No key is consumed, so the
// host handles every key in its usual way as well.
#include "HeavyLauncher.h"
#include "ModuleState.h"

namespace heavy {

int HeavyLauncher::clbkConsumeBufferedKey(DWORD key, bool down, char* kstate) {
    if (!down)
        return 0;
    // From 332 s the stage reads as the upper stage while the core, still
    // attached, counts down to its separation; the fairing and the payload
    // wait until it has gone, or the separation would rebuild them.
    const bool coreAttached = stageTimerMode == 2;
    if (key == OAPI_KEY_F) {
        if (stage == 2 && !coreAttached)
            jettisonFairing();
    } else if (key == OAPI_KEY_J) {
        // Starts the core-separation countdown; the count goes on from where it was.
        if (stage == 1)
            stageTimerMode = 2;
        if (stage == 0 && !GroundContact() && boosterPairState == 3)
            separateSideCores();
        if ((stage == 3 || (stage == 2 && fairingAttached == 0)) && !coreAttached)
            separatePayload();
    }
    return 0;
}

}  // namespace heavy
