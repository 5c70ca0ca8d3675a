#include "Telemetry.h"

#include <cmath>
#include <cstdio>

#include "FlightValues.h"

namespace tarviksim {

namespace {

constexpr double timeSlack = 1e-6;  // frame times add up to a sample time only within rounding

// A CSV field: quoted when the name holds a comma or a quote.
std::string csvField(const std::string& s) {
    if (s.find_first_of(",\"\n") == std::string::npos)
        return s;
    std::string quoted = "\"";
    for (char c : s)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

}  // namespace

Telemetry::Telemetry(const std::string& path, double interval) : out_(path), path_(path), interval_(interval) {
    if (!out_)
        throw host::InputError(path, 0, "cannot write the telemetry file");
    out_ << "time_s,focus,altitude_m,airspeed_ms,pitch_deg,heading_deg,apoapsis_alt_km,periapsis_alt_km,"
            "inclination_deg,mass_kg,propellant_kg,main_level\n";
}

void Telemetry::sample(host::Simulation& sim) {
    double t = sim.simTime();
    if (t + timeSlack < next_)
        return;
    row(sim);
    next_ =
        (std::floor(t / interval_ + timeSlack) + 1) * interval_;  // samples missed under time acceleration are skipped
}

void Telemetry::finish(host::Simulation& sim) {
    if (sim.simTime() != last_)
        row(sim);
    out_.flush();
}

void Telemetry::row(host::Simulation& sim) {
    host::VesselData* focus = sim.focus();
    if (!focus)
        return;
    FlightValues f = flightValues(sim, *focus);
    char line[512];
    std::snprintf(line, sizeof line, "%.3f,%s,%.3f,%.3f,%.3f,%.3f,%.3f,%.3f,%.3f,%.3f,%.3f,%.4f\n", sim.simTime(),
                  csvField(focus->name).c_str(), f.altitude, f.airspeed, f.pitch, f.heading, f.apoapsisAlt,
                  f.periapsisAlt, f.inclination, f.mass, f.propellant, f.mainLevel);
    out_ << line;
    last_ = sim.simTime();
}

}  // namespace tarviksim
