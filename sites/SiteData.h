// What tells the two launch pads apart. One LaunchSite class reads the record of
// the pad its plug-in is built for; each table is written out in that pad's data
// file (SiteWestData.cpp, SiteEastData.cpp) row by row, the way a reader would
// look it up.
#pragma once

#include <span>

#include "Orbitersdk.h"
#include "StreamRows.h"

namespace sites {

// The effect thrusters by the part they play on the pad. A pad lacks some of
// them (siteeast has no second cloud source and no flare; sitewest no tower
// lights); what a pad lacks is simply never lit.
enum class Effect {
    Cloud,        // launch clouds, the hover group
    SecondCloud,  // a second launch-cloud source
    Vent1,
    Vent2,
    Vent3,
    Vent4,
    Vent5,       // pre-launch venting, chosen by launcher name
    Spare,       // switched off with the vents, shows nothing
    TowerLight,  // flares along the service tower
    Floodlight,  // night floodlights, the main group
    Flare,       // burn-off flare
    Count
};

inline constexpr Effect kVents[] = {Effect::Vent1, Effect::Vent2, Effect::Vent3, Effect::Vent4, Effect::Vent5};

// Effect thrusters carry no force (maximum thrust 0): their level only drives
// the exhaust flares and particle streams attached to them.
struct ThrusterRow {
    Effect effect;
    VECTOR3 pos;
    VECTOR3 dir;
};

enum class TextureKind { Exhaust, Particle };

struct TextureRow {
    TextureKind kind;
    const char* name;
};

// A stream's parameters; its texture is one of the pad's registered
// textures, or null for the host default.
using StreamRow = tarvik::StreamRow;

// Where a stream of the given parameters stands on the pad.
struct StreamPlacement {
    Effect thruster;
    VECTOR3 pos;
    const StreamRow* stream;
};

// Exhaust flares all point down the site's -z axis.
struct FlareRow {
    Effect thruster;
    double length, width;
    VECTOR3 pos;
    const char* texture;  // null for the host default
};

enum class Lit { Always, AtNight };

struct BeaconRow {
    DWORD shape;
    VECTOR3 pos;
    VECTOR3 colour;
    double size, falloff, period, duration;
    Lit lit;
};

struct MeshRow {
    const char* name;
    VECTOR3 offset;
};

// What moves an animation: the arm swing after lift-off, the service tower's
// ramp, or sitewest's lift platforms.
enum class Drive { ArmState, TowerRamp, PlatformRamp };

struct Motion {
    MGROUP_TRANSFORM::TYPE type;  // ROTATE or TRANSLATE
    VECTOR3 ref;                  // rotation centre
    VECTOR3 axisOrShift;          // rotation axis, or translation
    float angle;                  // rotation angle [rad]
};

inline Motion rotate(VECTOR3 ref, VECTOR3 axis, float angle) {
    return {MGROUP_TRANSFORM::ROTATE, ref, axis, angle};
}
inline Motion translate(VECTOR3 shift) {
    return {MGROUP_TRANSFORM::TRANSLATE, {}, shift, 0.0f};
}

// One animation with one component on the pad mesh (mesh 0).
struct AnimationRow {
    double state0, state1;
    std::span<const UINT> groups;
    Motion motion;
    Drive drive;
};

struct PointLightRow {
    VECTOR3 pos;
    double range;
    double quadraticAttenuation;
    COLOUR4 colour;
};

// An open interval of the day fraction: both bounds excluded.
struct DayWindow {
    double from, to;
    bool contains(double f) const { return from < f && f < to; }
};

// A beacon that rides on the sliding service tower: its y follows the tower
// over the part of the ramp in which the tower slides.
struct RidingBeacon {
    int index;             // in the beacon table; -1 when the pad has none
    double homeY;          // y with the tower home [m]
    double slideEndState;  // ramp state at which the slide ends
};

struct SiteData {
    // How the pad knows itself and its launcher
    const char* signalName;     // a focus request arrives as input focus on this vessel
    const char* referenceName;  // the search measures distances from this vessel
    std::span<const char* const> notLaunchers;
    double searchHalfWidth;  // [m], an axis-aligned box in the global frame
    double towerRampRate;    // ramp state per second
    std::span<const DayWindow> nightOn;
    std::span<const DayWindow> nightOff;

    // The vessel
    double size;
    std::span<const TextureRow> textures;
    std::span<const ThrusterRow> thrusters;
    std::span<const StreamPlacement> streams;
    std::span<const FlareRow> flares;
    std::span<const BeaconRow> beacons;
    std::span<const MeshRow> meshes;  // meshes 0 (the pad) and 1
    const char* heavyPadMesh;         // mesh 0 while a heavy launcher stands on the pad; null if the pad has none
    std::span<const AnimationRow> animations;
    double towerSlidePerState;  // metres the tower slides (along -y) per unit of ramp state
    RidingBeacon ridingBeacon;
    std::span<const PointLightRow> nightLights;
    std::span<const MeshRow> nightMeshes;

    const char* moduleDate;
};

// The record of the pad this plug-in is built for.
extern const SiteData site;

// Room the module keeps for the pads' tables.
inline constexpr std::size_t kMaxTextures = 8;
inline constexpr std::size_t kMaxBeacons = 24;
inline constexpr std::size_t kMaxAnimations = 8;
inline constexpr std::size_t kMaxNightMeshes = 2;

}  // namespace sites
