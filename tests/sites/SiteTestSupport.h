// Helpers for the launch pads' tests: a pad standing in a scenario written on
// the fly, stand-in launchers (a passive class the test gives a main engine),
// and what the host records about the pad read back as a pilot would see it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "physics/Physics.h"
#include "sim/Simulation.h"

namespace sitetest {

enum class Pad { West, East };

// Where each effect sits in the pad's thruster list (creation order).
struct PadLayout {
    const char* name;      // vessel name, also the focus signal
    const char* classKey;  // "tarvik/sitewest"
    const char* position;  // scenario POS line
    const char* heading;
    int vents[5];
    int cloud, secondCloud, floodlight, flare, towerLight;  // -1: the pad has none
    double nightMjd, dayMjd;
};
const PadLayout& layout(Pad pad);

// A pad with stand-in launchers of class "test/launcher" standing on it. Each
// test process writes its own data folder: the shipped pad classes and the
// stand-in class.
class PadWorld {
public:
    explicit PadWorld(Pad pad, std::vector<std::string> launchersOnPad = {}, double mjd = 0);
    ~PadWorld();

    host::Simulation& sim() { return *sim_; }
    host::VesselData& site();
    host::VesselData& vessel(const std::string& name);
    const PadLayout& pad() const { return layout_; }

    double level(int thruster);  // 0 for an effect the pad lacks
    std::vector<double> vents();
    double animation(int index);

    void steps(int n);
    // The launchers' signal: the input focus handed to the pad vessel.
    void focusRequest();
    std::string focusName();

    // A stand-in launcher in free flight, offset from the pad in the global frame.
    host::VesselData& addLauncher(const std::string& name, const VECTOR3& offset);
    // A stand-in launcher standing on the pad.
    host::VesselData& standOnPad(const std::string& name);
    void holdAt(host::VesselData& v, const VECTOR3& offsetFromPad);
    // Puts a vessel at exactly this altitude, moving with the air, so its airspeed is 0.
    void placeAtAltitude(host::VesselData& v, double altitude);
    // A main engine of this thrust-to-weight ratio (group THGROUP_MAIN), at level 0.
    void addMainEngine(host::VesselData& v, double thrustToWeight);

private:
    const PadLayout& layout_;
    std::string dataDir_;
    std::unique_ptr<host::Simulation> sim_;
};

}  // namespace sitetest
