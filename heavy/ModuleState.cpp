#include "ModuleState.h"

namespace heavy {

double missionTime = 0;

THRUSTER_HANDLE mainEngine = nullptr;
THRUSTER_HANDLE leftCoreEngine = nullptr;
THRUSTER_HANDLE rightCoreEngine = nullptr;
THRUSTER_HANDLE padHoverThruster = nullptr;
THRUSTER_HANDLE boosterEngines[6] = {};
THRUSTER_HANDLE upperStageEngines[3] = {};
THRUSTER_HANDLE attitudeSet[14] = {};

PROPELLANT_HANDLE boosterPairTanks[3][2] = {};

namespace {

SURFHANDLE exhaustTexture(const char* name) {
    return oapiRegisterExhaustTexture(const_cast<char*>(name));
}
SURFHANDLE particleTexture(const char* name) {
    return oapiRegisterParticleTexture(const_cast<char*>(name));
}

// Registered once when the module is loaded, before any vessel exists.
Textures registerTextures() {
    Textures t{};
    t.flame = exhaustTexture("tarvik/flame");
    t.exhaust = exhaustTexture("tarvik/Exhaust");
    t.exhaustM = exhaustTexture("tarvik/ExhaustM");
    t.exhaust2 = exhaustTexture("tarvik/Exhaust2");
    t.exhaust2Second = exhaustTexture("tarvik/Exhaust2");
    t.gemExhaust = exhaustTexture("tarvik/gemexhaust");
    t.gemFlame = exhaustTexture("tarvik/gem1");
    t.smoke = particleTexture("tarvik/smoke2");
    t.unusedL = exhaustTexture("tarvik/l");
    t.contrail = particleTexture("tarvik/Contrail4");
    return t;
}

}  // namespace

Textures textures = registerTextures();

}  // namespace heavy
