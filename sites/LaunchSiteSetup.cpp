// Building the pad: physical parameters, effect thrusters with their streams
// and flares, beacons, meshes and animations, in the order the host sees them.
#include <cstring>

#include "LaunchSite.h"

namespace sites {

void LaunchSite::clbkSetClassCaps(FILEHANDLE cfg) {
    SetEnableFocus(false);  // the pad never takes the focus from the user
    resetLaunchState();
    setPhysicalParameters();
    // One full tank that never runs dry feeds every effect thruster.
    PROPELLANT_HANDLE propellant = CreatePropellantResource(2e13, -1, 1);
    registerTextures();
    createEffectThrusters(propellant);
    attachStreams();
    attachFlares();
    registerBeacons();
    addMeshes();
    createAnimations();
    ventsOff();
    setEffect(Effect::SecondCloud, 0);
}

// A new pad starts with its structures home and no launcher known. The
// climb-out flag, arm state, tracked handle and last airspeed and altitude are
// kept from module load on.
void LaunchSite::resetLaunchState() {
    pad.towerHome = 1.0;
    pad.ignitionSeen = 0;
    pad.liftoffSeen = 0;
    pad.cloudsDone = 0;
    pad.heavyPadMesh = 0;
    pad.trackedName[0] = '\0';
    pad.scanIndex = 0;
    lightsOn = 0;
    searchState = Searching;
}

void LaunchSite::setPhysicalParameters() {
    SetSize(site.size);
    SetEmptyMass(500);
    SetCW(0.3, 0.3, 0.6, 0.9);
    SetCrossSections(_V(10.5, 15, 5.8));
    SetPMI(_V(2.28, 2.31, 0.79));
    SetTrimScale(0.05);
    SetCameraOffset(_V(0, 0.8, 0));
    SetTouchdownPoints(_V(0, -1.5, 14.2), _V(-1.5, -1.5, 14.2), _V(1.5, -1.5, 14.2));
}

void LaunchSite::registerTextures() {
    for (std::size_t i = 0; i < site.textures.size(); ++i) {
        char* name = const_cast<char*>(site.textures[i].name);
        pad.textures[i] = site.textures[i].kind == TextureKind::Exhaust ? oapiRegisterExhaustTexture(name)
                                                                        : oapiRegisterParticleTexture(name);
    }
}

SURFHANDLE LaunchSite::texture(const char* name) const {
    if (!name)
        return nullptr;
    for (std::size_t i = 0; i < site.textures.size(); ++i)
        if (std::strcmp(site.textures[i].name, name) == 0)
            return pad.textures[i];
    return nullptr;
}

void LaunchSite::createEffectThrusters(PROPELLANT_HANDLE propellant) {
    pad.thrusters.fill(nullptr);
    for (const ThrusterRow& row : site.thrusters)
        pad.thrusters[static_cast<int>(row.effect)] = CreateThruster(row.pos, row.dir, 0, propellant, 4e15, 0, 101400);
    THRUSTER_HANDLE floodlight = pad.thrusters[static_cast<int>(Effect::Floodlight)];
    THRUSTER_HANDLE cloud = pad.thrusters[static_cast<int>(Effect::Cloud)];
    CreateThrusterGroup(&floodlight, 1, THGROUP_MAIN);
    CreateThrusterGroup(&cloud, 1, THGROUP_HOVER);
}

void LaunchSite::attachStreams() {
    for (const StreamPlacement& row : site.streams) {
        PARTICLESTREAMSPEC pss = tarvik::particleStream(*row.stream, texture(row.stream->texture));
        AddExhaustStream(pad.thrusters[static_cast<int>(row.thruster)], row.pos, &pss);
    }
}

void LaunchSite::attachFlares() {
    for (const FlareRow& row : site.flares)
        AddExhaust(pad.thrusters[static_cast<int>(row.thruster)], row.length, row.width, row.pos, _V(0, 0, -1),
                   texture(row.texture));
}

// Night beacons start dark: the night lighting raises them on the first step
// that falls in the night.
void LaunchSite::registerBeacons() {
    for (std::size_t i = 0; i < site.beacons.size(); ++i) {
        const BeaconRow& row = site.beacons[i];
        pad.beaconPos[i] = row.pos;
        pad.beaconColour[i] = row.colour;
        BEACONLIGHTSPEC& beacon = pad.beacons[i];
        beacon.shape = row.shape;
        beacon.pos = &pad.beaconPos[i];
        beacon.col = &pad.beaconColour[i];
        beacon.size = row.size;
        beacon.falloff = row.falloff;
        beacon.period = row.period;
        beacon.duration = row.duration;
        beacon.tofs = 0;
        beacon.active = row.lit == Lit::Always;
        AddBeacon(&beacon);
    }
}

void LaunchSite::addMeshes() {
    for (const MeshRow& row : site.meshes)
        AddMesh(row.name, &row.offset);
}

void LaunchSite::createAnimations() {
    animationGroups.reserve(site.animations.size());
    for (std::size_t i = 0; i < site.animations.size(); ++i) {
        const AnimationRow& row = site.animations[i];
        std::vector<UINT>& groups = animationGroups.emplace_back(row.groups.begin(), row.groups.end());
        const UINT count = static_cast<UINT>(groups.size());
        std::unique_ptr<MGROUP_TRANSFORM> transform;
        if (row.motion.type == MGROUP_TRANSFORM::ROTATE)
            transform = std::make_unique<MGROUP_ROTATE>(0, groups.data(), count, row.motion.ref, row.motion.axisOrShift,
                                                        row.motion.angle);
        else
            transform = std::make_unique<MGROUP_TRANSLATE>(0, groups.data(), count, row.motion.axisOrShift);
        animationHandles[i] = CreateAnimation(0);
        AddAnimationComponent(animationHandles[i], row.state0, row.state1, transform.get());
        transforms.push_back(std::move(transform));
    }
}

void LaunchSite::animate(Drive drive, double state) const {
    for (std::size_t i = 0; i < site.animations.size(); ++i)
        if (site.animations[i].drive == drive)
            SetAnimation(animationHandles[i], state);
}

void LaunchSite::setEffect(Effect effect, double level) const {
    if (THRUSTER_HANDLE th = pad.thrusters[static_cast<int>(effect)])
        SetThrusterLevel(th, level);
}

bool LaunchSite::hasEffect(Effect effect) const {
    return pad.thrusters[static_cast<int>(effect)] != nullptr;
}

void LaunchSite::ventsOff() const {
    for (Effect vent : kVents)
        setEffect(vent, 0);
}

}  // namespace sites
