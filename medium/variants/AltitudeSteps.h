// The altitude steps added to the azimuth bias of the 4 m builds, by band of
// target altitude in km (lower bound included, upper excluded). A band not
// listed adds nothing.
#pragma once

#include "GuidanceTables.h"

namespace medium {

// clang-format off
//                                        500-600            600-700            700-800            800-850            850-900            900-1010            1010-1050
inline constexpr AltitudeStep kStepA1[] = {{500, 600, 0.23}, {600, 700, 0.34}, {700, 800, 0.36}, {800, 850, 0.38}, {850, 900, 0.4},  {900, 1010, 0.46}, {1010, 1050, 0.46}};
inline constexpr AltitudeStep kStepA2[] = {{500, 600, 0.21}, {600, 700, 0.27}, {700, 800, 0.31}, {800, 850, 0.37}, {850, 900, 0.37}, {900, 1010, 0.34}, {1010, 1050, 0.44}};
inline constexpr AltitudeStep kStepA3[] = {                  {600, 700, 0.04}, {700, 800, 0.05}, {800, 850, 0.05}, {850, 900, 0.01}, {900, 1010, 0.01}                    };
inline constexpr AltitudeStep kStepA4[] = {{500, 600, 0.1},  {600, 700, 0.12}, {700, 800, 0.14}, {800, 850, 0.14}, {850, 900, 0.14}, {900, 1010, 0.2},  {1010, 1050, 0.21}};
inline constexpr AltitudeStep kStepB1[] = {{500, 600, 0.1},  {600, 700, 0.21}, {700, 800, 0.26}, {800, 850, 0.27}, {850, 900, 0.3},  {900, 1010, 0.31}, {1010, 1050, 0.38}};
inline constexpr AltitudeStep kStepB2[] = {{500, 600, 0.14}, {600, 700, 0.16}, {700, 800, 0.23}, {800, 850, 0.27}, {850, 900, 0.28}, {900, 1010, 0.33}, {1010, 1050, 0.35}};
inline constexpr AltitudeStep kStepB3[] = {{500, 600, 0.07}, {600, 700, 0.04}, {700, 800, 0.05}, {800, 850, 0.06}, {850, 900, 0.06}, {900, 1010, 0.06}, {1010, 1050, 0.07}};
inline constexpr AltitudeStep kStepB4[] = {{500, 600, 0.07}, {600, 700, 0.07}, {700, 800, 0.05}, {800, 850, 0.07}, {850, 900, 0.15}, {900, 1010, 0.07}, {1010, 1050, 0.11}};
// clang-format on

}  // namespace medium
