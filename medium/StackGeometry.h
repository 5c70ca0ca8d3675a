// Where the meshes of the stack sit (z in m along the vessel axis) in each
// mesh layout. The 5 m builds (TarvikM52, TarvikM54) share one stack, the
// 4 m builds (TarvikM42, TarvikM4) the other. A payload height is added to
// the payload's own offset.
#pragma once

namespace medium {

struct StackHeights {
    double core;
    double interstage;
    double upperStage;
    double fairing;
    double payload;
};

struct StackGeometry {
    const char* fairingRightMesh;
    const char* fairingLeftMesh;
    double fairingHalfX;      // each half sits at +x (right) or -x (left)
    StackHeights pad;         // PadLayout
    StackHeights core;        // CoreLayout, CorePairLayout, CoreBareLayout
    StackHeights upper;       // UpperLayout, UpperBareLayout (core and interstage unused)
    double upperAloneHeight;  // UpperAloneLayout
    double releasedUpperY;    // upper-stage mesh after payload release: (0, y, upper.upperStage)
};

// clang-format off
//                                                     core   interstage  upper   fairing  payload
inline constexpr StackGeometry kFiveMetreStack = {
    "tarvik/fairRM", "tarvik/fairLM", 1.42,
    /* pad   */ {   0.0,    26.75,     30.7,   43.76,   37.44},
    /* core  */ { -10.0,    16.75,     20.7,   33.76,   27.44},
    /* upper */ {   0.0,     0.0,      -4.25,   8.76,    2.44},
    -4.25, -0.12};

inline constexpr StackGeometry kFourMetreStack = {
    "tarvik/fairRS", "tarvik/fairLS", 1.0186,
    /* pad   */ {   0.0,    25.1,      28.66,  38.5,    33.56},
    /* core  */ { -10.0,    15.1,      18.66,  28.5,    23.56},
    /* upper */ {   0.0,     0.0,      -6.34,   3.5,    -1.44},
    -4.25, 0.0};  // the upper stage alone sits where the 5 m one does
// clang-format on

}  // namespace medium
