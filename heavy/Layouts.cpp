// Layouts: the meshes and empty mass of each configuration. Each replaces what
// the vehicle shows and weighs and sets its configuration code and stage.
#include "HeavyLauncher.h"
#include "ModuleState.h"

namespace heavy {

namespace {

constexpr double kSideCoreX = 4.521;
constexpr double kSideCoreZ = 3.4;
constexpr double kBoosterMeshY = 3.5;
constexpr double kBoosterMeshZ = -8.4;
constexpr double kFairingHalfX = 1.9;
constexpr double kPayloadMountZ = 2.44;

// Booster meshes by x, for each number of boosters still attached.
constexpr double kSixBoosterXs[6] = {-0.9, 0.9, -5.121, -6.921, 5.121, 6.921};
constexpr double kFourBoosterXs[4] = {-5.121, -6.921, 5.121, 6.921};
constexpr double kTwoBoosterXs[2] = {-6.921, 6.921};

}  // namespace

double HeavyLauncher::stackMass(int boosters, int cores, bool interstage, bool fairing) const {
    return boosters * boosterDryMass + cores * coreDryMass + (fairing ? fairingMass : 0) +
           (interstage ? interstageMass : 0) + upperStageDryMass + payloadMass;
}

// With the fairing on, its two halves are shown at height z; without it the
// empty mass is set once more, to the mass without the fairing.
void HeavyLauncher::addFairingHalves(double z, double massWithoutFairing) {
    if (fairingAttached == 1) {
        const VECTOR3 right = _V(kFairingHalfX, 0, z), left = _V(-kFairingHalfX, 0, z);
        AddMesh(oapiLoadMeshGlobal("tarvik/FairHPR"), &right);
        AddMesh(oapiLoadMeshGlobal("tarvik/FairHPL"), &left);
    } else if (fairingAttached == 0) {
        SetEmptyMass(massWithoutFairing);
    }
}

void HeavyLauncher::padLayout() {
    configCode = 0;
    stage = 0;
    ClearMeshes();
    SetEmptyMass(stackMass(6, 3, true, true));
    const VECTOR3 left = _V(kSideCoreX, 0, kSideCoreZ), right = _V(-kSideCoreX, 0, kSideCoreZ);
    AddMesh(oapiLoadMeshGlobal("tarvik/Tarvik1stA"));
    AddMesh(oapiLoadMeshGlobal("tarvik/leftboostA"), &left);
    AddMesh(oapiLoadMeshGlobal("tarvik/rightboostA"), &right);
    boosterMesh = oapiLoadMeshGlobal("tarvik/GEM1SH");
    for (double x : kSixBoosterXs) {
        const VECTOR3 pos = _V(x, kBoosterMeshY, kBoosterMeshZ);
        AddMesh(boosterMesh, &pos);
    }
    const VECTOR3 interstagePos = _V(0, 0, 26.75), upperPos = _V(0, 0, 33.5);
    AddMesh(interstageMesh, &interstagePos);
    AddMesh(upperStageMesh, &upperPos);
    addFairingHalves(55, stackMass(6, 3, true, false));
}

// The full stack in flight: the flight meshes of the three cores take the
// places of the pad meshes; all other meshes stay. The fairing mass is
// counted whether or not the fairing is attached.
void HeavyLauncher::flightLayout() {
    configCode = 4;
    SetEmptyMass(stackMass(6, 3, true, true));
    const VECTOR3 left = _V(kSideCoreX, 0, kSideCoreZ), right = _V(-kSideCoreX, 0, kSideCoreZ);
    InsertMesh(coreMesh, 0);
    InsertMesh(leftCoreMesh, 1, &left);
    InsertMesh(rightCoreMesh, 2, &right);
}

void HeavyLauncher::strapOnLayout(const double* boosterXs, int boosters) {
    configCode = 1;
    stage = 0;
    straightenCoreEngines();
    ClearMeshes();
    SetEmptyMass(stackMass(boosters, 3, true, true));
    const VECTOR3 left = _V(kSideCoreX, 0, kSideCoreZ), right = _V(-kSideCoreX, 0, kSideCoreZ);
    AddMesh(oapiLoadMeshGlobal("tarvik/Tarvik1st"));
    AddMesh(oapiLoadMeshGlobal("tarvik/leftboost"), &left);
    AddMesh(oapiLoadMeshGlobal("tarvik/rightboost"), &right);
    // A vehicle that never stood in the pad layout has no booster mesh yet.
    if (!boosterMesh && boosters > 0)
        boosterMesh = oapiLoadMeshGlobal("tarvik/GEM1SH");
    for (int i = 0; i < boosters; ++i) {
        const VECTOR3 pos = _V(boosterXs[i], kBoosterMeshY, kBoosterMeshZ);
        AddMesh(boosterMesh, &pos);
    }
    const VECTOR3 interstagePos = _V(0, 0, 26.75), upperPos = _V(0, 0, 33.5);
    AddMesh(interstageMesh, &interstagePos);
    AddMesh(upperStageMesh, &upperPos);
    addFairingHalves(55, stackMass(boosters, 3, true, false));
}

// Only the full stack swings its core engines: once it is gone they point
// straight aft again, wherever the last steering step left them.
void HeavyLauncher::straightenCoreEngines() {
    for (THRUSTER_HANDLE engine : {mainEngine, leftCoreEngine, rightCoreEngine})
        SetThrusterDir(engine, _V(0, 0, 1));
}

void HeavyLauncher::fourBoosterLayout() {
    strapOnLayout(kFourBoosterXs, 4);
}
void HeavyLauncher::twoBoosterLayout() {
    strapOnLayout(kTwoBoosterXs, 2);
}
void HeavyLauncher::noBoosterLayout() {
    strapOnLayout(nullptr, 0);
}

void HeavyLauncher::coreLayout() {
    configCode = 1;
    stage = 1;
    SetEmptyMass(stackMass(0, 1, true, true));
    SetRotDrag(_V(0.6, 0.6, 0.6));
    ClearMeshes();
    ShiftCentreOfMass(_V(0, 0, 10));
    const VECTOR3 corePos = _V(0, 0, -10), interstagePos = _V(0, 0, 16.75), upperPos = _V(0, 0, 23.5);
    AddMesh(coreMesh, &corePos);
    AddMesh(interstageMesh, &interstagePos);
    AddMesh(upperStageMesh, &upperPos);
    addFairingHalves(45, stackMass(0, 1, true, false));
    setupCorePropulsion();
}

void HeavyLauncher::addUpperStageAndPayloadMeshes() {
    const VECTOR3 upperPos = _V(0, 0, -1.5), payloadPos = _V(0, 0, payloadZOffset + kPayloadMountZ);
    AddMesh(upperStageMesh, &upperPos);
    AddMesh(oapiLoadMeshGlobal(payloadMeshName.c_str()), &payloadPos);
}

void HeavyLauncher::upperStageLayout() {
    configCode = 2;
    stage = 2;
    ClearMeshes();
    SetEmptyMass(stackMass(0, 0, false, true));
    ShiftCentreOfMass(_V(0, 0, 25));
    SetSize(14);
    SetTouchdownPoints(_V(0, -1, -7), _V(0, 1, -7), _V(1, 0, -7));
    SetThrusterGroupLevel(THGROUP_MAIN, 0);
    addUpperStageAndPayloadMeshes();
    if (fairingAttached == 1) {
        addFairingHalves(20, 0);
    } else if (fairingAttached == 0) {
        SetEmptyMass(stackMass(0, 0, false, false));
        SetSize(6.85);
    }
    setupUpperStagePropulsion();
}

void HeavyLauncher::bareUpperStageLayout() {
    configCode = 3;
    stage = 3;
    ClearMeshes();
    SetEmptyMass(stackMass(0, 0, false, false));
    SetSize(6.85);
    addUpperStageAndPayloadMeshes();
}

void HeavyLauncher::spentStageLayout() {
    configCode = 5;
    stage = 4;
    ClearMeshes();
    SetEmptyMass(upperStageDryMass);
    SetSize(6.85);
    const VECTOR3 upperPos = _V(0, 0, -1.5);
    AddMesh(upperStageMesh, &upperPos);
    setupSpentStagePropulsion();
}

}  // namespace heavy
