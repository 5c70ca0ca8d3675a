#include "Report.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ostream>
#include <stdexcept>

#include "DispersionRecord.h"
#include "ReadoutText.h"

namespace tarviksim {

namespace {

struct OutcomeName {
    Outcome outcome;
    const char* name;
};
constexpr OutcomeName kOutcomeNames[] = {
    {Outcome::Complete, "complete"},           {Outcome::Refused, "refused"},
    {Outcome::NoLiftoff, "no lift-off"},       {Outcome::Crashed, "crashed"},
    {Outcome::PropellantGone, "propellant gone"}, {Outcome::LauncherLost, "launcher lost"},
    {Outcome::TimeLimit, "time limit"},       {Outcome::OutOfReach, "out of reach"},
};

std::string fixed(double value, int decimals, bool sign = false) {
    return roundedText(value, decimals, sign, "none");
}

nlohmann::ordered_json number(double value) {
    if (!std::isfinite(value))
        return nullptr;
    return rounded3(value);
}

double numberAt(const nlohmann::json& j, const char* key) {
    const auto it = j.find(key);
    if (it == j.end() || it->is_null())
        return NAN;
    if (!it->is_number())
        throw std::runtime_error(std::string("'") + key + "' is not a number");
    return it->get<double>();
}

std::string textAt(const nlohmann::json& j, const char* key) {
    const auto it = j.find(key);
    if (it == j.end() || it->is_null())
        return "";
    if (!it->is_string())
        throw std::runtime_error(std::string("'") + key + "' is not a text");
    return it->get<std::string>();
}

const nlohmann::json& objectAt(const nlohmann::json& j, const char* key) {
    const auto it = j.find(key);
    if (it == j.end() || !it->is_object())
        throw std::runtime_error(std::string("no '") + key + "' object");
    return *it;
}

// "3136.9 s (52 min 17 s)"
std::string duration(double seconds) {
    std::string s = fixed(seconds, 1) + " s";
    if (seconds >= 60) {
        const long whole = std::lround(seconds);
        char text[64];
        if (whole >= 3600)
            std::snprintf(text, sizeof text, " (%ld h %02ld min %02ld s)", whole / 3600, whole / 60 % 60, whole % 60);
        else
            std::snprintf(text, sizeof text, " (%ld min %02ld s)", whole / 60, whole % 60);
        s += text;
    }
    return s;
}

}  // namespace

const char* outcomeName(Outcome o) {
    for (const OutcomeName& n : kOutcomeNames)
        if (n.outcome == o)
            return n.name;
    return "?";
}

std::optional<Outcome> outcomeNamed(const std::string& name) {
    for (const OutcomeName& n : kOutcomeNames)
        if (name == n.name)
            return n.outcome;
    return std::nullopt;
}

double rounded3(double value) {
    const double r = std::round(value * 1000) / 1000;
    return r == 0 ? 0.0 : r;
}

double apoapsisError(const FlightReport& r) {
    return rounded3(r.apoapsis - r.targetAltitude);
}
double periapsisError(const FlightReport& r) {
    return rounded3(r.periapsis - r.targetAltitude);
}
double inclinationError(const FlightReport& r) {
    return rounded3(r.inclination - r.targetInclination);
}

std::string payloadLabel(const FlightReport& r) {
    return r.payloadName.empty() ? r.payloadClass : r.payloadName;
}

nlohmann::ordered_json reportJson(const FlightReport& r) {
    nlohmann::ordered_json j;
    j["mission"] = {
        {"launcher", r.launcher},
        {"pad", r.pad},
        {"pad_latitude_deg", r.padLatitude},
        {"altitude_km", r.targetAltitude},
        {"inclination_deg", r.targetInclination},
        {"node", r.descending ? "descending" : "ascending"},
        {"payload", {{"name", r.payloadName}, {"class", r.payloadClass}, {"mass_kg", r.payloadMass}}},
        {"correction_deg", r.correction ? nlohmann::ordered_json(*r.correction) : nlohmann::ordered_json(nullptr)},
    };
    if (r.dispersion) {
        nlohmann::ordered_json d = {{"file", r.dispersionFile}};
        d.update(dispersionJson(*r.dispersion));
        j["dispersion"] = d;
    }
    j["outcome"] = outcomeName(r.outcome);
    j["reason"] = r.reason;
    const bool flown = r.outcome != Outcome::Refused;
    if (flown) {
        j["achieved"] = {{"apoapsis_km", number(r.apoapsis)},
                         {"periapsis_km", number(r.periapsis)},
                         {"inclination_deg", number(r.inclination)}};
        j["errors"] = {{"apoapsis_km", number(apoapsisError(r))},
                       {"periapsis_km", number(periapsisError(r))},
                       {"inclination_deg", number(inclinationError(r))}};
        j["suggested_correction"] = r.correctionText;
        j["suggested_correction_deg"] = r.suggestedCorrection ? nlohmann::ordered_json(*r.suggestedCorrection)
                                                              : nlohmann::ordered_json(nullptr);
        j["propellant_kg"] = number(r.propellant);
        j["cutoff_inclination_deg"] = r.cutoffInclination ? number(*r.cutoffInclination) : nullptr;
        j["lifted_off"] = r.liftedOff;
        j["liftoff_sim_time_s"] = number(r.liftoffTime);
        j["mission_time_s"] = number(r.missionTime());
        j["sim_time_s"] = number(r.endTime);
        j["coast_warp"] = r.coastWarp;
        nlohmann::ordered_json timeline = nlohmann::ordered_json::array();
        for (const TimelineEvent& e : r.timeline)
            timeline.push_back({{"mission_time_s", number(e.missionTime)},
                                {"event", e.what},
                                {"kind", e.kind},
                                {"latitude_deg", number(e.latitude)},
                                {"longitude_deg", number(e.longitude)}});
        j["timeline"] = timeline;
        j["stages"] = stagesJson(r.stages);
        j["delta_v_total_ms"] = number(totalDeltaV(r.stages));
        if (r.plane)
            j["plane"] = planeJson(*r.plane);
    }
    if (r.aim)
        j["aim"] = aimJson(*r.aim);
    nlohmann::ordered_json outputs = nlohmann::ordered_json::object();
    for (const auto& [what, path] : r.outputs)
        outputs[what] = path;
    j["outputs"] = outputs;
    j["plots"] = r.plots;
    return j;
}

std::string reportText(const FlightReport& r) {
    return reportJson(r).dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

FlightReport reportFromJson(const nlohmann::json& j) {
    if (!j.is_object())
        throw std::runtime_error("not a JSON object");
    FlightReport r;
    const nlohmann::json& m = objectAt(j, "mission");
    r.launcher = textAt(m, "launcher");
    r.pad = textAt(m, "pad");
    r.padLatitude = numberAt(m, "pad_latitude_deg");
    r.targetAltitude = numberAt(m, "altitude_km");
    r.targetInclination = numberAt(m, "inclination_deg");
    r.descending = textAt(m, "node") == "descending";
    const nlohmann::json& p = objectAt(m, "payload");
    r.payloadName = textAt(p, "name");
    r.payloadClass = textAt(p, "class");
    r.payloadMass = numberAt(p, "mass_kg");
    const double correction = numberAt(m, "correction_deg");
    if (std::isfinite(correction))
        r.correction = correction;

    const std::optional<Outcome> outcome = outcomeNamed(textAt(j, "outcome"));
    if (!outcome)
        throw std::runtime_error("unknown outcome '" + textAt(j, "outcome") + "'");
    r.outcome = *outcome;
    r.reason = textAt(j, "reason");
    if (const auto d = j.find("dispersion"); d != j.end() && !d->is_null()) {
        r.dispersion = dispersionFromJson(*d);
        r.dispersionFile = textAt(*d, "file");
    }
    if (r.outcome != Outcome::Refused) {
        const nlohmann::json& a = objectAt(j, "achieved");
        r.apoapsis = numberAt(a, "apoapsis_km");
        r.periapsis = numberAt(a, "periapsis_km");
        r.inclination = numberAt(a, "inclination_deg");
        r.correctionText = textAt(j, "suggested_correction");
        const double suggested = numberAt(j, "suggested_correction_deg");
        if (std::isfinite(suggested))
            r.suggestedCorrection = suggested;
        r.propellant = numberAt(j, "propellant_kg");
        if (const double cutoff = numberAt(j, "cutoff_inclination_deg"); std::isfinite(cutoff))
            r.cutoffInclination = cutoff;
        r.liftedOff = j.value("lifted_off", false);
        r.liftoffTime = numberAt(j, "liftoff_sim_time_s");
        r.endTime = numberAt(j, "sim_time_s");
        r.coastWarp = numberAt(j, "coast_warp");
        if (const auto t = j.find("timeline"); t != j.end() && t->is_array())
            for (const nlohmann::json& e : *t) {
                TimelineEvent ev;
                ev.missionTime = numberAt(e, "mission_time_s");
                ev.what = textAt(e, "event");
                ev.kind = textAt(e, "kind");
                ev.latitude = numberAt(e, "latitude_deg");
                ev.longitude = numberAt(e, "longitude_deg");
                r.timeline.push_back(ev);
            }
        if (const auto st = j.find("stages"); st != j.end())
            r.stages = stagesFromJson(*st);
        if (const auto p = j.find("plane"); p != j.end() && !p->is_null())
            r.plane = planeFromJson(*p);
    }
    if (const auto a = j.find("aim"); a != j.end() && !a->is_null())
        r.aim = aimFromJson(*a);
    if (const auto o = j.find("outputs"); o != j.end() && o->is_object())
        for (const auto& [what, path] : o->items())
            if (path.is_string())
                r.outputs.emplace_back(what, path.get<std::string>());
    if (const auto p2 = j.find("plots"); p2 != j.end() && p2->is_array())
        for (const nlohmann::json& path : *p2)
            if (path.is_string())
                r.plots.push_back(path.get<std::string>());
    return r;
}

void printReport(const FlightReport& r, std::ostream& out) {
    out << r.launcher << " from " << r.pad << " to " << fixed(r.targetAltitude, 1) << " km at "
        << fixed(r.targetInclination, 2) << " deg (" << (r.descending ? "descending" : "ascending")
        << " node), payload " << payloadLabel(r) << " " << fixed(r.payloadMass, 0) << " kg";
    if (r.correction)
        out << ", correction " << fixed(*r.correction, 2) << " deg";
    out << '\n';
    if (r.dispersion)
        out << "dispersed:   " << dispersionLine(*r.dispersion, r.dispersionFile) << '\n';
    if (r.outcome == Outcome::Complete)
        out << "outcome:     Autopilot Complete at mission time " << duration(r.missionTime()) << '\n';
    else
        out << "outcome:     " << outcomeName(r.outcome) << ": " << r.reason << '\n';
    if (r.outcome == Outcome::Refused)
        return;

    out << "\n             target      reached     error\n";
    auto row = [&](const char* what, double target, double reached, double error, int decimals, const char* unit) {
        char line[160];
        std::snprintf(line, sizeof line, "%-12s %8s %-3s %8s %-3s %8s %s\n", what, fixed(target, decimals).c_str(), unit,
                      fixed(reached, decimals).c_str(), unit, fixed(error, decimals, true).c_str(), unit);
        out << line;
    };
    row("apoapsis", r.targetAltitude, r.apoapsis, apoapsisError(r), 1, "km");
    row("periapsis", r.targetAltitude, r.periapsis, periapsisError(r), 1, "km");
    // An aimed mission is judged to the hundredth of a degree: its inclination shows one more decimal.
    row("inclination", r.targetInclination, r.inclination, inclinationError(r), r.aim ? 3 : 2, "deg");
    if (r.plane)
        printPlane(*r.plane, r.inclination, out);
    out << '\n';
    // An aimed mission ends with the correction to type; the dialog's own suggestion would only confuse it.
    if (!r.aim)
        out << "suggested correction (+/-): "
            << (r.suggestedCorrection ? fixed(*r.suggestedCorrection, 2) + " deg" : std::string("none (no cut-off)"))
            << '\n';
    out << "propellant left:            " << fixed(r.propellant, 0) << " kg\n";
    if (r.coastWarp > 1)
        out << "time acceleration:          " << fixed(r.coastWarp, 0) << "x while the autopilot coasted\n";
    printStageTable(r.stages, out);

    out << "\ntimeline (mission time)\n";
    for (const TimelineEvent& e : r.timeline) {
        char line[64];
        std::snprintf(line, sizeof line, "%10s s  ", fixed(e.missionTime, 1).c_str());
        out << line << e.what << '\n';
    }

    if (!r.outputs.empty()) {
        out << '\n';
        for (const auto& [what, path] : r.outputs) {
            std::string label = what + ":";
            label.resize(std::max<size_t>(label.size() + 1, 11), ' ');
            out << label << path << '\n';
        }
    }
    for (const std::string& p : r.plots)
        out << "plot:      " << p << '\n';
    if (r.aim)
        printAim(*r.aim, r.plane ? &*r.plane : nullptr, out);
}

}  // namespace tarviksim
