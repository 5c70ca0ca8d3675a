// The mesh layouts: the meshes each configuration shows, where they sit, the
// empty mass of the parts shown, and the configuration code they stand for.
#include "MediumLauncher.h"
#include "ModuleState.h"
#include "StackGeometry.h"
#include "variants/VariantRecord.h"

namespace medium {
namespace {

struct BoosterMesh {
    const char* name;
    double x, y;
};

// On the pad, in the order they are added: the first pair, then the second pair of the four-booster build.
constexpr BoosterMesh kPadBoosters[4] = {
    {"tarvik/gem4", 3.6, 1}, {"tarvik/gem1", -3.6, -1}, {"tarvik/gem2", -3.6, 1}, {"tarvik/gem3", 3.6, -1}};
constexpr double kPadBoosterHeight = -8.4;
constexpr double kCoreBoosterHeight = -18.4;  // the second pair beside the core stage in flight

const StackGeometry& stack() {
    return *kVariant.stack;
}

}  // namespace

// Sum of the dry parts shown, plus the payload while it is aboard.
double MediumLauncher::emptyMassOf(int boostersShown, bool coreShown, bool payloadAboard, bool fairingShown) const {
    double mass = boostersShown * boosterDryMass + upperStageDryMass;
    if (coreShown)
        mass += firstStageDryMass;
    if (payloadAboard)
        mass += payloadMass;
    if (fairingShown)
        mass += fairingMass;
    return mass;
}

// Core, interstage and upper stage at the given heights; fairing halves while the fairing is on,
// the payload otherwise.
void MediumLauncher::addStackMeshes(double coreHeight, double interstageHeight, double upperHeight,
                                    double fairingHeight, double payloadHeight) {
    const VECTOR3 corePos = _V(0, 0, coreHeight);
    const VECTOR3 interstagePos = _V(0, 0, interstageHeight);
    const VECTOR3 upperPos = _V(0, 0, upperHeight);
    AddMesh(coreMesh, &corePos);
    AddMesh(interstageMesh, &interstagePos);
    AddMesh(upperStageMesh, &upperPos);
    if (fairingAttached == 1) {
        const VECTOR3 right = _V(stack().fairingHalfX, 0, fairingHeight);
        const VECTOR3 left = _V(-stack().fairingHalfX, 0, fairingHeight);
        AddMesh(stack().fairingRightMesh, &right);
        AddMesh(stack().fairingLeftMesh, &left);
    } else {
        const VECTOR3 payloadPos = _V(0, 0, payloadZOffset + payloadHeight);
        AddMesh(payloadMeshName.c_str(), &payloadPos);
    }
}

void MediumLauncher::padLayout(bool addUpperStageTank) {
    const StackHeights& h = stack().pad;
    ClearMeshes();
    SetEmptyMass(emptyMassOf(kVariant.boosterCount, true, true, fairingAttached == 1));
    if (kVariant.padLayoutAddsUpperStageTank && addUpperStageTank)
        CreatePropellantResource(kVariant.upperStagePropellant);

    const VECTOR3 origin = _V(0, 0, 0);
    SetMeshVisibilityMode(AddMesh(oapiLoadMeshGlobal("tarvik/Tarvik1stA"), &origin), MESHVIS_ALWAYS);
    for (int i = 0; i < kVariant.boosterCount; ++i) {
        const BoosterMesh& b = kPadBoosters[i];
        const VECTOR3 pos = _V(b.x, b.y, kPadBoosterHeight);
        AddMesh(oapiLoadMeshGlobal(b.name), &pos);
    }
    const VECTOR3 interstagePos = _V(0, 0, h.interstage);
    const VECTOR3 upperPos = _V(0, 0, h.upperStage);
    AddMesh(interstageMesh, &interstagePos);
    SetMeshVisibilityMode(AddMesh(upperStageMesh, &upperPos), MESHVIS_ALWAYS);
    if (fairingAttached == 1) {
        const VECTOR3 right = _V(stack().fairingHalfX, 0, h.fairing);
        const VECTOR3 left = _V(-stack().fairingHalfX, 0, h.fairing);
        const UINT rightIndex = AddMesh(stack().fairingRightMesh, &right);
        const UINT leftIndex = AddMesh(stack().fairingLeftMesh, &left);
        SetMeshVisibilityMode(rightIndex, MESHVIS_ALWAYS);
        SetMeshVisibilityMode(leftIndex, MESHVIS_ALWAYS);
        fairingMeshIndex[0] = rightIndex;
        fairingMeshIndex[1] = leftIndex;
    } else {
        const VECTOR3 payloadPos = _V(0, 0, payloadZOffset + h.payload);
        payloadMeshIndex = AddMesh(payloadMeshName.c_str(), &payloadPos);
    }
    configCode = 0;
    stage = 0;
}

// The flight core replaces the pad core in slot 0; nothing else changes.
void MediumLauncher::liftoffLayout() {
    SetEmptyMass(emptyMassOf(kVariant.boosterCount, true, true, fairingAttached == 1));
    InsertMesh(coreMesh, 0);
    configCode = 4;
}

void MediumLauncher::coreLayout() {
    const StackHeights& h = stack().core;
    ClearMeshes();
    SetEmptyMass(emptyMassOf(0, true, true, fairingAttached == 1));
    addStackMeshes(h.core, h.interstage, h.upperStage, h.fairing, h.payload);
    configCode = 1;
    stage = 1;
    boosterJettisonSetup();
}

// The core stage with the second booster pair still on.
void MediumLauncher::corePairLayout() {
    const StackHeights& h = stack().core;
    SetRotDrag(_V(0.6, 0.6, 0.6));
    ShiftCentreOfMass(_V(0, 0, 10));
    ClearMeshes();
    SetEmptyMass(emptyMassOf(2, true, true, fairingAttached == 1));
    addStackMeshes(h.core, h.interstage, h.upperStage, h.fairing, h.payload);
    for (int i = 2; i < 4; ++i) {
        const BoosterMesh& b = kPadBoosters[i];
        const VECTOR3 pos = _V(b.x, b.y, kCoreBoosterHeight);
        AddMesh(b.name, &pos);
    }
    configCode = 1;
    stage = 1;
    boosterJettisonSetup();
}

// The core stage after its fairing went: the payload shows on top.
void MediumLauncher::coreBareLayout() {
    // Without boosters the core flies the whole stack from the pad, so it stays at pad heights.
    const StackHeights& h = kVariant.coreBurnsFromPad ? stack().pad : stack().core;
    ClearMeshes();
    SetEmptyMass(emptyMassOf(0, true, true, false));
    const VECTOR3 corePos = _V(0, 0, h.core);
    const VECTOR3 interstagePos = _V(0, 0, h.interstage);
    const VECTOR3 upperPos = _V(0, 0, h.upperStage);
    const VECTOR3 payloadPos = _V(0, 0, payloadZOffset + h.payload);
    AddMesh(coreMesh, &corePos);
    AddMesh(interstageMesh, &interstagePos);
    AddMesh(upperStageMesh, &upperPos);
    AddMesh(payloadMeshName.c_str(), &payloadPos);
    configCode = 1;
}

void MediumLauncher::upperLayout() {
    const StackHeights& h = stack().upper;
    ClearMeshes();
    SetEmptyMass(emptyMassOf(0, false, true, fairingAttached == 1));
    ShiftCentreOfMass(_V(0, 0, 25));
    SetSize(14);
    SetTouchdownPoints(_V(0, -1, -7), _V(0, 1, -7), _V(1, 0, -7));
    SetThrusterGroupLevel(THGROUP_MAIN, 0);
    const VECTOR3 upperPos = _V(0, 0, h.upperStage);
    const VECTOR3 payloadPos = _V(0, 0, payloadZOffset + h.payload);
    AddMesh(upperStageMesh, &upperPos);
    AddMesh(payloadMeshName.c_str(), &payloadPos);
    if (fairingAttached == 1) {
        const VECTOR3 right = _V(stack().fairingHalfX, 0, h.fairing);
        const VECTOR3 left = _V(-stack().fairingHalfX, 0, h.fairing);
        AddMesh(stack().fairingRightMesh, &right);
        AddMesh(stack().fairingLeftMesh, &left);
    } else {
        SetSize(6.85);
    }
    configCode = 2;
    stage = 2;
    upperStageSetup();
}

// The upper stage with its payload after the fairing went. The fairing's mass goes with it.
void MediumLauncher::upperBareLayout() {
    const StackHeights& h = stack().upper;
    ClearMeshes();
    SetEmptyMass(emptyMassOf(0, false, true, false));
    SetSize(6.85);
    const VECTOR3 upperPos = _V(0, 0, h.upperStage);
    const VECTOR3 payloadPos = _V(0, 0, payloadZOffset + h.payload);
    AddMesh(upperStageMesh, &upperPos);
    AddMesh(payloadMeshName.c_str(), &payloadPos);
    configCode = 3;
    stage = 3;
}

void MediumLauncher::upperAloneLayout() {
    ClearMeshes();
    SetSize(6.85);
    const VECTOR3 upperPos = _V(0, 0, stack().upperAloneHeight);
    AddMesh(upperStageMesh, &upperPos);
    SetEmptyMass(upperStageDryMass);
    configCode = 5;
    stage = 4;
    payloadStageSetup();
}

}  // namespace medium
