// What a launcher's flight lines hold while its scenario block is read,
// until the launcher is rebuilt once every line is in.
#pragma once

namespace medium {

struct SavedFlight {
    bool hasHistory = false;  // a STAGING line: the launcher is rebuilt as it flew
    double stage = 0;
    double timerMode = 0, timerCount = 0;
    double ignitionSteps = 0;
    double pairState = 0, secondPairTime = 0, spawnPending = 1;
    double separationShown = 0;
    double engines[5] = {};  // main engine, then the booster engines
    bool autopilot = false;
    double autopilotValues[10] = {};
    double roll[5] = {};
    double guidance[6] = {};
    double insertion[7] = {};
    char inputs[3][64] = {};  // what the pilot typed: target altitude, inclination and trim
};

}  // namespace medium
