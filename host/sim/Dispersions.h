// Dispersions: how far a run's launcher and air are off what the modules
// set. A dispersion file gives each uncertain value a distribution, one a
// line; a seed picks one run's draws. The host scales what the modules set
// by the drawn factors at the interface (thrust and specific impulse when an
// engine joins its group, tank loads when a tank is created, empty masses,
// drag coefficients) and the air's density where the atmosphere is
// sampled; the plug-ins do nothing of their own for it.
//
// The file, one value a line ('#' starts a comment, blank lines are skipped):
//   NAME SIGMA%           normal: the factor 1 with a 1-sigma of SIGMA percent
//   NAME LOW% HIGH%       uniform: the factor from 1+LOW% to 1+HIGH%
//   launch.delay LOW HIGH s   uniform: the pilot presses LAUNCH LOW to HIGH s later
// Each name at most once; the names are those of dispersionNames().
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace host {

// The values a dispersion file may name, in the order the records list them.
struct DispersionName {
    const char* name;
    bool seconds;  // launch.delay: a time, not a factor
    const char* what;
};
const std::vector<DispersionName>& dispersionNames();

struct DispersionLine {
    std::string name;
    bool uniform = false;
    double sigma = 0;          // normal: the 1-sigma as a fraction (0.01 for 1%)
    double low = 0, high = 0;  // uniform: fractions (-0.02 for -2%), or seconds
    int line = 0;
};

struct DispersionFile {
    std::string path;
    std::vector<DispersionLine> lines;
};

// Throws InputError(path, line, problem) for a line it cannot take.
DispersionFile parseDispersions(const std::string& text, const std::string& path);
DispersionFile readDispersions(const std::string& path);

// One run's draws. Factors are 1 and the delay 0 for names the file leaves
// out. An engine of the main thruster group flies with thrust x thrust.main
// (and isp x isp.main); an engine in no group (the solid boosters, the heavy
// launcher's side cores) with thrust x thrust.boosters; engines in other
// groups (attitude, hover) are not scaled.
struct Dispersion {
    uint64_t seed = 0;
    std::vector<double> drawn;  // one per dispersionNames() entry, as drawn

    double value(const char* name) const;
    double thrustMain() const { return value("thrust") * value("thrust.main"); }
    double thrustBoosters() const { return value("thrust") * value("thrust.boosters"); }
    double ispMain() const { return value("isp") * value("isp.main"); }
    double ispBoosters() const { return value("isp") * value("isp.boosters"); }
    double emptyMass() const { return value("mass.empty"); }
    double propellantLoad() const { return value("propellant.load"); }
    double drag() const { return value("drag"); }
    double density() const { return value("density"); }
    double launchDelay() const { return value("launch.delay"); }  // s
};

// Every factor 1, the delay 0: what a run without dispersions flies with.
Dispersion noDispersion();

// The draws of one seed. Each name draws from a stream of its own (the seed
// mixed with the name), so a line added to the file leaves the other
// values' draws as they were.
Dispersion drawDispersion(const DispersionFile& file, uint64_t seed);

// The seed of run `index` of a series seeded with `seed`.
uint64_t runSeed(uint64_t seed, uint64_t index);

// The generator the draws use: splitmix64, written out here so that the
// same seed gives the same numbers with any compiler and library.
class Random {
public:
    explicit Random(uint64_t seed) : state_(seed) {}
    uint64_t next();
    double uniform();  // [0, 1)
    double normal();   // mean 0, standard deviation 1 (the polar method)

private:
    uint64_t state_;
};

}  // namespace host
