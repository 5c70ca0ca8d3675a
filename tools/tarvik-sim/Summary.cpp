#include "Summary.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "DispersionRecord.h"
#include "FlightValues.h"
#include "sim/Module.h"
#include "window/Dialogs.h"

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

// `value` with `decimals` decimals for a person to read: no "-0.0", and
// "none" for what is not finite.
std::string fixed(double value, int decimals) {
    if (!std::isfinite(value))
        return "none";
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    std::string s = text;
    if (s[0] == '-' && s.find_first_not_of("-0.") == std::string::npos)
        s.erase(0, 1);
    return s;
}

}  // namespace

nlohmann::ordered_json dialogSummary() {
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (HWND d : host::openDialogs()) {
        std::vector<int> ids = host::controlIds(d);
        std::erase(ids, -1);
        std::sort(ids.begin(), ids.end());
        ids.erase(std::unique(ids.begin(), ids.end()), ids.end());

        nlohmann::ordered_json controls = nlohmann::ordered_json::object();
        nlohmann::ordered_json entries = nlohmann::ordered_json::object();
        nlohmann::ordered_json checked = nlohmann::ordered_json::array();
        for (int id : ids) {
            const std::string key = std::to_string(id);
            // A drop-down list shows its selected entry, as the pilot sees it.
            const std::vector<std::string> items = host::comboItems(d, id);
            const int selected = host::comboSelection(d, id);
            controls[key] =
                selected >= 0 && selected < static_cast<int>(items.size()) ? items[selected] : host::controlText(d, id);
            if (!items.empty())
                entries[key] = items;
            if (host::controlChecked(d, id))
                checked.push_back(id);
        }
        const host::Module* module = host::dialogModule(d);
        list.push_back({
            {"id", host::dialogId(d)},
            {"module", module ? nlohmann::ordered_json(module->name()) : nlohmann::ordered_json(nullptr)},
            {"caption", host::dialogCaption(d)},
            {"controls", controls},
            {"entries", entries},
            {"checked", checked},
        });
    }
    return list;
}

std::string orbitLine(host::Simulation& sim) {
    host::VesselData* v = sim.focus();
    if (!v)
        return "no vessel has the focus";
    const FlightValues f = flightValues(sim, *v);
    std::string line = v->name + ": ";
    if (f.landed)
        line += "stands on the ground";
    else
        line += "apoapsis " + fixed(f.apoapsisAlt, 1) + " km, periapsis " + fixed(f.periapsisAlt, 1) +
                " km, inclination " + fixed(f.inclination, 2) + " deg";
    return line + ", propellant " + fixed(f.propellant, 0) + " kg";
}

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
    // A text of blanks is how a module clears its note from the screen.
    for (const auto& a : sim.annotations())
        if (a->text.find_first_not_of(" \t") != std::string::npos)
            notes.push_back(a->text);
    j["annotations"] = notes;
    j["dialogs"] = dialogSummary();
    if (const host::Dispersion* d = sim.dispersion())
        j["dispersion"] = dispersionJson(*d);
    return j;
}

std::string summaryText(host::Simulation& sim) {
    return summary(sim).dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

}  // namespace tarviksim
