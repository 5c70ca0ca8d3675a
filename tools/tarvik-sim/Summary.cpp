#include "Summary.h"

#include <cmath>

#include "FlightValues.h"

namespace tarviksim {

namespace {

// Rounded to `decimals`; not-a-number and infinities (an escape orbit's
// apoapsis) become null.
nlohmann::ordered_json rounded(double value, int decimals = 3) {
    if (!std::isfinite(value))
        return nullptr;
    double scale = std::pow(10.0, decimals);
    double r = std::round(value * scale) / scale;
    return r == 0 ? 0.0 : r;  // no "-0"
}

}  // namespace

nlohmann::ordered_json summary(host::Simulation& sim) {
    nlohmann::ordered_json j;
    j["sim_time"] = rounded(sim.elapsedTime());
    j["mjd"] = rounded(sim.mjd(), 6);
    j["focus"] = sim.focus() ? nlohmann::ordered_json(sim.focus()->name) : nlohmann::ordered_json(nullptr);

    nlohmann::ordered_json vessels = nlohmann::ordered_json::array();
    for (const auto& v : sim.vessels()) {
        if (v->pendingDelete)
            continue;
        FlightValues f = flightValues(sim, *v);
        vessels.push_back({
            {"name", v->name},
            {"class", v->className},
            {"landed", f.landed},
            {"altitude_m", rounded(f.altitude)},
            {"airspeed_ms", rounded(f.airspeed)},
            {"apoapsis_alt_km", rounded(f.apoapsisAlt)},
            {"periapsis_alt_km", rounded(f.periapsisAlt)},
            {"inclination_deg", rounded(f.inclination)},
            {"mass_kg", rounded(f.mass)},
            {"propellant_kg", rounded(f.propellant)},
        });
    }
    j["vessels"] = vessels;

    nlohmann::ordered_json notes = nlohmann::ordered_json::array();
    for (const auto& a : sim.annotations())
        if (!a->text.empty())
            notes.push_back(a->text);
    j["annotations"] = notes;
    return j;
}

}  // namespace tarviksim
