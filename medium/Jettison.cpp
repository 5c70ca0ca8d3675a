// The staging events: parts leave the launcher as vessels of their own,
// built from the launcher's state, offset and pushed away.
#include <cstdio>
#include <cstring>

#include "MediumLauncher.h"
#include "ModuleState.h"
#include "variants/VariantSpec.h"

namespace medium {
namespace {

struct BoosterRelease {
    const char* suffix;  // appended to the launcher's name
    const char* classKey;
    VECTOR3 push;  // vessel frame [m/s]
};

constexpr BoosterRelease kGem1 = {"gem1", "tarvik/gem1", {-10, -7, 0}};
constexpr BoosterRelease kGem4 = {"gem4", "tarvik/gem4", {10, 7, 0}};
constexpr BoosterRelease kGem2 = {"gem2", "tarvik/gem2", {-10, 7, 0}};
constexpr BoosterRelease kGem3 = {"gem3", "tarvik/gem3", {10, -7, 0}};

constexpr VECTOR3 kFairingRightPush = {6, 0, 0};
constexpr VECTOR3 kFairingLeftPush = {-6, 0, 0};
constexpr double kFairingSpin = 0.1;  // rad/s about y, each half turning away from the axis
constexpr VECTOR3 kCoreStagePush = {0, 0, -2};
constexpr VECTOR3 kPayloadPush = {0, 0, 1};
constexpr VECTOR3 kNoOffset = {0, 0, 0};

}  // namespace

void MediumLauncher::releasePart(const char* name, bool appendToOwnName, const char* classKey, const VECTOR3& offset,
                                 const VECTOR3& extraVelocity, PartSpin spin, double spinRate) {
    if (rebuildingFlight)
        return;  // the part left in the flight that was saved
    VESSELSTATUS2 vs;
    std::memset(&vs, 0, sizeof vs);
    vs.version = 2;
    GetStatusEx(&vs);
    Local2Rel(offset, vs.rpos);
    VECTOR3 push;
    GlobalRot(extraVelocity, push);
    vs.rvel += push;
    switch (spin) {
        case PartSpin::Unchanged:
            break;
        case PartSpin::FairingOut:
            vs.vrot.y = spinRate;
            break;
        case PartSpin::StopTumble:
            vs.vrot.x = vs.vrot.y = 0;
            break;
    }
    vs.status = 0;
    char vesselName[256];  // a part's name is built without the heap: this runs inside a step
    std::snprintf(vesselName, sizeof vesselName, "%s%s", appendToOwnName ? GetName() : "", name);
    oapiCreateVesselEx(vesselName, classKey, &vs);
}

// Which halves a launcher sheds depends on whether the core stage still carries them.
bool MediumLauncher::coreStageMayShedFairing() const {
    if (kVariant.coreBurnsFromPad)
        return stage == 0 || stage == 1;
    return stage == 1 && boosterSpawnPending == 0;
}

void MediumLauncher::fairingJettison() {
    if (stage == 2) {
        recordStagingEvent(StagingEvent::FairingOnUpper);
        upperBareLayout();
        configCode = 3;
        // The flag stays as it is; the scenario reports the fairing gone for configuration 3.
        if (fairingAttached == 1) {
            releasePart("fairing1", true, kVariant.fairingRightClass, kNoOffset, kFairingRightPush,
                        PartSpin::FairingOut, -kFairingSpin);
            releasePart("fairing2", true, kVariant.fairingLeftClass, kNoOffset, kFairingLeftPush, PartSpin::FairingOut,
                        kFairingSpin);
        }
    }
    if (coreStageMayShedFairing()) {
        recordStagingEvent(StagingEvent::FairingOnCore);
        if (fairingAttached == 1) {
            fairingAttached = 0;
            releasePart("fairing1", true, kVariant.fairingRightClassFromCore, kNoOffset, kFairingRightPush,
                        PartSpin::FairingOut, -kFairingSpin);
            releasePart("fairing2", true, kVariant.fairingLeftClassFromCore, kNoOffset, kFairingLeftPush,
                        PartSpin::FairingOut, kFairingSpin);
        }
        coreBareLayout();
        configCode = 1;
    }
}

void MediumLauncher::boosterJettison() {
    recordStagingEvent(StagingEvent::BoosterJettison);
    ActivateNavmode(NAVMODE_KILLROT);
    DeactivateNavmode(NAVMODE_KILLROT);
    if (kVariant.boosterCount == 4)
        corePairLayout();
    else
        coreLayout();
    for (const BoosterRelease* b : {&kGem1, &kGem4})
        releasePart(b->suffix, true, b->classKey, kNoOffset, b->push, PartSpin::StopTumble);
    if (kVariant.boosterCount == 2)
        boosterSpawnPending = 0;
    boosterJettisonSetup();
    configCode = 1;
    boosterPairState = 1.0;
    stage = 1;
}

// The four-booster build sheds its second pair 2 s after the first.
void MediumLauncher::secondBoosterPair() {
    if (boosterPairState == 1.0) {
        secondPairTime = missionTime;
        boosterPairState = 2.0;
    }
    if (secondPairTime > 0 && missionTime > secondPairTime + 2 && boosterPairState == 2.0)
        shedSecondPair();
}

void MediumLauncher::shedSecondPair() {
    recordStagingEvent(StagingEvent::SecondPair);
    for (const BoosterRelease* b : {&kGem2, &kGem3})
        releasePart(b->suffix, true, b->classKey, kNoOffset, b->push, PartSpin::StopTumble);
    boosterSpawnPending = 0;
    coreLayout();
    boosterPairState = 3.0;
}

void MediumLauncher::coreSeparation() {
    recordStagingEvent(StagingEvent::CoreSeparation);
    ActivateNavmode(NAVMODE_KILLROT);
    DeactivateNavmode(NAVMODE_KILLROT);
    upperLayout();
    releasePart("1st", true, kVariant.coreStageClass, kNoOffset, kCoreStagePush, PartSpin::Unchanged);
    configCode = 2;
    stage = 2;
}

void MediumLauncher::payloadRelease() {
    recordStagingEvent(StagingEvent::PayloadRelease);
    const StackGeometry& s = *kVariant.stack;
    if (kVariant.payloadReleaseCutsMainFirst)
        SetThrusterGroupLevel(THGROUP_MAIN, 0);
    configCode = 5;
    stage = 4;
    SetEmptyMass(upperStageDryMass);
    ClearMeshes();
    const VECTOR3 upperPos = _V(0, s.releasedUpperY, s.upper.upperStage);
    AddMesh(kVariant.upperStageMesh, &upperPos);
    SetSize(5.5);
    releasePart(payloadClassName.c_str(), false, payloadClassName.c_str(), _V(0, 0, payloadZOffset + s.upper.payload),
                kPayloadPush, PartSpin::Unchanged);
    if (kVariant.payloadReleaseRelightsStage) {
        ShiftCG(_V(0, 0, -11));
        payloadStageSetup();
    }
    OBJHANDLE payload = rebuildingFlight ? nullptr : oapiGetVesselByName(payloadClassName.data());
    if (payload)
        oapiSetFocusObject(payload);
}

}  // namespace medium
