// The heavy launcher: three common cores side by side, six strap-on solid
// boosters, interstage, upper stage, a two-piece fairing and a payload. The
// pilot opens the throttle on the pad; a fixed timeline keyed to mission time
// then throttles, sheds and separates the stages, and keys F and J drop the
// fairing, release the payload or bring a separation forward.
#pragma once

#include <string>

#include "Orbitersdk.h"

namespace heavy {

// The staging events in the order a flight meets them. A flight saved in the
// air is rebuilt by replaying those it has behind it.
enum class StagingEvent { Liftoff, BoosterPair1, BoosterPair2, BoosterPair3, SideCores, Core, Fairing, Payload };
constexpr int kStagingEvents = 8;

// What a scenario's flight lines hold, kept until the launcher is rebuilt.
// A value a line did not give (or gave unusable) is marked absent.
struct SavedFlight {
    bool hasConfig = false;  // a CONFIG line was read
    bool hasHistory = false;
    bool historyReadable = true;
    StagingEvent history[kStagingEvents] = {};
    int historyLength = 0;
    bool hasStage = false, hasTimer = false, hasIgnition = false, hasCutoff = false;
    double stage = 0, timerMode = 0, timerCount = 0, ignitionSteps = 0, manualCutoff = 0;
    bool hasEngine[3] = {};
    double engines[3] = {};  // main group, left and right side-core engines
};

class HeavyLauncher : public VESSEL2 {
public:
    HeavyLauncher(OBJHANDLE hVessel, int flightModel);

    void clbkSetClassCaps(FILEHANDLE cfg) override;
    void clbkSaveState(FILEHANDLE scn) override;
    void clbkLoadStateEx(FILEHANDLE scn, void* status) override;
    void clbkPreStep(double simt, double simdt, double mjd) override;
    void clbkPostStep(double simt, double simdt, double mjd) override;
    int clbkConsumeBufferedKey(DWORD key, bool down, char* kstate) override;
    void clbkPostCreation() override;

    // Propulsion set-ups, one per configuration of the vehicle.
    void setupPadPropulsion();
    void readPayloadHandOff();
    void setupLiftoffPropulsion();
    void setupCorePropulsion();
    void setupUpperStagePropulsion();
    void setupSpentStagePropulsion();

    // Layouts: what the vehicle shows and weighs in each configuration.
    void padLayout();
    void flightLayout();
    void fourBoosterLayout();
    void twoBoosterLayout();
    void noBoosterLayout();
    void coreLayout();
    void upperStageLayout();
    void bareUpperStageLayout();
    void spentStageLayout();

    // Events: each sheds parts as vessels of their own and rebuilds the vehicle.
    void liftOff();
    void jettisonBoosterPair1();
    void jettisonBoosterPair2();
    void jettisonBoosterPair3();
    void separateSideCores();
    void separateCore();
    void jettisonFairing();
    void separatePayload();

private:
    // Empty mass of the parts present: upper stage and payload always, the
    // rest as given.
    double stackMass(int boosters, int cores, bool interstage, bool fairing) const;
    void strapOnLayout(const double* boosterXs, int boosters);
    void addFairingHalves(double z, double massWithoutFairing);
    void addUpperStageAndPayloadMeshes();
    // Scenario state and the rebuild of a saved flight (FlightResume.cpp)
    void saveFlightState(FILEHANDLE scn);
    bool readFlightLine(const char* line, SavedFlight& saved);
    void rebuildLoadedFlight(const SavedFlight& saved);
    void replayStaging(const StagingEvent* events, int count);
    void restoreFlightState(const SavedFlight& saved);
    void recordStagingEvent(StagingEvent event);

    void shedBoosterPair(int pair);
    void straightenCoreEngines();
    void runTimers();
    void runTimeline();
    void steerCoreEngines();
    void showMissionTime();

    // Seconds since lift-off.
    double missionTime = 0;
    // The engine the main thruster group drives in the current configuration,
    // and the two side-core engines while the side cores are attached.
    THRUSTER_HANDLE mainEngine = nullptr;
    THRUSTER_HANDLE leftCoreEngine = nullptr;
    THRUSTER_HANDLE rightCoreEngine = nullptr;
    // Solid-booster tanks in the order the pairs leave: (x -0.9, x 0.9),
    // (x -5.121, x 5.121), (x 6.921, x -6.921).
    PROPELLANT_HANDLE boosterPairTanks[3][2] = {};

    int stage;
    double fairingAttached;
    double ignitionSteps;
    double stageTimerMode, stageTimerCount;
    // Kept whole, whatever their length: the payload's class (and vessel
    // name) and the mesh it shows while it rides on the launcher.
    std::string payloadClassName;
    std::string payloadMeshName;
    double configCode;
    char missionTimeText[20];
    double boosterPairState;
    double boosterDryMass;
    double payloadZOffset;
    double payloadMass;
    double fairingMass;
    double coreDryMass;
    double upperStageDryMass;
    double manualCoreCutoff;
    double interstageMass;
    NOTEHANDLE annotMissionLabel, annotMissionValue;
    MESHHANDLE coreMesh, leftCoreMesh, rightCoreMesh, interstageMesh, upperStageMesh;
    MESHHANDLE boosterMesh;

    // The staging events this launcher has been through, in order.
    StagingEvent stagingHistory[kStagingEvents];
    int stagingEventCount;
    // While a loaded flight is rebuilt: no part leaves, focus, navigation
    // modes and time acceleration stay as they are.
    bool rebuildingFlight;
};

}  // namespace heavy
