// The launch site vessel: a stationary pad that finds the launcher standing on
// it, vents, withdraws its service structures on request, shows launch clouds
// and the arm swing at lift-off, and lights up at night. The same class is built
// into both pad plug-ins; SiteData says which pad it is.
#pragma once

#include <array>
#include <memory>
#include <vector>

#include "Orbitersdk.h"
#include "SiteData.h"

namespace sites {

// The launcher search: one vessel examined per step until a launcher is found
// near the pad, then that launcher followed by name. A focus request starts a
// new scan (Rescan) that returns to Tracking once it finds one.
enum SearchState { Searching = 0, Tracking = 1, Rescan = 3, RescanFound = 4 };

// Launch tracking and the handles of the pad's effects are kept once per
// module, shared by every vessel of the class: a scenario holds one pad of each
// kind. Flags are doubles, 0.0 or 1.0, and only ever go from 0 to 1 during a
// launch.
struct PadState {
    double towerHome = 1.0;  // 1: service structures home, 0: withdrawn
    double ignitionSeen = 0;
    double liftoffSeen = 0;
    double cloudsDone = 0;
    double climbedOut = 0;  // kept from module load on: a second launch needs a new scenario
    double armState = 0;
    double heavyPadMesh = 0;  // 1 while the heavy-launcher pad mesh is shown

    char nameBuffer[25] = "";   // name of the vessel the scan found
    char trackedName[25] = "";  // the launcher followed, by name
    OBJHANDLE trackedHandle = nullptr;
    int scanIndex = 0;
    double trackedAirspeed = 0;  // [m/s]
    double trackedAltitude = 0;  // [m]

    std::array<THRUSTER_HANDLE, static_cast<int>(Effect::Count)> thrusters{};
    std::array<SURFHANDLE, kMaxTextures> textures{};

    // The host keeps pointers to the beacon records, so they live as long as the module.
    std::array<BEACONLIGHTSPEC, kMaxBeacons> beacons{};
    std::array<VECTOR3, kMaxBeacons> beaconPos{};
    std::array<VECTOR3, kMaxBeacons> beaconColour{};
};

extern PadState pad;

class LaunchSite : public VESSEL2 {
public:
    LaunchSite(OBJHANDLE hVessel, int flightmodel) : VESSEL2(hVessel, flightmodel) {}

    void clbkSetClassCaps(FILEHANDLE cfg) override;
    void clbkPreStep(double simt, double simdt, double mjd) override;
    void clbkPostStep(double simt, double simdt, double mjd) override;
    void clbkFocusChanged(bool getfocus, OBJHANDLE hNewVessel, OBJHANDLE hOldVessel) override;

private:
    // Building the pad (LaunchSiteSetup.cpp)
    void resetLaunchState();
    void setPhysicalParameters();
    void registerTextures();
    SURFHANDLE texture(const char* name) const;
    void createEffectThrusters(PROPELLANT_HANDLE propellant);
    void attachStreams();
    void attachFlares();
    void registerBeacons();
    void addMeshes();
    void createAnimations();

    // The launcher search and the focus request (LaunchSiteSearch.cpp)
    void answerFocusRequest();
    void searchStep();
    void examineNextVessel();
    void followLauncher();
    bool isExcludedName(const char* name) const;

    // The pad's part in a launch (LaunchSiteSequence.cpp)
    void settleRestoredEffects();
    void burnOffFlare();
    void matchPadMesh();
    void ventForLauncher();
    void swingArms(double simdt);
    void showLaunchClouds();
    void cutLaunchEffects();

    // Night lighting (LaunchSiteNight.cpp)
    void nightLighting(double mjd);
    void lightsUp();
    void lightsDown();
    void setNightBeacons(bool active);

    // Service structures (LaunchSiteTower.cpp)
    void moveStructures(double simdt);
    void applyStructureStates();

    // Effects by role; a role the pad lacks is left alone.
    void setEffect(Effect effect, double level) const;
    bool hasEffect(Effect effect) const;
    void ventsOff() const;
    // Sets every animation moved by this drive.
    void animate(Drive drive, double state) const;

    std::array<UINT, kMaxAnimations> animationHandles{};        // in the order of the animation table
    std::vector<std::unique_ptr<MGROUP_TRANSFORM>> transforms;  // the host keeps pointers to these
    std::vector<std::vector<UINT>> animationGroups;
    std::array<UINT, kMaxNightMeshes> nightMeshIndex{};

    double towerRamp = 0;
    double platformRamp = 0;  // sitewest's lift platforms
    int searchState = Searching;
    double lightsOn = 0;
    double flareLevel = 0;
    bool focusWasHere = false;    // a focus request is answered once, when the focus arrives
    char focusCameFrom[25] = "";  // the vessel that had the focus before the pad got it
    bool firstStepDone = false;   // the effects a scenario brought back are settled on the first step
};

}  // namespace sites
