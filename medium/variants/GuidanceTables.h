// The ascent autopilot's numbers for one build: the azimuth bias tables, the
// pitch programme, the hold bands and times, and the circularisation rule.
// Each build has one record (TarvikM52Guidance.cpp, ...); one code path
// applies it, so a build differs from the others only by these tables.
#pragma once

namespace medium {

constexpr double kNoUpperLimit = 1e300;

// A payload-weight class of the azimuth bias: weights above `aboveKg` (and
// not in a heavier class listed before it) take `bias`.
struct BiasClass {
    double aboveKg;
    double bias;
};
constexpr double kAnyWeight = -1e300;  // the lightest class: "at most 1000 kg"

// A band of target altitudes [fromKm, toKm) and what it adds to the bias.
struct AltitudeStep {
    double fromKm, toKm;
    double add;
};

struct AzimuthBiasTable {
    BiasClass classes[8];  // from the heaviest down; the last one takes every weight left
    int classCount;
    const AltitudeStep* steps;  // added on top, by target altitude (null: none)
    int stepCount;
};

// The four tables of a build, by node and by launch site.
struct AzimuthBias {
    AzimuthBiasTable ascendingEast;   // sites LC37 and LC37B
    AzimuthBiasTable ascendingWest;   // site LC6
    AzimuthBiasTable descendingEast;
    AzimuthBiasTable descendingWest;
};

// The mission-time slots of the pitch programme: slot i is the open interval
// (bounds[i], bounds[i + 1]).
struct PitchSlots {
    int count;
    double bounds[12];
};

// One payload-weight class of the pitch programme. The classes are applied
// in order, each replacing the previous one when the payload is at most
// `maxWeightKg`, so a weight takes the last class it belongs to.
struct PitchClass {
    double maxWeightKg;
    double throttleBack;
    const PitchSlots* slots;
    double targetPitch[11];  // degrees, one per slot
};

// A band of the circularisation table, chosen by the target altitude
// (lower bound included). ApT is the time to apoapsis in seconds.
struct CircularisationBand {
    double fromKm;
    double earlyIgnitionApT;  // while coasting, the engine goes to 1 below this ApT (0: no early ignition)
    double startApT;          // while coasting, circularisation starts below this ApT
    double level;             // main group level whenever the engine is switched on again
    double offAboveApT;       // during circularisation the engine is off while offAbove < ApT < offBelow
    double offBelowApT;
    bool offOnlyAfterNear;  // the off rule waits until ApT has once been below offAbove
};

struct CircularisationRule {
    const CircularisationBand* bands;  // by ascending altitude
    int bandCount;
    double ceilingKm;          // no rule from this altitude on
    bool relightPastApoapsis;  // the engine is also switched on just past the apoapsis (ApT > 4500 s)
    bool realTimeOnIgnition;   // switching the engine on drops the time acceleration to 1
};

struct GuidanceTables {
    // roll programme and pitch holds [s], [deg]
    double rollStart, rollEnd;
    double hold1Low, hold1High;  // 45-90 s
    double hold2Low, hold2High;  // 90-125 s
    double programmeEnd;         // the pitch table runs from 125 s to here
    double throttleBackFrom;
    double fairingTimeStage1;  // fairing jettison from this mission time on
    double fairingTimeStage2;
    double upperStageLawFrom;  // the second-stage pitch law from here on

    // heading hold
    double fineYawRate;                 // [rad/s]
    bool fineYawProportionalBelow55;    // the yaw rate follows the heading error while pitch <= 55 deg
    double throttleDownMarginKm;        // the main group is eased off this far below the target apoapsis
    double correctionGain[4];           // ascending/descending at LC37(B), ascending/descending at LC6

    AzimuthBias azimuthBias;
    const PitchClass* pitchClasses;
    int pitchClassCount;
    CircularisationRule circularisation;
};

extern const GuidanceTables kTarvikM52Guidance;
extern const GuidanceTables kTarvikM42Guidance;
extern const GuidanceTables kTarvikM54Guidance;
extern const GuidanceTables kTarvikM4Guidance;

}  // namespace medium
