#include "ModuleState.h"

namespace medium {

HINSTANCE moduleInstance = nullptr;
HWND autopilotDialog = nullptr;
std::string launcherName;
std::string ownName;

VESSEL* ownLauncher() {
    OBJHANDLE h = oapiGetObjectByName(ownName.data());
    return h ? oapiGetVesselInterface(h) : nullptr;
}
char currentDirectory[260] = {};

std::string payloadClassName;
std::string payloadMeshName;
double payloadZOffset = 0;
double payloadMass = 0;
int fairingAttached = 1;
double fairingMass = 0;

double missionTime = 0;
double boosterSpawnPending = 1.0;
double separationShown = 0;
double baseAnimationDisabled = 0;
double stageRebuildRequest = 0;
double fairingMeshIndex[2] = {0, 0};
double payloadMeshIndex = 0;

StagingEvent stagingHistory[kMaxStagingEvents] = {};
int stagingEventCount = 0;
bool rebuildingFlight = false;

void recordStagingEvent(StagingEvent e) {
    if (!rebuildingFlight && stagingEventCount < kMaxStagingEvents)
        stagingHistory[stagingEventCount++] = e;
}

THRUSTER_HANDLE mainEngine = nullptr;
THRUSTER_HANDLE boosterEngines[4] = {};
THRUSTER_HANDLE vapourThruster = nullptr;
SURFHANDLE padFlameTexture = nullptr;

}  // namespace medium
