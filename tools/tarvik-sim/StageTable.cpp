#include "StageTable.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ostream>
#include <stdexcept>

#include "physics/Atmosphere.h"
#include "physics/Earth.h"
#include "physics/Propulsion.h"

namespace tarviksim {

namespace {

constexpr double kStandardGravity = 9.80665;  // m/s^2, for thrust-to-weight
constexpr double kSeparationSlack = 1;        // s: a part goes a step or so before the next stage's engines act

bool attitudeGroup(THGROUP_TYPE type) {
    return type >= THGROUP_ATT_PITCHUP && type <= THGROUP_ATT_BACK;
}

// Propellant a thruster drew in a step.
double drawn(const host::Thruster& t, double dt) {
    if (t.effectiveLevel <= 0 || t.ispVac <= 0 || !t.resource)
        return 0;
    const double efficiency = t.resource->efficiency > 0 ? t.resource->efficiency : 1;
    return t.effectiveLevel * t.maxThrust / (efficiency * t.ispVac) * dt;
}

double rounded(double value, double unit) {
    const double r = std::round(value / unit) * unit;
    return r == 0 ? 0.0 : r;
}

double numberAt(const nlohmann::json& j, const char* key) {
    const auto it = j.find(key);
    if (it == j.end() || !it->is_number())
        throw std::runtime_error(std::string("stage '") + key + "' is not a number");
    return it->get<double>();
}

}  // namespace

StageRecorder::Engines StageRecorder::engines(const host::VesselData& v) {
    // The engines and which thrusters the attitude groups hold change only
    // with the launcher's propulsion layout, once a stage.
    if (layoutKnown_ && v.propulsionLayout == layout_)
        return engines_;
    layoutKnown_ = true;
    layout_ = v.propulsionLayout;
    grouped_.clear();
    for (const auto& g : v.groups)
        if (attitudeGroup(g->type))
            grouped_.insert(grouped_.end(), g->thrusters.begin(), g->thrusters.end());
    std::sort(grouped_.begin(), grouped_.end());
    attitude_.clear();
    Engines e;
    // The engines: thrusters with a tank and thrust that no attitude group
    // holds. (A stage's set-up leaves the last stage's thrusters behind,
    // without their tanks and outside any group.)
    for (const auto& t : v.thrusters) {
        const bool attitude = std::binary_search(grouped_.begin(), grouped_.end(), t.get());
        attitude_.push_back(attitude ? 1 : 0);
        if (attitude || t->maxThrust <= 0 || t->ispVac <= 0 || !t->resource)
            continue;
        ++e.count;
        e.thrust += t->maxThrust;
        e.flow += t->maxThrust / t->ispVac;
    }
    engines_ = e;
    return e;
}

void StageRecorder::before(const host::VesselData& v) {
    // The host sets the engines' thrust for a whole step from the pressure at its start.
    pressure_ = host::physics::atmosphereAt(host::physics::altitudeOf(v.state.pos)).pressure;
}

void StageRecorder::after(const host::VesselData& v, double dt, double simTime) {
    const Engines e = engines(v);
    if (e.count == 0) {
        lit_ = false;
        return;
    }
    if (stages_.empty() || !(e == current_)) {
        current_ = e;
        StageRow s;
        s.ispVacuum = e.thrust / e.flow;
        stages_.push_back(s);
        ignited_ = false;
        lit_ = false;
        sinceIgnition_ = 0;
    }
    StageRow& s = stages_.back();

    VECTOR3 thrust{};
    double burnt = 0;
    for (size_t i = 0; i < v.thrusters.size(); ++i) {
        const host::Thruster& t = *v.thrusters[i];
        if (t.effectiveLevel <= 0)
            continue;  // most are off, and an idle thruster draws nothing
        burnt += drawn(t, dt);
        if (t.maxThrust <= 0)
            continue;
        if (!attitude_[i])
            thrust += host::physics::thrustVector(t, pressure_) * t.effectiveLevel;
    }
    const double force = length(thrust);
    const double massAfter = v.mass();
    const double massBefore = massAfter + burnt;
    if (ignited_)
        sinceIgnition_ += burnt;
    if (force > 0) {
        if (!ignited_) {
            ignited_ = true;
            sinceIgnition_ = burnt;
            s.ignitionTime = simTime - dt;
            s.ignitionMass = massBefore;
            s.thrustToWeight = force / (massBefore * kStandardGravity);
        }
        if (!lit_)
            ++s.burns;
        s.burnTime += dt;
        s.deltaV += force * dt / (massAfter + burnt / 2);
        s.burnoutTime = simTime;
        s.burnoutMass = massAfter;
        s.propellant = sinceIgnition_;
    }
    lit_ = force > 0;
}

void StageRecorder::separated(const std::string& kind, double simTime) {
    separations_.emplace_back(simTime, kind);
}

std::vector<StageRow> StageRecorder::rows(double liftoff) const {
    std::vector<StageRow> rows;
    for (const StageRow& s : stages_)
        if (s.burns > 0)
            rows.push_back(s);
    // Named for what the launcher let go of when each stage's burn was over.
    bool coreGone = false;
    for (size_t i = 0; i < rows.size(); ++i) {
        const double until = i + 1 < rows.size() ? rows[i + 1].ignitionTime + kSeparationSlack : 1e300;
        std::string gone;
        for (const auto& [time, kind] : separations_)
            if (time >= rows[i].ignitionTime && time <= until && (kind == "boosters" || kind == "core stage"))
                gone = kind;
        if (gone == "boosters")
            rows[i].name = "core and boosters";
        else if (gone == "core stage")
            rows[i].name = "core stage";
        else if (coreGone)
            rows[i].name = "upper stage";
        else
            rows[i].name = "stage " + std::to_string(i + 1);
        coreGone = coreGone || gone == "core stage";
    }
    for (StageRow& s : rows) {
        s.ignitionTime -= liftoff;
        s.burnoutTime -= liftoff;
    }
    return rows;
}

double totalDeltaV(const std::vector<StageRow>& stages) {
    double total = 0;
    for (const StageRow& s : stages)
        total += s.deltaV;
    return total;
}

nlohmann::ordered_json stagesJson(const std::vector<StageRow>& stages) {
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const StageRow& s : stages)
        list.push_back({{"stage", s.name},
                        {"ignition_mission_time_s", rounded(s.ignitionTime, 0.001)},
                        {"burnout_mission_time_s", rounded(s.burnoutTime, 0.001)},
                        {"ignition_mass_kg", rounded(s.ignitionMass, 0.001)},
                        {"burnout_mass_kg", rounded(s.burnoutMass, 0.001)},
                        {"propellant_kg", rounded(s.propellant, 0.001)},
                        {"isp_vacuum_ms", rounded(s.ispVacuum, 0.001)},
                        {"delta_v_ms", rounded(s.deltaV, 0.001)},
                        {"burn_time_s", rounded(s.burnTime, 0.001)},
                        {"thrust_to_weight", rounded(s.thrustToWeight, 0.001)},
                        {"burns", s.burns}});
    return list;
}

std::vector<StageRow> stagesFromJson(const nlohmann::json& j) {
    if (!j.is_array())
        throw std::runtime_error("'stages' is not a list");
    std::vector<StageRow> stages;
    for (const nlohmann::json& e : j) {
        if (!e.is_object())
            throw std::runtime_error("a stage is not an object");
        StageRow s;
        if (const auto name = e.find("stage"); name != e.end() && name->is_string())
            s.name = name->get<std::string>();
        s.ignitionTime = numberAt(e, "ignition_mission_time_s");
        s.burnoutTime = numberAt(e, "burnout_mission_time_s");
        s.ignitionMass = numberAt(e, "ignition_mass_kg");
        s.burnoutMass = numberAt(e, "burnout_mass_kg");
        s.propellant = numberAt(e, "propellant_kg");
        s.ispVacuum = numberAt(e, "isp_vacuum_ms");
        s.deltaV = numberAt(e, "delta_v_ms");
        s.burnTime = numberAt(e, "burn_time_s");
        s.thrustToWeight = numberAt(e, "thrust_to_weight");
        s.burns = static_cast<int>(numberAt(e, "burns"));
        stages.push_back(s);
    }
    return stages;
}

void printStageTable(const std::vector<StageRow>& stages, std::ostream& out) {
    if (stages.empty())
        return;
    out << "\nstages (as flown)       ignition   mass at    mass at  propellant  vac. Isp        dv   burn time   T/W\n"
           "                      mission s  ignition   burn-out          kg       m/s       m/s           s\n";
    for (const StageRow& s : stages) {
        char line[200];
        std::snprintf(line, sizeof line, "%-20s %10.1f %10.0f %10.0f %11.0f %9.0f %9.0f %11.1f %5.2f", s.name.c_str(),
                      s.ignitionTime, s.ignitionMass, s.burnoutMass, s.propellant, s.ispVacuum, s.deltaV, s.burnTime,
                      s.thrustToWeight);
        out << line;
        if (s.burns > 1)
            out << "  (" << s.burns << " burns)";
        out << '\n';
    }
    char total[96];
    std::snprintf(total, sizeof total, "%-20s %73.0f\n", "total delta-v", totalDeltaV(stages));
    out << total;
}

}  // namespace tarviksim
