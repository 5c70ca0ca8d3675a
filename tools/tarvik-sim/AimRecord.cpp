#include "AimRecord.h"

#include <cmath>
#include <cstdio>
#include <ostream>
#include <stdexcept>

#include "ReadoutText.h"

namespace tarviksim {

namespace {

// Three decimals, as the rest of the report has its numbers.
nlohmann::ordered_json number(double value) {
    if (!std::isfinite(value))
        return nullptr;
    const double r = std::round(value * 1000) / 1000;
    return r == 0 ? 0.0 : r;
}

nlohmann::ordered_json number(const std::optional<double>& value) {
    return value ? number(*value) : nlohmann::ordered_json(nullptr);
}

std::optional<double> optionalAt(const nlohmann::json& j, const char* key) {
    const auto it = j.find(key);
    if (it == j.end() || it->is_null())
        return std::nullopt;
    if (!it->is_number())
        throw std::runtime_error(std::string("'") + key + "' is not a number");
    return it->get<double>();
}

double numberAt(const nlohmann::json& j, const char* key) {
    return optionalAt(j, key).value_or(NAN);
}

std::string textAt(const nlohmann::json& j, const char* key) {
    const auto it = j.find(key);
    if (it == j.end() || it->is_null())
        return "";
    if (!it->is_string())
        throw std::runtime_error(std::string("'") + key + "' is not a text");
    return it->get<std::string>();
}

std::string fixed(double value, int decimals, bool sign = false) {
    return roundedText(value, decimals, sign, "none");
}

std::string fixed(const std::optional<double>& value, int decimals, const char* none = "-") {
    return value ? fixed(*value, decimals) : std::string(none);
}

}  // namespace

nlohmann::ordered_json planeJson(const PlaneRecord& p) {
    return {
        {"target", p.target.empty() ? nlohmann::ordered_json(nullptr) : nlohmann::ordered_json(p.target)},
        {"target_inclination_deg", number(p.targetPlane.inclination)},
        {"target_ascending_node_deg", number(p.targetPlane.ascendingNode)},
        {"pass", p.descending ? "descending" : "ascending"},
        {"pass_time_s", number(p.passTime)},
        {"launch_time_s", number(p.launchTime)},
        {"launch_utc", p.launchUtc},
        {"ascending_node_deg", number(p.ascendingNode)},
        {"relative_inclination_deg", number(p.relativeInclination)},
    };
}

PlaneRecord planeFromJson(const nlohmann::json& j) {
    if (!j.is_object())
        throw std::runtime_error("'plane' is not an object");
    PlaneRecord p;
    p.target = textAt(j, "target");
    p.targetPlane.inclination = numberAt(j, "target_inclination_deg");
    p.targetPlane.ascendingNode = numberAt(j, "target_ascending_node_deg");
    p.descending = textAt(j, "pass") == "descending";
    p.passTime = numberAt(j, "pass_time_s");
    p.launchTime = numberAt(j, "launch_time_s");
    p.launchUtc = textAt(j, "launch_utc");
    p.ascendingNode = numberAt(j, "ascending_node_deg");
    p.relativeInclination = numberAt(j, "relative_inclination_deg");
    return p;
}

nlohmann::ordered_json aimJson(const AimRecord& a) {
    nlohmann::ordered_json flights = nlohmann::ordered_json::array();
    for (const AimFlight& f : a.flights)
        flights.push_back({
            {"flight", f.number},
            {"correction_deg", number(f.correction)},
            {"launch_time_s", number(f.launchTime)},
            {"outcome", f.outcome},
            {"cutoff_inclination_deg", number(f.cutoffInclination)},
            {"inclination_deg", number(f.inclination)},
            {"apoapsis_km", number(f.apoapsis)},
            {"periapsis_km", number(f.periapsis)},
            {"propellant_kg", number(f.propellant)},
            {"ascending_node_deg", number(f.ascendingNode)},
            {"relative_inclination_deg", number(f.relativeInclination)},
            {"root", f.root},
        });
    return {
        {"tolerance_deg", a.tolerance},
        {"flights", flights},
        {"chosen_flight", a.chosen},
        {"within", a.within},
        {"stop", a.stop},
        {"reason", a.reason},
        {"correction", a.correctionText},
    };
}

AimRecord aimFromJson(const nlohmann::json& j) {
    if (!j.is_object())
        throw std::runtime_error("'aim' is not an object");
    AimRecord a;
    a.tolerance = numberAt(j, "tolerance_deg");
    if (const auto fl = j.find("flights"); fl != j.end() && fl->is_array())
        for (const nlohmann::json& e : *fl) {
            if (!e.is_object())
                throw std::runtime_error("a flight of 'aim' is not an object");
            AimFlight f;
            f.number = static_cast<int>(numberAt(e, "flight"));
            f.correction = optionalAt(e, "correction_deg");
            f.launchTime = optionalAt(e, "launch_time_s");
            f.outcome = textAt(e, "outcome");
            f.cutoffInclination = optionalAt(e, "cutoff_inclination_deg");
            f.inclination = numberAt(e, "inclination_deg");
            f.apoapsis = numberAt(e, "apoapsis_km");
            f.periapsis = numberAt(e, "periapsis_km");
            f.propellant = numberAt(e, "propellant_kg");
            f.ascendingNode = optionalAt(e, "ascending_node_deg");
            f.relativeInclination = optionalAt(e, "relative_inclination_deg");
            f.root = textAt(e, "root");
            a.flights.push_back(f);
        }
    const double chosen = numberAt(j, "chosen_flight");
    a.chosen = std::isfinite(chosen) ? static_cast<int>(chosen) : 0;
    a.within = j.value("within", false);
    a.stop = textAt(j, "stop");
    a.reason = textAt(j, "reason");
    a.correctionText = textAt(j, "correction");
    return a;
}

void printPlane(const PlaneRecord& p, double inclination, std::ostream& out) {
    char line[200];
    const std::string whose = p.target.empty() ? std::string("the plane given") : "the plane of " + p.target;
    out << '\n';
    std::snprintf(line, sizeof line, "%-26s inclination %8s deg, ascending node %8s deg\n", (whose + ":").c_str(),
                  fixed(p.targetPlane.inclination, 3).c_str(), fixed(p.targetPlane.ascendingNode, 3).c_str());
    out << line;
    std::snprintf(line, sizeof line, "%-26s inclination %8s deg, ascending node %8s deg\n", "reached:",
                  fixed(inclination, 3).c_str(), fixed(p.ascendingNode, 3).c_str());
    out << line;
    out << "relative inclination:      " << fixed(p.relativeInclination, 3) << " deg\n";
    out << "LAUNCH pressed:            " << p.launchUtc << ", " << fixed(p.launchTime, 1)
        << " s after the scenario start\n";
    out << "pad under the plane:       " << fixed(p.passTime, 1) << " s after the start, heading "
        << (p.descending ? "south (descending node)" : "north (ascending node)") << '\n';
}

void printAim(const AimRecord& a, const PlaneRecord* plane, std::ostream& out) {
    out << "\naimed in " << a.flights.size() << (a.flights.size() == 1 ? " flight" : " flights") << ": " << a.reason
        << '\n';
    // Columns right-aligned under their labels.
    struct Column {
        const char* label;
        int width;
        bool plane;  // shown for a launch into a plane only
    };
    static const Column columns[] = {
        {"flight", 6, false},      {"correction", 10, false}, {"LAUNCH at", 10, true},
        {"cut-off incl.", 13, false}, {"final incl.", 11, false}, {"asc. node", 11, true},
        {"rel. incl.", 10, true},  {"apoapsis", 9, false},    {"periapsis", 9, false},
        {"propellant", 10, false},
    };
    auto row = [&](const std::vector<std::string>& cells) {
        std::string line;
        size_t i = 0;
        for (const Column& c : columns) {
            if (c.plane && !plane)
                continue;
            std::string text = cells[i++];
            if (!line.empty())
                line += "  ";
            line += std::string(text.size() < static_cast<size_t>(c.width) ? c.width - text.size() : 0, ' ') + text;
        }
        return line;
    };
    std::vector<std::string> labels;
    for (const Column& c : columns)
        if (!c.plane || plane)
            labels.push_back(c.label);
    out << row(labels) << '\n';
    for (const AimFlight& f : a.flights) {
        std::vector<std::string> cells = {std::to_string(f.number), fixed(f.correction.value_or(0), 2) + " deg"};
        if (plane)
            cells.push_back(fixed(f.launchTime, 1) + " s");
        cells.push_back(fixed(f.cutoffInclination, 2) + " deg");
        cells.push_back(fixed(f.inclination, 3) + " deg");
        if (plane) {
            cells.push_back(fixed(f.ascendingNode, 3) + " deg");
            cells.push_back(fixed(f.relativeInclination, 3) + " deg");
        }
        cells.push_back(fixed(f.apoapsis, 1) + " km");
        cells.push_back(fixed(f.periapsis, 1) + " km");
        cells.push_back(fixed(f.propellant, 0) + " kg");
        out << row(cells);
        if (f.outcome != "complete")
            out << "  " << f.outcome;
        out << '\n';
    }
    if (a.chosen > 0 && a.chosen <= static_cast<int>(a.flights.size()))
        out << "kept: flight " << a.chosen << " (" << a.flights[a.chosen - 1].root << ")\n";
    if (a.correctionText.empty())
        out << "correction to type into \"+/-\": none found (no flight completed)\n";
    else
        out << "correction to type into \"+/-\" for these targets: " << a.correctionText
            << (plane ? ", LAUNCH at " + plane->launchUtc + " (" + fixed(plane->launchTime, 1) +
                            " s after the scenario start)"
                      : std::string())
            << '\n';
}

}  // namespace tarviksim
