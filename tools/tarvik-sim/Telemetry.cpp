#include "Telemetry.h"

#include <cmath>
#include <cstdio>
#include <utility>

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

// One number as printf writes it; the buffer holds the longest a double gives.
std::string number(const char* format, double value) {
    char text[400];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

}  // namespace

Telemetry::Telemetry(const std::string& path, double interval, const std::string& within)
    : file_(path, "telemetry file", within), out_(file_.stream()), path_(path), interval_(interval) {
    out_ << "time_s,focus,altitude_m,airspeed_ms,pitch_deg,heading_deg,apoapsis_alt_km,periapsis_alt_km,"
            "inclination_deg,mass_kg,propellant_kg,main_level,latitude_deg,longitude_deg,flight_path_deg,orbital_speed_ms\n";
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
    file_.finish();
}

void Telemetry::commit() {
    file_.commit();
}

void Telemetry::row(host::Simulation& sim) {
    host::VesselData* focus = sim.focus();
    if (!focus)
        return;
    FlightValues f = flightValues(sim, *focus);
    // Field by field, so that neither a long name nor a huge number cuts the row short.
    std::string line = number("%.3f", sim.simTime());
    line += ',';
    line += csvField(focus->name);
    const std::pair<const char*, double> fields[] = {
        {"%.3f", f.altitude},    {"%.3f", f.airspeed},   {"%.3f", f.pitch},        {"%.3f", f.heading},
        {"%.3f", f.apoapsisAlt}, {"%.3f", f.periapsisAlt}, {"%.3f", f.inclination}, {"%.3f", f.mass},
        {"%.3f", f.propellant},  {"%.4f", f.mainLevel},  {"%.5f", f.latitude},     {"%.5f", f.longitude},
        {"%.3f", f.flightPath},  {"%.3f", f.orbitalSpeed}};
    for (const auto& [format, value] : fields) {
        line += ',';
        line += number(format, value);
    }
    line += '\n';
    out_ << line;
    last_ = sim.simTime();
}

}  // namespace tarviksim
