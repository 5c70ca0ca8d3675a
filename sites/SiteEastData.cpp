// siteeast: the pad LC37B, with a rolling service tower whose lights shine
// while it stands home.
#include <iterator>

#include "SiteData.h"

namespace sites {
namespace {

using PS = PARTICLESTREAMSPEC;

const char* const notLaunchers[] = {"LC37", "LC6", "LC37B"};

// Day fraction (UTC): the lights come up for the local night.
const DayWindow nightOn[] = {{0.0, 0.5}, {0.91, 1.0}};
const DayWindow nightOff[] = {{0.5, 0.91}};

// Registered with the host; only light2, Exhaust3 and Contrail4 are drawn.
const TextureRow textures[] = {
    {TextureKind::Exhaust, "Tarvik/light"},      {TextureKind::Exhaust, "Tarvik/light2"},
    {TextureKind::Exhaust, "Tarvik/Exhaust3"},   {TextureKind::Exhaust, "Tarvik/TVHV_firetrail"},
    {TextureKind::Particle, "Tarvik/Contrail4"},
};

// clang-format off
const ThrusterRow thrusters[] = {
    // effect              position       direction
    {Effect::Cloud,      {0, 0, -20},   {1, 0, 0}},
    {Effect::Vent1,      {0, 0, 20},    {1, 0.1, 0}},
    {Effect::Vent2,      {0, 0, 20},    {1, 0.1, 0}},
    {Effect::Vent3,      {0, 0, 20},    {1, 0.1, 0}},
    {Effect::Vent4,      {0, 0, 20},    {1, 0.1, 0}},
    {Effect::Vent5,      {0, 0, 20},    {1, 0.1, 0}},
    {Effect::TowerLight, {0, 0, -20},   {0, 0, 1}},
    {Effect::Floodlight, {0, 0, -20},   {0, 0, 1}},
};

//                          size  rate speed spread life  growth slowdown light         level map      lmin lmax atm map       amin  amax  texture
const StreamRow cloudStream {10,  20,  130,  0.3, 5,    5,    3,    PS::DIFFUSE,  PS::LVL_PSQRT, 0, 2, PS::ATM_PLOG, 1e-4, 1,    "Tarvik/Contrail4"};
const StreamRow glowStream  {15,  30,  140,  0.2, 3.95, 10,   1,    PS::EMISSIVE, PS::LVL_SQRT,  0, 1, PS::ATM_PLOG, 1e-5, 0.1,  nullptr};
const StreamRow flameStream {8.6, 25,  -10,  0.5, 1,    5.9,  0.5,  PS::EMISSIVE, PS::LVL_SQRT,  0, 1, PS::ATM_PLIN, 1e-5, 0.01, "Tarvik/Exhaust3"};
const StreamRow ventStream  {0.2, 50,  -10,  0,   0.3,  0.8,  0,    PS::EMISSIVE, PS::LVL_SQRT,  0, 1, PS::ATM_PLOG, 1e-5, 0.1,  nullptr};

const StreamPlacement streams[] = {
    // thruster         source          stream
    {Effect::Vent1,  {0, 3, 56},     &ventStream},
    {Effect::Vent2,  {0, 3, 75},     &ventStream},
    {Effect::Vent3,  {-6, 3, 56},    &ventStream},
    {Effect::Vent4,  {6, 3, 56},     &ventStream},
    {Effect::Vent5,  {0, 2.2, 75},   &ventStream},
    {Effect::Cloud,  {-56, 0, 0},    &cloudStream},
    {Effect::Cloud,  {-56, 0, 0},    &glowStream},
    {Effect::Cloud,  {-56, 0, 0},    &flameStream},
};

const FlareRow flares[] = {
    // thruster             length width  position                         texture
    // floodlights around the pad, all at 33.5 m
    {Effect::Floodlight,  0.5, 0.5, {-16.18205, -77.45641, 33.5},  nullptr},
    {Effect::Floodlight,  0.5, 0.5, {16.43373, -77.52311, 33.5},   nullptr},
    {Effect::Floodlight,  0.5, 0.5, {-37.10327, -37.85949, 33.5},  nullptr},
    {Effect::Floodlight,  0.5, 0.5, {41.44387, -37.5927, 33.5},    nullptr},
    {Effect::Floodlight,  0.5, 0.5, {41.53249, 20.05102, 33.5},    nullptr},
    {Effect::Floodlight,  0.5, 0.5, {-37.4835, 19.82868, 33.5},    nullptr},
    {Effect::Floodlight,  0.5, 0.5, {-37.30336, 44.33899, 33.5},   nullptr},
    {Effect::Floodlight,  0.5, 0.5, {41.65411, 44.29452, 33.5},    nullptr},
    {Effect::Floodlight,  0.5, 0.5, {41.74304, 67.23895, 33.5},    nullptr},
    {Effect::Floodlight,  0.5, 0.5, {-37.08103, 67.32787, 33.5},   nullptr},
    {Effect::Floodlight,  0.5, 0.5, {-37.1255, 92.817, 33.5},      nullptr},
    {Effect::Floodlight,  0.5, 0.5, {41.56517, 92.6836, 33.5},     nullptr},
    // tower lights, three across at each level from the top down
    {Effect::TowerLight,  0.3, 0.4, {0, 111, 82},   "Tarvik/light2"},
    {Effect::TowerLight,  0.3, 0.4, {6, 111, 82},   "Tarvik/light2"},
    {Effect::TowerLight,  0.3, 0.4, {-6, 111, 82},  "Tarvik/light2"},
    {Effect::TowerLight,  0.3, 0.4, {0, 111, 72},   "Tarvik/light2"},
    {Effect::TowerLight,  0.3, 0.4, {6, 111, 72},   "Tarvik/light2"},
    {Effect::TowerLight,  0.3, 0.4, {-6, 111, 72},  "Tarvik/light2"},
    {Effect::TowerLight,  0.3, 0.4, {0, 111, 62},   "Tarvik/light2"},
    {Effect::TowerLight,  0.3, 0.4, {6, 111, 62},   "Tarvik/light2"},
    {Effect::TowerLight,  0.3, 0.4, {-6, 111, 62},  "Tarvik/light2"},
    {Effect::TowerLight,  0.3, 0.4, {0, 111, 52},   "Tarvik/light2"},
    {Effect::TowerLight,  0.3, 0.4, {6, 111, 52},   "Tarvik/light2"},
    {Effect::TowerLight,  0.3, 0.4, {-6, 111, 52},  "Tarvik/light2"},
    {Effect::TowerLight,  0.3, 0.4, {0, 111, 42},   "Tarvik/light2"},
    {Effect::TowerLight,  0.3, 0.4, {6, 111, 42},   "Tarvik/light2"},
    {Effect::TowerLight,  0.3, 0.4, {-6, 111, 42},  "Tarvik/light2"},
    {Effect::TowerLight,  0.3, 0.4, {0, 111, 32},   "Tarvik/light2"},
    {Effect::TowerLight,  0.3, 0.4, {6, 111, 32},   "Tarvik/light2"},
    {Effect::TowerLight,  0.3, 0.4, {-6, 111, 32},  "Tarvik/light2"},
};

const VECTOR3 red{1, 0.1, 0.1};
const VECTOR3 yellow{1, 1, 0.1};

const BeaconRow beacons[] = {
    // shape                 position                          colour  size falloff period duration lit
    {BEACONSHAPE_DIFFUSE, {-42.8, -0.5, 138},               red,    0.9, 0.2, 2.4, 1.4, Lit::Always},
    {BEACONSHAPE_DIFFUSE, {44.9, -0.5, 138},                red,    0.9, 0.2, 2.4, 1.4, Lit::Always},
    {BEACONSHAPE_DIFFUSE, {50.72, -4.9, 90},                red,    0.9, 0.2, 2.4, 1.4, Lit::Always},
    {BEACONSHAPE_DIFFUSE, {50.72, 3.79, 90},                red,    0.9, 0.2, 2.4, 1.4, Lit::Always},
    {BEACONSHAPE_DIFFUSE, {-49.09, -4.9, 90},               red,    0.9, 0.2, 2.4, 1.4, Lit::Always},
    {BEACONSHAPE_DIFFUSE, {-49.09, 3.79, 90},               red,    0.9, 0.2, 2.4, 1.4, Lit::Always},
    {BEACONSHAPE_DIFFUSE, {37.5, -33.74, 76.91},            yellow, 1,   0.2, 2,   1.2, Lit::Always},
    {BEACONSHAPE_DIFFUSE, {37.5, -11.56, 75.91},            yellow, 1,   0.2, 1.5, 0.5, Lit::Always},
    {BEACONSHAPE_DIFFUSE, {-16.03577, 96.86819, 114},       red,    1,   0.2, 1,   0.5, Lit::Always},  // rides the tower
};

const MeshRow meshes[] = {
    {"Tarvik/siteeast", {0, 0, 0}},
    {"Tarvik/b1",       {0, -1.2, 23.5}},
};

const UINT swingGroups[] = {80, 81, 82, 83, 84, 85, 86, 87};
const UINT slideGroups[] = {50, 44, 42, 45, 48, 43, 46, 47, 49, 51, 52, 53, 54, 55, 56, 57, 58, 59, 88, 89, 90, 8};
const UINT doorGroupsA[] = {43, 46, 47, 54, 49};
const UINT doorGroupsB[] = {55, 57, 58, 59, 56};

const AnimationRow animations[] = {
    // range       groups        motion                                                             driven by
    {0,   1,   swingGroups,  rotate({22.0994, -11.52112, 4.4}, {0, 0, 1}, 0.9424778f),   Drive::ArmState},   // arms
    {0,   0.8, slideGroups,  translate({0, -102, 0}),                                    Drive::TowerRamp},  // tower slides
    {0.9, 1,   doorGroupsA,  rotate({-13.06744, -3.7, 60}, {0, 0, 1}, 1.5707964f),       Drive::TowerRamp},  // doors turn
    {0.9, 1,   doorGroupsB,  rotate({13.20783, -3.7, 60}, {0, 0, -1}, 1.5707964f),       Drive::TowerRamp},
    {0.6, 0.9, swingGroups,  rotate({22.0994, -11.52112, 4.4}, {0, 0, 1}, 0.06283186f),  Drive::TowerRamp},  // arms tilt
};

const PointLightRow nightLights[] = {
    // position          range  quadratic  colour
    {{0, -13, 80},     60,   0.01, {1, 1, 1, 0}},
    {{0, -13, 30},     60,   0.01, {1, 1, 1, 0}},
    {{0, 85, 100},     1260, 0.02, {1, 1, 1, 0}},
};

const MeshRow nightMeshes[] = {
    {"Tarvik/pad2", {0.5, 28, 15.9}},
    {"Tarvik/lc",   {0, 0, 0}},
};
// clang-format on

static_assert(std::size(textures) <= kMaxTextures);
static_assert(std::size(beacons) <= kMaxBeacons);
static_assert(std::size(animations) <= kMaxAnimations);
static_assert(std::size(nightMeshes) <= kMaxNightMeshes);

}  // namespace

const SiteData site{
    .signalName = "LC37B",
    .referenceName = "LC37B",
    .notLaunchers = notLaunchers,
    .searchHalfWidth = 50,
    .towerRampRate = 0.03,
    .nightOn = nightOn,
    .nightOff = nightOff,
    .size = 200.5,
    .textures = textures,
    .thrusters = thrusters,
    .streams = streams,
    .flares = flares,
    .beacons = beacons,
    .meshes = meshes,
    .heavyPadMesh = nullptr,
    .animations = animations,
    .towerSlidePerState = 127.5,  // 102 m of slide over the ramp states 0 to 0.8
    .ridingBeacon = {8, 96.86819, 0.8},
    .nightLights = nightLights,
    .nightMeshes = nightMeshes,
    .moduleDate = "Dec 20 2011",
};

}  // namespace sites
