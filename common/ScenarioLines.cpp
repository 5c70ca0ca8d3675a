#include "ScenarioLines.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace tarvik {

const char* afterKeyPrefix(const char* line, const char* key) {
    for (; *key; ++line, ++key)
        if (!*line || std::tolower(static_cast<unsigned char>(*line)) != std::tolower(static_cast<unsigned char>(*key)))
            return nullptr;
    return line;
}

namespace {

struct KeyName {
    LauncherKey key;
    const char* name;
};

constexpr KeyName kLauncherKeys[] = {
    {LauncherKey::Payload, "PAYLOAD"},         {LauncherKey::Mesh, "MESH"},
    {LauncherKey::ZOffset, "Z_OFFSET"},        {LauncherKey::Config, "CONFIG"},
    {LauncherKey::PayloadWeight, "PLDWEIGHT"}, {LauncherKey::FairingAttached, "Fairing_attached"},
    {LauncherKey::MissionTime, "missiontime"},
};

}  // namespace

LauncherKey matchLauncherKey(const char* line, const char** rest) {
    for (const KeyName& k : kLauncherKeys)
        if (const char* after = afterKeyPrefix(line, k.name)) {
            *rest = after;
            return k.key;
        }
    return LauncherKey::None;
}

void writeLauncherLines(FILEHANDLE scn, const LauncherLines& lines) {
    auto key = [](const char* name) { return const_cast<char*>(name); };
    oapiWriteScenario_string(scn, key("PAYLOAD"), const_cast<char*>(lines.payload));
    oapiWriteScenario_string(scn, key("MESH"), const_cast<char*>(lines.mesh));
    oapiWriteScenario_float(scn, key("Z_OFFSET"), lines.zOffset);
    oapiWriteScenario_float(scn, key("CONFIG"), lines.configCode);
    oapiWriteScenario_float(scn, key("PLDWEIGHT"), lines.payloadMass);
    const double config = lines.configCode;
    if (lines.fairingAttached == 0) {
        oapiWriteScenario_int(scn, key("Fairing_attached"), 0);
    } else if (lines.fairingAttached == 1) {
        if (config == 0 || config == 1 || config == 2 || config == 4)
            oapiWriteScenario_int(scn, key("Fairing_attached"), 1);
        else if (config == 3)
            oapiWriteScenario_int(scn, key("Fairing_attached"), 0);
    }
    oapiWriteScenario_float(scn, key("missiontime"), lines.missionTime);
}

const char* afterWholeKey(const char* line, const char* key) {
    const std::size_t n = std::strlen(key);
    for (std::size_t i = 0; i < n; ++i)
        if (std::toupper(static_cast<unsigned char>(line[i])) != key[i])
            return nullptr;
    if (line[n] != '\0' && line[n] != ' ' && line[n] != '\t' && line[n] != '\r')
        return nullptr;
    return line + n;
}

void readNumbers(const char* text, double* values, bool* has, int count) {
    for (int i = 0; i < count; ++i) {
        char* end = nullptr;
        const double v = std::strtod(text, &end);
        if (end == text)
            return;
        if (std::isfinite(v)) {
            values[i] = v;
            if (has)
                has[i] = true;
        }
        text = end;
    }
}

void formatNumbers(char* text, std::size_t size, const double* values, int count) {
    if (size == 0)
        return;
    text[0] = '\0';
    std::size_t used = 0;
    for (int i = 0; i < count && used < size; ++i) {
        const int n = std::snprintf(text + used, size - used, i ? " %.17g" : "%.17g", values[i]);
        if (n < 0)
            return;
        used += static_cast<std::size_t>(n);
    }
}

void writeNumbers(FILEHANDLE scn, const char* key, const double* values, int count) {
    char text[512];
    formatNumbers(text, sizeof text, values, count);
    oapiWriteScenario_string(scn, const_cast<char*>(key), text);
}

}  // namespace tarvik
