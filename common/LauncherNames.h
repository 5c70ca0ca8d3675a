// The one list of launcher vessel names, their vessel classes and the captions
// the configuration dialog shows, shared by the launchers, their dialogs and
// the launch sites. Header-only and free of host state, so every module that
// includes it gets its own copy and the rules can be tested on their own.
#pragma once

#include <cstring>
#include <string>
#include <vector>

namespace tarvik {

enum class LauncherType { Medium4, Medium42, Medium52, Medium54, Heavy, HeavyPlus };

struct LauncherTypeEntry {
    LauncherType type;
    const char* names[3];      // base name, second and third launcher of the type
    const char* classKeys[3];  // class the host creates each name from
    const char* caption;
};

// clang-format off
inline constexpr LauncherTypeEntry kLauncherTypes[] = {
    // type                     names                                          class keys                                                             caption
    {LauncherType::Medium4,   {"TarvikM4",  "TarvikM4-2",  "TarvikM4-3"},  {"tarvik/tarvikM4",  "tarvik/tarvikM4-2",  "tarvik/tarvikM4-3"},  "Tarvik Medium 4m"},
    {LauncherType::Medium42,  {"TarvikM42", "TarvikM42-2", "TarvikM42-3"}, {"tarvik/tarvikM42", "tarvik/tarvikM42-2", "tarvik/tarvikM42-3"}, "Tarvik Medium 4m2"},
    // There is no third class of this type: "TarvikM52-3" is created from the second one.
    {LauncherType::Medium52,  {"TarvikM52", "TarvikM52-2", "TarvikM52-3"}, {"tarvik/tarvikM52", "tarvik/tarvikM52-2", "tarvik/tarvikM52-2"}, "Tarvik Medium 5m2"},
    {LauncherType::Medium54,  {"TarvikM54", "TarvikM54-2", "TarvikM54-3"}, {"tarvik/tarvikM54", "tarvik/tarvikM54-2", "tarvik/tarvikM54-3"}, "Tarvik Medium 5m4"},
    {LauncherType::Heavy,     {"Tarvik",    "Tarvik-2",    "Tarvik-3"},    {"tarvik/tarvik",    "tarvik/tarvik-2",    "tarvik/tarvik-3"},    "Tarvik Heavy"},
    {LauncherType::HeavyPlus, {"TarvikHP",  "TarvikHP-2",  "TarvikHP-3"},  {"tarvik/tarvikHP",  "tarvik/tarvikHP-2",  "tarvik/tarvikHP-3"},  "Tarvik Heavy +"},
};
// clang-format on

// Launcher names are compared over this many characters.
inline constexpr std::size_t kLauncherNameCompareLength = 15;

inline bool sameLauncherName(const char* a, const char* b) {
    return std::strncmp(a, b, kLauncherNameCompareLength) == 0;
}

// The table row whose names include `name`, or null for any other vessel name.
inline const LauncherTypeEntry* findLauncherType(const char* name) {
    for (const LauncherTypeEntry& entry : kLauncherTypes)
        for (const char* candidate : entry.names)
            if (sameLauncherName(candidate, name))
                return &entry;
    return nullptr;
}

inline const LauncherTypeEntry& launcherTypeEntry(LauncherType type) {
    for (const LauncherTypeEntry& entry : kLauncherTypes)
        if (entry.type == type)
            return entry;
    return kLauncherTypes[0];  // unreachable: every type has a row
}

// The class a launcher of this name is created from, or null for a name not in the table.
inline const char* launcherClassKey(const char* name) {
    for (const LauncherTypeEntry& entry : kLauncherTypes)
        for (int i = 0; i < 3; ++i)
            if (sameLauncherName(entry.names[i], name))
                return entry.classKeys[i];
    return nullptr;
}

// The base name of the type ("TarvikM52" for "TarvikM52-2"), or null.
inline const char* launcherBaseName(const char* name) {
    const LauncherTypeEntry* entry = findLauncherType(name);
    return entry ? entry->names[0] : nullptr;
}

// The dialog caption for a launcher of this name, or null.
inline const char* launcherCaption(const char* name) {
    const LauncherTypeEntry* entry = findLauncherType(name);
    return entry ? entry->caption : nullptr;
}

// A vessel as the naming rule sees it: its name and the name of the body it orbits.
struct NamedVessel {
    std::string name;
    std::string gravityRef;
};

// The name for a new launcher of base name `base`: the base itself, or base + "-2"
// when a vessel orbiting Earth already has the base name, or base + "-3" when the
// "-2" name is taken as well. The "-3" name is not checked any further.
inline std::string nextLauncherName(const std::string& base, const std::vector<NamedVessel>& vessels) {
    auto taken = [&vessels](const std::string& name) {
        for (const NamedVessel& v : vessels)
            if (v.gravityRef == "Earth" && sameLauncherName(v.name.c_str(), name.c_str()))
                return true;
        return false;
    };
    if (!taken(base))
        return base;
    if (!taken(base + "-2"))
        return base + "-2";
    return base + "-3";
}

}  // namespace tarvik
