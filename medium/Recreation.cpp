// After Apply in the configuration dialog the post-step makes the choice
// real: a launcher of another type (or name) is created where this one
// stands, and this one goes; the same type only shows its new payload.
#include <cstring>

#include "LauncherNames.h"
#include "MediumLauncher.h"
#include "ModuleState.h"

namespace medium {

void MediumLauncher::recreate() {
    recreatePending = 0;

    VESSELSTATUS2 vs;
    std::memset(&vs, 0, sizeof vs);
    vs.version = 2;
    GetStatusEx(&vs);
    Local2Rel(_V(0, 0, 0), vs.rpos);
    vs.status = 1;

    if (!tarvik::sameLauncherName(launcherName.c_str(), ownName.c_str())) {
        const char* classKey = tarvik::launcherClassKey(launcherName.c_str());
        OBJHANDLE created = classKey ? oapiCreateVesselEx(launcherName.c_str(), classKey, &vs) : nullptr;
        if (created) {
            oapiDeleteVessel(GetHandle(), created);
        } else {
            // The simulator has no such launcher: this one stays with the payload it
            // had, and the pilot is told why.
            const std::string why = "No launcher " + launcherName + (classKey ? std::string(" (") + classKey + ")" : "") +
                                    " here: kept " + ownName;
            launcherName = ownName;
            const Payload& kept = payloadBeforeDialog;
            payloadClassName = kept.className;
            payloadMeshName = kept.meshName;
            payloadZOffset = kept.zOffset;
            payloadMass = kept.mass;
            fairingMass = kept.fairingMass;
            fairingAttached = kept.fairingAttached;
            reopenConfiguration(why.c_str());
        }
    }
    if (stage == 0)
        padLayout();

    FILEHANDLE temp = oapiOpenFile("temp", FILE_OUT, ROOT);
    oapiCloseFile(temp, FILE_OUT);
}

}  // namespace medium
