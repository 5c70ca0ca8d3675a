// The payloads the configuration dialog offers, and the launchers each one
// is too large for: those fly it without a fairing.
#pragma once

#include <cstring>

namespace medium {

struct PayloadChoice {
    int button;
    const char* caption;
    const char* payloadClass;
    const char* mesh;
    double mass;  // [kg]
    const char* massFormat;
    double zOffset;
    const char* fairingField;
    int bitmap;
    const char* tooLargeFor[6];  // base names of the launchers; null ends the list
};

// clang-format off
inline constexpr PayloadChoice kPayloadChoices[] = {
    // button caption        class                  mesh              mass    format   Z offset   fairing bitmap  too large for
    {1013, "Carina",      "carina",              "carina",         6000,   "%0.2f", 0.6663311, "1",    122, {}},
    {1018, "ShuttlePB",   "ShuttlePB",           "ShuttlePB",      1250,   "%lf",   3,         "1",    125, {}},
    {1020, "MPLM",        "Mplm",                "mplm",           1800,   "%lf",   3.28,      "1",    127, {"TarvikM4", "TarvikM42"}},
    {1021, "MMU",         "vessels/nasa_mmu",    "mmu",            211.7,  "%lf",   0.6178813, "1",    126, {}},
    {1023, "DeltaGlider", "vessels/Deltaglider", "DG/Deltaglider", 24500,  "%lf",   8.04,      "0",    123, {"TarvikM4", "TarvikM42", "TarvikM52", "TarvikM54", "Tarvik", "TarvikHP"}},
    {1028, "LDEF",        "vessels/LDEF",        "LDEF",           2550,   "%lf",   5.625667,  "1",    124, {"TarvikM4", "TarvikM42", "TarvikM52", "TarvikM54"}},
    {1031, "SAT1",        "tarvik/sat1",         "Tarvik/sat1",    4500,   "%0.2f", 3.985958,  "1",    130, {"TarvikM4", "TarvikM42"}},
    {1030, "SAT2",        "tarvik/sat2",         "Tarvik/sat2",    13000,  "%0.2f", 6.512422,  "1",    129, {"TarvikM4", "TarvikM42", "TarvikM52", "TarvikM54"}},
    {1024, "SAT3",        "tarvik/sat3",         "tarvik/sat3",    3000,   "%0.2f", 2,         "1",    128, {}},
};
// clang-format on

inline const PayloadChoice* payloadChoice(int button) {
    for (const PayloadChoice& p : kPayloadChoices)
        if (p.button == button)
            return &p;
    return nullptr;
}

inline bool tooLargeFor(const PayloadChoice& p, const char* baseName) {
    for (const char* name : p.tooLargeFor)
        if (name && baseName && std::strcmp(name, baseName) == 0)
            return true;
    return false;
}

}  // namespace medium
