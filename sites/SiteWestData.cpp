// sitewest: the pad LC6, with its mountain backdrop, lift platforms and a
// burn-off flare on the hillside.
#include <iterator>

#include "SiteData.h"

namespace sites {
namespace {

using PS = PARTICLESTREAMSPEC;

const char* const notLaunchers[] = {"LC6", "LC37"};

// Day fraction (UTC): the lights come up for the local night.
const DayWindow nightOn[] = {{0.01, 0.63}};
const DayWindow nightOff[] = {{0.63, 0.99}, {0.0, 0.01}};

// Registered with the host; only Exhaust3, TVHV_firetrail and Contrail4 are drawn.
const TextureRow textures[] = {
    {TextureKind::Exhaust, "tarvik/light"},    {TextureKind::Exhaust, "tarvik/light2"},
    {TextureKind::Exhaust, "tarvik/Exhaust3"}, {TextureKind::Exhaust, "tarvik/TVHV_firetrail"},
    {TextureKind::Exhaust, "tarvik/spot"},     {TextureKind::Particle, "tarvik/Contrail4"},
};

// clang-format off
const ThrusterRow thrusters[] = {
    // effect               position            direction
    {Effect::Cloud,       {0, 0, -20},        {0, 1, -0.2}},
    {Effect::SecondCloud, {0, 0, -20},        {0, -1, -0.2}},
    {Effect::Vent1,       {0, 0, 20},         {0, 0.1, 0}},
    {Effect::Vent2,       {0, 0, 20},         {0, 0.1, 0}},
    {Effect::Vent3,       {0, 0, 20},         {0, 0.1, 0}},
    {Effect::Vent4,       {0, 0, 20},         {0, 0.1, 0}},
    {Effect::Vent5,       {0, 0, 20},         {0, 0.1, 0}},
    {Effect::Spare,       {0, 0, -20},        {0, 0, 1}},
    {Effect::Floodlight,  {0, 0, -20},        {0, 0, 1}},
    {Effect::Flare,       {-90.38926, 142.9075, 7}, {0, 0, 1}},
};

//                              size  rate speed spread life  growth slowdown light         level map         lmin lmax atm map       amin  amax  texture
const StreamRow cloudStream     {10,  20,  130,  0.3, 5,    5,    3,    PS::DIFFUSE,  PS::LVL_PSQRT, 0, 2, PS::ATM_PLOG, 1e-4, 1,    "tarvik/Contrail4"};
const StreamRow glowStream      {15,  30,  140,  0.2, 3.95, 10,   1,    PS::EMISSIVE, PS::LVL_SQRT,  0, 1, PS::ATM_PLOG, 1e-5, 0.1,  nullptr};
const StreamRow flameStream     {8.6, 25,  90,   0.5, 1,    5.9,  0.5,  PS::EMISSIVE, PS::LVL_SQRT,  0, 1, PS::ATM_PLIN, 1e-5, 0.01, "tarvik/Exhaust3"};
const StreamRow ventStream      {0.2, 50,  -10,  0,   0.3,  0.8,  0,    PS::EMISSIVE, PS::LVL_SQRT,  0, 1, PS::ATM_PLOG, 1e-5, 0.1,  nullptr};
const StreamRow flareFireStream {0.4, 65,  -15,  0.1, 0.8,  1.5,  -0.6, PS::EMISSIVE, PS::LVL_SQRT,  0, 1, PS::ATM_PLOG, 1e-5, 0.1,  "tarvik/TVHV_firetrail"};
const StreamRow flareCoreStream {0.3, 50,  -10,  0.1, 0.2,  1,    -1,   PS::EMISSIVE, PS::LVL_SQRT,  0, 1, PS::ATM_PLOG, 1e-5, 0.1,  "tarvik/Exhaust3"};

const StreamPlacement streams[] = {
    // thruster              source                                  stream
    {Effect::Flare,       {-91.02703, 139.0202, 47.06402}, &flareFireStream},
    {Effect::Flare,       {-91.02703, 139.0202, 47.06402}, &flareCoreStream},
    {Effect::Vent1,       {-3, 0, 56},   &ventStream},
    {Effect::Vent2,       {-3, 0, 75},   &ventStream},
    {Effect::Vent3,       {-3, -6, 56},  &ventStream},
    {Effect::Vent4,       {-3, 6, 56},   &ventStream},
    {Effect::Vent5,       {-2.2, 0, 75}, &ventStream},
    {Effect::Cloud,       {0, -57, 6},   &cloudStream},
    {Effect::Cloud,       {0, -57, 6},   &glowStream},
    {Effect::Cloud,       {0, -57, 6},   &flameStream},
    {Effect::SecondCloud, {0, 76, 8},    &cloudStream},
    {Effect::SecondCloud, {0, 76, 8},    &glowStream},
    {Effect::SecondCloud, {0, 76, 7},    &flameStream},
    {Effect::Cloud,       {61, -57, 6},  &glowStream},
};

// The floodlights around the pad.
const FlareRow flares[] = {
    // thruster             length width  position                                 texture
    {Effect::Floodlight,  0.5, 0.5, {-85.37498, 29.95385, 33.60459},   nullptr},
    {Effect::Floodlight,  0.5, 0.5, {-85.37498, -27.57858, 33.60459},  nullptr},
    {Effect::Floodlight,  0.5, 0.5, {110.4464, 29.95385, 33.60459},    nullptr},
    {Effect::Floodlight,  0.5, 0.5, {110.4464, -27.31468, 33.60459},   nullptr},
    {Effect::Floodlight,  0.5, 0.5, {220.1616, 29.95385, 33.60459},    nullptr},
    {Effect::Floodlight,  0.5, 0.5, {220.1616, -27.31468, 33.60459},   nullptr},
    {Effect::Floodlight,  0.5, 0.5, {-11.88695, 26, 67},               nullptr},
    {Effect::Floodlight,  0.5, 0.5, {-11.88695, 26, 50},               nullptr},
    {Effect::Floodlight,  0.5, 0.5, {-11.88695, 26, 33},               nullptr},
    {Effect::Floodlight,  0.5, 0.5, {-67.63249, 44.33698, 19.22145},   nullptr},
    {Effect::Floodlight,  0.5, 0.5, {-67.63249, 70.4641, 19.22145},    nullptr},
    {Effect::Floodlight,  0.5, 0.5, {-78.45281, 57.53249, 19.22145},   nullptr},
    {Effect::Floodlight,  0.5, 0.5, {-57.33999, 57.53249, 19.22145},   nullptr},
    {Effect::Floodlight,  0.5, 0.5, {105.7455, 69.80433, 25.68727},    nullptr},
    {Effect::Floodlight,  0.5, 0.5, {122.6358, 50.8028, 25.68727},     nullptr},
    {Effect::Floodlight,  0.5, 0.5, {137.9426, 34.96816, 25.68727},    nullptr},
};

const VECTOR3 amber{1, 0.65, 0};
const VECTOR3 yellow{1, 0.8, 0};
const VECTOR3 red{1, 0.1, 0.1};

const BeaconRow beacons[] = {
    // shape                 position                                 colour  size falloff period duration lit
    {BEACONSHAPE_STAR,    {-10.74885, 27.31477, 74.5},           amber,  0.7, 0, 1.5, 0.8, Lit::Always},
    {BEACONSHAPE_STAR,    {6.669221, 27.31477, 74.5},            amber,  0.7, 0, 1.6, 0.7, Lit::Always},
    {BEACONSHAPE_STAR,    {9.271358, 23.4876, 72.538},           amber,  0.7, 0, 0,   0.7, Lit::AtNight},
    {BEACONSHAPE_STAR,    {1.158252, 30.7467, 73.01863},         amber,  0.7, 0, 0,   0.7, Lit::AtNight},
    {BEACONSHAPE_STAR,    {-13.14644, 30.7467, 73.01863},        amber,  0.7, 0, 0,   0.7, Lit::AtNight},
    {BEACONSHAPE_STAR,    {1.158252, 30.7467, 59.88821},         amber,  0.7, 0, 0,   0.7, Lit::AtNight},
    {BEACONSHAPE_STAR,    {1.158252, 30.7467, 33.23357},         amber,  0.7, 0, 0,   0.7, Lit::AtNight},
    {BEACONSHAPE_STAR,    {-13.65187, 28.89823, 71},             yellow, 3,   0, 0,   0.5, Lit::AtNight},
    {BEACONSHAPE_STAR,    {-13.65187, 28.89823, 66},             yellow, 3,   0, 0,   0.5, Lit::AtNight},
    {BEACONSHAPE_STAR,    {-13.65187, 28.89823, 61},             yellow, 3,   0, 0,   0.5, Lit::AtNight},
    {BEACONSHAPE_STAR,    {-13.65187, 28.89823, 51},             yellow, 3,   0, 0,   0.5, Lit::AtNight},
    {BEACONSHAPE_STAR,    {-13.65187, 28.89823, 46},             yellow, 3,   0, 0,   0.5, Lit::AtNight},
    {BEACONSHAPE_STAR,    {-13.65187, 28.89823, 41},             yellow, 3,   0, 0,   0.5, Lit::AtNight},
    {BEACONSHAPE_STAR,    {-13.65187, 28.89823, 31},             yellow, 3,   0, 0,   0.5, Lit::AtNight},
    {BEACONSHAPE_STAR,    {-13.65187, 28.89823, 21},             yellow, 3,   0, 0,   0.5, Lit::AtNight},
    {BEACONSHAPE_COMPACT, {-10.33776, 36.40452, 139.0444},       red,    1,   0, 2,   1.6, Lit::Always},
    {BEACONSHAPE_STAR,    {5.5, 28.89823, 46},                   yellow, 3,   0, 0,   0.5, Lit::AtNight},
    {BEACONSHAPE_STAR,    {5.5, 28.89823, 41},                   yellow, 3,   0, 0,   0.5, Lit::AtNight},
    {BEACONSHAPE_STAR,    {5.5, 28.89823, 61},                   yellow, 3,   0, 0,   0.5, Lit::AtNight},
    {BEACONSHAPE_STAR,    {5.5, 28.89823, 65},                   yellow, 3,   0, 0,   0.5, Lit::AtNight},
    {BEACONSHAPE_COMPACT, {-233.9454, 48.42759, 70.8159},        red,    0.9, 0, 1.8, 1.5, Lit::Always},
};

const MeshRow meshes[] = {
    {"tarvik/sitewest", {0, 0, 0}},
    {"tarvik/mtn",      {-700, 0, -5}},
};

const UINT swingGroups[] = {78, 79, 77, 76, 75, 74, 73};
const UINT slideGroupsA[] = {55, 0, 32};
const UINT slideGroupsB[] = {8, 60, 61, 62, 63, 64, 65, 57, 58, 82, 83};
const UINT liftGroup1[] = {65};
const UINT liftGroup2[] = {64};
const UINT liftGroup3[] = {61};
const UINT liftGroup4[] = {62};

const AnimationRow animations[] = {
    // range       groups        motion                                                       driven by
    {0,    1,   swingGroups,  rotate({12.6315, 22.48818, 4.4}, {0, 0, 1}, 0.9424778f), Drive::ArmState},      // arms
    {0,    0.8, slideGroupsA, translate({107.5, 0, 0}),                                 Drive::TowerRamp},     // structures apart
    {0,    1,   slideGroupsB, translate({-111.5, 0, 0}),                                Drive::TowerRamp},
    {0.01, 0.4, liftGroup1,   translate({0, 0, 56}),                                    Drive::PlatformRamp},  // lift platforms
    {0.01, 0.4, liftGroup2,   translate({0, 0, 45}),                                    Drive::PlatformRamp},
    {0.01, 0.4, liftGroup3,   translate({0, 0, 33}),                                    Drive::PlatformRamp},
    {0.01, 0.4, liftGroup4,   translate({0, 0, 20}),                                    Drive::PlatformRamp},
};

const PointLightRow nightLights[] = {
    // position                        range  quadratic  colour
    {{13, 0, 80},                    60,   0.01,  {1, 1, 1, 0}},
    {{13, 0, 30},                    60,   0.01,  {1, 1, 1, 0}},
    {{-107.2489, 0, 80.84293},       5260, 0.006, {1, 1, 1, 0}},
    {{143, 0, 44},                   1260, 0.007, {1, 1, 1, 0}},
    {{-3.623281, 29, 53},            2260, 0.02,  {1, 1, 0, 0}},
};

const MeshRow nightMeshes[] = {
    {"tarvik/sl6-2", {100, 59, 0.1}},
};
// clang-format on

static_assert(std::size(textures) <= kMaxTextures);
static_assert(std::size(beacons) <= kMaxBeacons);
static_assert(std::size(animations) <= kMaxAnimations);
static_assert(std::size(nightMeshes) <= kMaxNightMeshes);

}  // namespace

const SiteData site{
    .signalName = "LC6",
    .referenceName = "LC6",
    .notLaunchers = notLaunchers,
    .searchHalfWidth = 100,
    .towerRampRate = 0.012,
    .nightOn = nightOn,
    .nightOff = nightOff,
    .size = 2000.5,
    .textures = textures,
    .thrusters = thrusters,
    .streams = streams,
    .flares = flares,
    .beacons = beacons,
    .meshes = meshes,
    .heavyPadMesh = "tarvik/sitewestb",
    .animations = animations,
    .towerSlidePerState = 0,  // the structures slide apart sideways; nothing rides on them
    .ridingBeacon = {-1, 0, 0},
    .nightLights = nightLights,
    .nightMeshes = nightMeshes,
    .moduleDate = "Dec  9 2011",
};

}  // namespace sites
