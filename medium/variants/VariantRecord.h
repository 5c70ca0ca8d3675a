// The constants that tell the four Medium launcher builds apart. Each build
// compiles exactly one record (TarvikM52.cpp, ...) and the shared code reads
// it as `kVariant`; where a build's behaviour really differs, the record
// carries a named rule rather than the code carrying a copy.
#pragma once

#include "../ParticleStreams.h"
#include "../StackGeometry.h"
#include "GuidanceTables.h"

namespace medium {

// Column of the build in tables that list all four builds side by side.
enum class Build { M52, M42, M54, M4 };

// How the core engine is throttled down before its cut-off (242 s to 252 s).
struct CoreThrottleDown {
    bool wholeMainGroup;  // lower the main group rather than the core engine alone
    double stepPerFrame;  // level taken off every step
    bool onlyBelowWarp2;  // only while the time acceleration is below 2
};

struct VariantRecord {
    Build build;
    const char* className;  // the launcher's own name and the first name the dialogs offer

    // masses [kg]
    int boosterCount;
    double firstStageDryMass;
    double boosterDryMass;  // each
    double upperStageDryMass;
    double fairingMass;
    double corePropellant;
    double boosterPropellant;  // each
    double upperStagePropellant;
    double padTanks[4];  // tanks of the launcher standing on the pad, in creation order
    int padTankCount;

    // meshes and parts
    const char* interstageMesh;
    const char* upperStageMesh;
    const StackGeometry* stack;  // mesh heights of the 5 m or 4 m stack
    const char* fairingRightClass;
    const char* fairingLeftClass;
    const char* fairingRightClassFromCore;  // the halves shed while the core stage still flies
    const char* fairingLeftClassFromCore;
    const char* coreStageClass;

    // engines and effects
    double vapourThrusterZ;
    double vapourStreamSize;
    double payloadStageExhaustZ;
    const char* padFlameTexture;
    const tarvik::StreamRow* liftoffCoreStreams[4];  // on the core engine at lift-off
    const tarvik::StreamRow* boosterFlameStream;     // the second stream of every booster
    bool boosterFlameStreamBesideBooster;            // placed beside the booster rather than at its nozzle
    const tarvik::StreamRow* coreAloneStreams[4];    // on the core engine once the boosters are gone
    int coreAloneStreamCount;

    // timeline
    double upperStageCountdownCutoff;  // [s] the upper stage lights by itself only if it separates before this
    int upperStageIgnitionSteps;       // steps from core separation to upper-stage ignition
    CoreThrottleDown coreThrottleDown;

    // the ascent autopilot's tables and times
    const GuidanceTables* guidance;

    // rules that differ between builds
    bool padLayoutBeforeEmptyMass;       // lay the pad stack out once more right after SetSize
    bool padLayoutAddsUpperStageTank;    // every pad layout creates one more upper-stage tank
    bool padIgnitionFeedsAllThrusters;   // otherwise only the main engine draws on the 1 kg tank
    bool boosterCutOnlyUnderWarp;        // boosters are cut at 97-98 s only under time acceleration
    bool coreBurnsFromPad;               // no boosters: the core is the first stage, J separates it at once,
                                         // the fairing may go while it burns, its bare layout keeps pad heights,
                                         // and a reloaded core stage keeps its upper-stage tank at 0.6 throttle
    bool liftoffRebuiltPerScenarioLine;  // a reloaded lift-off stack is rebuilt after every line, not once at the end
    bool payloadReleaseRelightsStage;    // payload release shifts the centre of gravity and sets up the payload stage
    bool payloadReleaseCutsMainFirst;    // payload release first sets the main group to 0
};

// The record of the build being compiled.
extern const VariantRecord kVariant;

}  // namespace medium
