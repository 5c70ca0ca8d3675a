// What the host keeps about one vessel: its class capabilities, the things a
// pilot would see (meshes, exhausts, streams, lights, beacons, animations),
// its propulsion definitions and its flight state. The VESSEL interface a
// module holds reads and writes this record; tests and tarvik-sim inspect it.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "VesselAPI.h"

// Every object a handle can name: vessels and the one celestial body, Earth.
struct HostObject {
    explicit HostObject(bool vessel) : isVessel(vessel) {}
    virtual ~HostObject() = default;
    const bool isVessel;
    std::string name;
};

namespace host {

class Module;

struct CelestialBody : HostObject {
    CelestialBody() : HostObject(false) {}
    double mass = 0;
    double radius = 0;
    double siderealPeriod = 0;
};

struct Propellant {
    double maxMass = 0;
    double mass = 0;
    double efficiency = 1;
    double demand = 0;  // physics scratch: what its thrusters ask of it in the step being run [kg]
};

struct Thruster {
    VECTOR3 pos{};
    VECTOR3 dir{};         // not normalised: thrust acts along dir scaled by its length
    double maxThrust = 0;  // vacuum thrust at level 1 [N]
    Propellant* resource = nullptr;
    double ispVac = 0;
    double ispRef = 0;  // Isp at the reference pressure; 0 = no pressure dependence
    double pRef = 101.4e3;
    double level = 0;            // permanent level set by the module or the pilot
    double singleStepLevel = 0;  // added for one step only (navigation modes)
    double effectiveLevel = 0;   // the level that acted in the last step (0 without propellant)
    bool shownLit = false;       // host record: lit as last reported in the event log
    size_t index = 0;            // host record: its place in the vessel's thrusters
    bool inUse = false;          // host record: among the vessel's thrustersInUse (ThrusterLevels.h)
    // What the module set; a dispersed run flies maxThrust, ispVac and
    // ispRef as these times the factors of the engine's group.
    double setThrust = 0, setIspVac = 0, setIspRef = 0;
};

struct ThrusterGroup {
    THGROUP_TYPE type = THGROUP_USER;
    std::vector<Thruster*> thrusters;
};

struct MeshEntry {
    std::string name;  // as passed by the module ("tarvik/Tarvik1st")
    VECTOR3 offset{};
    WORD visibility = MESHVIS_EXTERNAL;
    bool present = false;  // deleted slots keep their index
};

struct Exhaust {
    Thruster* thruster = nullptr;
    double length = 0;
    double width = 0;
    bool hasPos = false;  // false: placed at the thruster's own position
    VECTOR3 pos{};
    VECTOR3 dir{};
    std::string texture;  // registered texture name, empty = host default
};

struct Stream {
    Thruster* thruster = nullptr;
    bool hasPos = false;
    VECTOR3 pos{};
    PARTICLESTREAMSPEC pss{};
    std::string texture;
};

struct AnimationComponent {
    AnimationComponent* parent = nullptr;
    double state0 = 0, state1 = 1;
    std::unique_ptr<MGROUP_TRANSFORM> transform;  // a copy of what the module passed
    std::vector<UINT> groups;
};

struct Animation {
    double defaultState = 0;
    double state = 0;
    double shownState = 0;  // host record: state at the last event check
    bool moving = false;    // host record: reported as moving
    std::vector<std::unique_ptr<AnimationComponent>> components;
};

struct ClassCaps {
    double size = 1;
    double emptyMass = 1000;
    double cw[4] = {0.2, 0.2, 0.2, 0.2};  // z+, z-, x, y
    VECTOR3 crossSections{1, 1, 1};
    VECTOR3 rotDrag{0, 0, 0};
    VECTOR3 pmi{0, 0, 0};
    bool pmiSet = false;  // otherwise (2 size, 2 size, size)
    double pitchMomentScale = 0;
    double yawMomentScale = 0;
    double trimScale = 0;
    double clipRadius = 0;
    std::array<VECTOR3, 3> touchdown{VECTOR3{0, -1, 1}, VECTOR3{-1, -1, -1}, VECTOR3{1, -1, -1}};
    VECTOR3 cameraOffset{};
    VECTOR3 cameraDirection{0, 0, 1};
    double cameraTilt = 0;
    double cameraRange[4] = {0, 0, 0, 0};  // left, right, up, down
    bool focusEnabled = true;
};

// Flight state in the Earth-centred inertial equatorial frame (left-handed, as
// the guidance expects). R maps vessel coordinates to global ones.
struct FlightState {
    VECTOR3 pos{};                           // relative to Earth's centre [m]
    VECTOR3 vel{};                           // [m/s]
    MATRIX3 R{{1, 0, 0, 0, 1, 0, 0, 0, 1}};  // vessel -> global rotation
    VECTOR3 omega{};                         // angular velocity in the vessel frame [rad/s] (vrot)
    bool landed = false;
    double landedLng = 0, landedLat = 0, landedHdg = 0;  // while landed [rad]
    bool groundContact = false;
    int navmodes = 0;  // bit (1 << NAVMODE_x) per active mode
    double mjd = 0;    // the date pos, vel and R refer to (0: never placed)
    // The attitude angles a scenario gave and the rotation they made. Angles
    // taken back from a rotation differ from the given ones in their last
    // bits, and would creep with every save and reload; while R is still that
    // rotation, the scenario's own angles are saved.
    bool hasGivenArot = false;
    VECTOR3 givenArot{};
    MATRIX3 givenArotR{};
};

// The plane of a vessel's touchdown points (see physics/Ground.h).
struct TouchdownGeometry {
    VECTOR3 normal{0, 1, 0};  // vessel frame, pointing up when landed
    double height = 0;        // centre of mass above the ground when landed [m]
    VECTOR3 feet[3];          // the contact points, on the ground side of the centre of mass
    double reach = 0;         // the farthest foot from the centre of mass [m]
};

// What the physics derives from a vessel's record and keeps for the steps
// after. Each part is stored with the inputs it came from and is used only
// while they are the same, bit for bit, so a kept value is always exactly the
// one deriving it again would give.
struct DerivedValues {
    // The touchdown plane, from caps.touchdown.
    bool touchdownKept = false;
    std::array<VECTOR3, 3> touchdownPoints{};
    TouchdownGeometry touchdown;

    // A landed vessel's pose less the Earth's turn, from the touchdown
    // points, where it stands and its heading.
    bool groundKept = false;
    double groundLng = 0, groundLat = 0, groundHeading = 0;
    double groundRadius = 0;  // of the centre of mass [m]
    double cosLat = 1, sinLat = 0;
    MATRIX3 toHorizon{};
    bool resting = false;  // the last step left it standing with that pose, nothing solved

    // The osculating orbit, equatorial [0] and ecliptic [1], from the
    // position, velocity and date.
    struct Orbit {
        bool kept = false;
        VECTOR3 pos{}, vel{};
        double mjd = 0;
        ELEMENTS el{};
        ORBITPARAM prm{};
        double meanMotion = 0;
    } orbit[2];

    // Heading and pitch against the local horizon (and that horizon) and the
    // orientation angles, from the rotation and the position; each found
    // when first asked.
    struct Attitude {
        MATRIX3 R{};
        VECTOR3 pos{};
        bool horizonKept = false, headingKept = false, pitchKept = false, arotKept = false;
        MATRIX3 horizon{};
        double heading = 0, pitch = 0;
        VECTOR3 arot{};
    } attitude;

    // Longitude, latitude and radius, from the position and the date.
    struct Place {
        bool kept = false;
        VECTOR3 pos{};
        double mjd = 0;
        double lng = 0, lat = 0, radius = 0;
    } place;
};

struct VesselData : HostObject {
    VesselData() : HostObject(true) {}
    std::string className;
    Module* module = nullptr;      // null for passive vessels
    VESSEL* iface = nullptr;       // the module's object, or a host VESSEL2 for passive vessels
    VESSEL2* callbacks = nullptr;  // the same object, as the class that receives the callbacks
    int flightModel = 1;

    ClassCaps caps;
    std::vector<MeshEntry> meshes;
    std::vector<std::unique_ptr<Propellant>> propellants;
    std::vector<std::unique_ptr<Thruster>> thrusters;
    std::vector<std::unique_ptr<ThrusterGroup>> groups;  // at most one per THGROUP_TYPE other than USER
    // Host record: the thrusters that may be firing or shown lit, in the
    // thrusters' order (ThrusterLevels.h); room for all of them is kept.
    std::vector<Thruster*> thrustersInUse;
    // Host record: a new stamp whenever a thruster, a group or a tank is added
    // or goes, a thruster changes tanks or an engine's factors are set, never
    // the same for two layouts; unchanged, the thrusters' tanks, groups,
    // thrust and Isp are as they were.
    uint64_t propulsionLayout = 0;
    std::vector<Exhaust> exhausts;
    std::vector<Stream> streams;
    std::vector<std::unique_ptr<LightEmitter>> lights;
    std::vector<BEACONLIGHTSPEC*> beacons;  // owned by the module, as in the simulator
    std::vector<char> beaconShown;          // host record: active flags as last reported
    std::vector<Animation> animations;

    FlightState state;
    mutable DerivedValues derived;  // host record, see DerivedValues
    // A vessel at rest whose pose on the ground is kept is stood on the
    // turning Earth only when something reads its record (see settled()):
    // the step leaves here the date and the Earth's turn it ended at.
    bool restPending = false;
    double restMjd = 0, restRotation = 0;
    bool pendingDelete = false;
    bool createdThisStep = false;
    std::string deletedBy;   // who asked for the deletion, for the event log
    std::string handOverTo;  // vessel that takes camera and focus when this one goes

    // Helpers shared by the host's interface code and its physics.
    double propellantMass() const;
    double mass() const { return caps.emptyMass + propellantMass(); }
    ThrusterGroup* group(THGROUP_TYPE type) const;
    VECTOR3 pmi() const;  // principal moments of inertia per unit mass
};

// Stands a vessel whose rest is pending where the last step left it (the
// physics' restOnGround, done now).
void standPendingRest(VesselData& v);

// The record as the last step left it: every reader outside the physics step
// takes a vessel through this (the host's lookups do).
inline VesselData& settled(VesselData& v) {
    if (v.restPending)
        standPendingRest(v);
    return v;
}

}  // namespace host
