// The staging events: parts leave the launcher as vessels of their own,
// built from the launcher's state, offset and pushed away.
#include "MediumLauncher.h"
#include "ModuleState.h"
#include "PartRelease.h"
#include "variants/VariantRecord.h"

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
// Each fairing half turns away from the axis about y; a booster stops tumbling.
constexpr tarvik::PartSpin kRightHalfSpin = {.setY = true, .y = -0.1};
constexpr tarvik::PartSpin kLeftHalfSpin = {.setY = true, .y = 0.1};
constexpr tarvik::PartSpin kNoTumble = {.setX = true, .setY = true};
constexpr tarvik::PartSpin kKeepSpin = {};
constexpr VECTOR3 kCoreStagePush = {0, 0, -2};
constexpr VECTOR3 kPayloadPush = {0, 0, 1};
constexpr VECTOR3 kNoOffset = {0, 0, 0};

}  // namespace

// A part named after the launcher ("TarvikM52gem1") leaves from the launcher's own position.
void MediumLauncher::shedPart(const char* suffix, const char* classKey, const VECTOR3& push,
                              const tarvik::PartSpin& spin) {
    if (rebuildingFlight)
        return;  // the part left in the flight that was saved
    char name[tarvik::kPartNameSize];
    tarvik::releasePart(*this, tarvik::partName(*this, suffix, name, sizeof name), classKey, kNoOffset, push, spin);
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
            shedPart("fairing1", kVariant.fairingRightClass, kFairingRightPush, kRightHalfSpin);
            shedPart("fairing2", kVariant.fairingLeftClass, kFairingLeftPush, kLeftHalfSpin);
        }
    }
    if (coreStageMayShedFairing()) {
        recordStagingEvent(StagingEvent::FairingOnCore);
        if (fairingAttached == 1) {
            fairingAttached = 0;
            shedPart("fairing1", kVariant.fairingRightClassFromCore, kFairingRightPush, kRightHalfSpin);
            shedPart("fairing2", kVariant.fairingLeftClassFromCore, kFairingLeftPush, kLeftHalfSpin);
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
        shedPart(b->suffix, b->classKey, b->push, kNoTumble);
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
        shedPart(b->suffix, b->classKey, b->push, kNoTumble);
    boosterSpawnPending = 0;
    coreLayout();
    boosterPairState = 3.0;
}

void MediumLauncher::coreSeparation() {
    recordStagingEvent(StagingEvent::CoreSeparation);
    ActivateNavmode(NAVMODE_KILLROT);
    DeactivateNavmode(NAVMODE_KILLROT);
    upperLayout();
    shedPart("1st", kVariant.coreStageClass, kCoreStagePush, kKeepSpin);
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
    // The payload flies on under its class name, whole.
    if (!rebuildingFlight)
        tarvik::releasePart(*this, payloadClassName.c_str(), payloadClassName.c_str(),
                            _V(0, 0, payloadZOffset + s.upper.payload), kPayloadPush);
    if (kVariant.payloadReleaseRelightsStage) {
        ShiftCG(_V(0, 0, -11));
        payloadStageSetup();
    }
    OBJHANDLE payload = rebuildingFlight ? nullptr : oapiGetVesselByName(payloadClassName.data());
    if (payload)
        oapiSetFocusObject(payload);
}

}  // namespace medium
