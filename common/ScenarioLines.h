// Reading and writing a launcher's own lines of a scenario: the key at the
// start of a line, and lines of numbers. Nothing here allocates.
#pragma once

#include <cstddef>

#include "Orbitersdk.h"

namespace tarvik {

// The text after `key` when the line starts with it in any letter case, or
// null. The key may run straight on into its value or into a longer word:
// "CONFIG4" and "CONFIGURATION 4" both give a CONFIG line.
const char* afterKeyPrefix(const char* line, const char* key);

// The lines both launchers write first: the payload description, the
// configuration code, the fairing flag and the mission clock.
enum class LauncherKey { Payload, Mesh, ZOffset, Config, PayloadWeight, FairingAttached, MissionTime, None };

// The key the line starts with, matched by afterKeyPrefix in the order
// PAYLOAD, MESH, Z_OFFSET, CONFIG, PLDWEIGHT, Fairing_attached, missiontime;
// `rest` is the text after it.
LauncherKey matchLauncherKey(const char* line, const char** rest);

struct LauncherLines {
    const char* payload;  // class, also the payload's vessel name once released
    const char* mesh;
    double zOffset, configCode, payloadMass;
    double fairingAttached;  // 0 or 1; any other value writes no fairing line
    double missionTime;
};

// Writes those lines in that order. The fairing goes as gone once it has
// been dropped (configuration 3, whatever the flag says) and is not written
// for the spent stage (configuration 5).
void writeLauncherLines(FILEHANDLE scn, const LauncherLines& lines);

// The text after `key` when the line starts with the whole key, in any
// letter case, followed by the end of the line, a blank or a tab (or a
// carriage return); otherwise null. `key` is written in capitals.
const char* afterWholeKey(const char* line, const char* key);

// Reads up to `count` numbers from `text`, stopping at the first word that
// is not one. A finite number is stored in `values[i]` (and `has[i]` set
// when `has` is given); one that is not finite leaves its place as it was.
void readNumbers(const char* text, double* values, bool* has, int count);

// The numbers in full precision ("%.17g"), one blank apart, cut to fit.
void formatNumbers(char* text, std::size_t size, const double* values, int count);

// A line "KEY numbers ..." of the scenario being saved.
void writeNumbers(FILEHANDLE scn, const char* key, const double* values, int count);

}  // namespace tarvik
