// The telemetry CSV: the focus vessel's flight values at a fixed interval of
// simulation time, one row per sample, with a header line.
#pragma once

#include <ostream>
#include <string>

#include "sim/FileIO.h"
#include "sim/Simulation.h"

namespace tarviksim {

class Telemetry {
public:
    // The rows go to a temporary file until commit(), as host::OutputFile
    // does (inside `within`, as it takes it); throws host::InputError when
    // the file cannot be written there.
    Telemetry(const std::string& path, double interval, const std::string& within = "");
    void sample(host::Simulation& sim);  // a row when the next sample time has come
    void finish(host::Simulation& sim);  // the last row, at the end of the run; throws when a write failed
    void commit();                       // the file takes its name

private:
    void row(host::Simulation& sim);
    host::OutputFile file_;
    std::ostream& out_;
    std::string path_;
    double interval_;
    double next_ = 0;
    double last_ = -1;
    std::string line_;  // the row being written
};

}  // namespace tarviksim
