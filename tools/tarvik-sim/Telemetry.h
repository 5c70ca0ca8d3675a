// The telemetry CSV: the focus vessel's flight values at a fixed interval of
// simulation time, one row per sample, with a header line.
#pragma once

#include <fstream>
#include <string>

#include "sim/Simulation.h"

namespace tarviksim {

class Telemetry {
public:
    Telemetry(const std::string& path, double interval);  // throws host::InputError when it cannot write
    void sample(host::Simulation& sim);                   // a row when the next sample time has come
    void finish(host::Simulation& sim);                   // the last row, at the end of the run

private:
    void row(host::Simulation& sim);
    std::ofstream out_;
    std::string path_;
    double interval_;
    double next_ = 0;
    double last_ = -1;
};

}  // namespace tarviksim
