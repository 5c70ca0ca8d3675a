#include "Telemetry.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "FixedText.h"
#include "FlightValues.h"

namespace tarviksim {

namespace {

constexpr double timeSlack = 1e-6;  // frame times add up to a sample time only within rounding

// A CSV field: quoted when the name holds a comma, a quote or a line break.
void appendCsvField(std::string& line, const std::string& s) {
    if (s.find_first_of(",\"\n") == std::string::npos) {
        line += s;
        return;
    }
    line += '"';
    for (char c : s) {
        if (c == '"')
            line += '"';
        line += c;
    }
    line += '"';
}

// One number as printf's "%.Nf" writes it; the buffer holds the longest a double gives.
void appendNumber(std::string& line, double value, int decimals) {
    char text[400];
    const size_t length = tarvik::fixedText(text, value, decimals);
    line.append(text, std::min(length, sizeof text - 1));
}

}  // namespace

Telemetry::Telemetry(const std::string& path, double interval, const std::string& within)
    : file_(path, "telemetry file", within), out_(file_.stream()), path_(path), interval_(interval) {
    out_ << "time_s,focus,altitude_m,airspeed_ms,pitch_deg,heading_deg,apoapsis_alt_km,periapsis_alt_km,"
            "inclination_deg,mass_kg,propellant_kg,main_level,latitude_deg,longitude_deg,flight_path_deg,orbital_speed_"
            "ms\n";
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
    // Field by field, so that neither a long name nor a huge number cuts the
    // row short; the line's buffer is kept from row to row.
    line_.clear();
    appendNumber(line_, sim.simTime(), 3);
    line_ += ',';
    appendCsvField(line_, focus->name);
    const std::pair<int, double> fields[] = {
        {3, f.altitude},     {3, f.airspeed},    {3, f.pitch},      {3, f.heading},     {3, f.apoapsisAlt},
        {3, f.periapsisAlt}, {3, f.inclination}, {3, f.mass},       {3, f.propellant},  {4, f.mainLevel},
        {5, f.latitude},     {5, f.longitude},   {3, f.flightPath}, {3, f.orbitalSpeed}};
    for (const auto& [decimals, value] : fields) {
        line_ += ',';
        appendNumber(line_, value, decimals);
    }
    line_ += '\n';
    out_ << line_;
    last_ = sim.simTime();
}

}  // namespace tarviksim
