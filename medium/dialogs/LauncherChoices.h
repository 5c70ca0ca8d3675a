// The launcher types the configuration dialog offers, with the figures it
// shows for each and the payload each one carries by default.
#pragma once

#include <cstring>

namespace medium {

struct LauncherChoice {
    int button;
    const char* caption;
    const char* baseName;
    int launcherBitmap;
    double fairingMass;  // [kg]
    double payloadZOffset;
    double payloadMass;  // [kg]
    const char* payloadClass;
    const char* payloadMesh;
    const char* launchThrust;
    const char* upperStageThrust;
    const char* description;
    int payloadBitmap;
};

// clang-format off
inline constexpr LauncherChoice kLauncherChoices[] = {
    // button caption           base name    bitmap fairing Z offset  weight  payload        mesh           launch thrust  2nd stage   description                        payload bitmap
    {1011, "Tarvik M 4",    "TarvikM4",  107, 700,  2,        3000,  "tarvik/sat3", "tarvik/sat3", "2,891 kN",  "110.1 kN", "Tarvik Medium 4m",                 128},
    {1014, "Tarvik M4,2",   "TarvikM42", 108, 700,  2,        3000,  "tarvik/sat3", "tarvik/sat3", "4,359 kN",  "110.1 kN", "Tarvik Medium 4m  -  2 GEM",       128},
    {1015, "Tarvik M 5,2",  "TarvikM52", 110, 1000, 3.985958, 4500,  "tarvik/sat1", "tarvik/sat1", "4,359 kN",  "110.1 kN", "Tarvik Medium 5m  -  2 GEM",       130},
    {1016, "Tarvik M 5.4",  "TarvikM54", 111, 1000, 3.985958, 4500,  "tarvik/sat1", "tarvik/sat1", "5,827 kN",  "110.1 kN", "Tarvik Medium 5m  -  4 GEM",       130},
    {1017, "Tarvik Heavy",  "Tarvik",    112, 1000, 6.512422, 13000, "tarvik/sat2", "Tarvik/sat2", "8,673 kN",  "110.1 kN", "Tarvik Heavy  -  2 CBC",           129},
    {1019, "Tarvik Heavy+", "TarvikHP",  120, 1000, 6.512422, 13000, "tarvik/sat2", "Tarvik/sat2", "13,077 kN", "200.1 kN", "Tarvik Heavy  -  2 CBC - 6 GEM",   129},
};
// clang-format on

// The row of a base name, or null.
inline const LauncherChoice* launcherChoice(const char* baseName) {
    for (const LauncherChoice& c : kLauncherChoices)
        if (baseName && std::strcmp(c.baseName, baseName) == 0)
            return &c;
    return nullptr;
}

inline const LauncherChoice* launcherChoiceOfButton(int button) {
    for (const LauncherChoice& c : kLauncherChoices)
        if (c.button == button)
            return &c;
    return nullptr;
}

}  // namespace medium
