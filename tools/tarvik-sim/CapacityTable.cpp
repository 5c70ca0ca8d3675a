#include "CapacityTable.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <sstream>

#include "Missions.h"
#include "sim/NumberText.h"
#include "sim/Simulation.h"

namespace tarviksim {

namespace {

constexpr const char* kHeader =
    "launcher,pad,inclination_deg,node,altitude_km,capacity_kg,limit,lightest_failing_kg,flights,note";
constexpr double kSameInclination = 0.005;  // deg: the dialog reads two decimals

struct LimitName {
    CapacityLimit limit;
    const char* name;
};
constexpr LimitName kLimitNames[] = {
    {CapacityLimit::Flights, "flights"},
    {CapacityLimit::PitchTables, "pitch tables"},
    {CapacityLimit::NoneFlies, "none completes"},
    {CapacityLimit::Unsettled, "unsettled"},
};

std::string trimmed(const std::string& s) {
    const size_t a = s.find_first_not_of(" \t\r");
    if (a == std::string::npos)
        return "";
    return s.substr(a, s.find_last_not_of(" \t\r") - a + 1);
}

// Fields of a CSV line; a quoted field may hold commas and doubled quotes.
std::vector<std::string> csvFields(const std::string& line) {
    std::vector<std::string> fields;
    std::string field;
    bool quoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            fields.push_back(trimmed(field));
            field.clear();
        } else {
            field += c;
        }
    }
    fields.push_back(trimmed(field));
    return fields;
}

std::string csvField(const std::string& s) {
    if (s.find_first_of(",\"\n\r") == std::string::npos)
        return s;
    std::string q = "\"";
    for (char c : s)
        q += c == '"' ? std::string("\"\"") : std::string(1, c == '\n' || c == '\r' ? ' ' : c);
    return q + "\"";
}

bool sameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

}  // namespace

const char* limitName(CapacityLimit l) {
    for (const LimitName& n : kLimitNames)
        if (n.limit == l)
            return n.name;
    return "?";
}

std::optional<CapacityLimit> limitNamed(const std::string& name) {
    for (const LimitName& n : kLimitNames)
        if (name == n.name)
            return n.limit;
    return std::nullopt;
}

std::string capacityCsv(const std::vector<CapacityRow>& rows) {
    std::string s = std::string(kHeader) + "\n";
    for (const CapacityRow& r : rows)
        s += csvField(r.launcher) + "," + csvField(r.pad) + "," + fieldText(r.inclinationDeg) + "," +
             (r.descending ? "descending" : "ascending") + "," + fieldText(r.altitudeKm) + "," +
             fieldText(r.capacityKg) + "," + limitName(r.limit) + "," +
             (r.lightestFailingKg ? fieldText(*r.lightestFailingKg) : "") + "," + std::to_string(r.flights) + "," +
             csvField(r.note) + "\n";
    return s;
}

std::vector<CapacityRow> parseCapacityCsv(const std::string& text, const std::string& path) {
    std::vector<CapacityRow> rows;
    std::map<std::string, size_t> column;
    std::istringstream in(text);
    int lineNumber = 0;
    for (std::string line; std::getline(in, line);) {
        ++lineNumber;
        const std::string t = trimmed(line);
        if (t.empty() || t[0] == '#')
            continue;
        const std::vector<std::string> fields = csvFields(t);
        if (column.empty()) {
            for (size_t i = 0; i < fields.size(); ++i)
                column[fields[i]] = i;
            for (const char* required : {"launcher", "pad", "inclination_deg", "altitude_km", "capacity_kg", "limit"})
                if (!column.count(required))
                    throw host::InputError(path, lineNumber,
                                           std::string("the header has no column '") + required + "' (" + kHeader +
                                               ")");
            continue;
        }
        auto field = [&](const char* name) {
            const auto it = column.find(name);
            return it != column.end() && it->second < fields.size() ? fields[it->second] : std::string();
        };
        auto number = [&](const char* name, double& value) {
            if (!host::parseNumber(field(name), value) || !std::isfinite(value))
                throw host::InputError(path, lineNumber,
                                       std::string(name) + " '" + field(name) + "' is not a number");
        };
        CapacityRow r;
        r.launcher = field("launcher");
        r.pad = field("pad");
        number("inclination_deg", r.inclinationDeg);
        number("altitude_km", r.altitudeKm);
        number("capacity_kg", r.capacityKg);
        const std::string node = field("node");
        if (!node.empty()) {
            try {
                r.descending = parseNode(node);
            } catch (const MissionError& e) {
                throw host::InputError(path, lineNumber, e.what());
            }
        }
        const std::optional<CapacityLimit> limit = limitNamed(field("limit"));
        if (!limit)
            throw host::InputError(path, lineNumber, "unknown limit '" + field("limit") + "'");
        r.limit = *limit;
        if (!field("lightest_failing_kg").empty()) {
            double v = 0;
            number("lightest_failing_kg", v);
            r.lightestFailingKg = v;
        }
        double flights = 0;
        if (host::parseNumber(field("flights"), flights))
            r.flights = static_cast<int>(flights);
        r.note = field("note");
        rows.push_back(r);
    }
    if (column.empty())
        throw host::InputError(path, 0, std::string("no header line (") + kHeader + ")");
    return rows;
}

std::optional<double> interpolate(const CapacityCurve& curve, double altitude) {
    if (curve.empty() || altitude < curve.front().first || altitude > curve.back().first)
        return std::nullopt;
    for (size_t i = 0; i < curve.size(); ++i) {
        if (altitude == curve[i].first)
            return curve[i].second;
        if (i + 1 < curve.size() && altitude < curve[i + 1].first) {
            const auto& [a0, c0] = curve[i];
            const auto& [a1, c1] = curve[i + 1];
            return c0 + (c1 - c0) * (altitude - a0) / (a1 - a0);
        }
    }
    return std::nullopt;
}

std::optional<double> reachWith(const CapacityCurve& curve, double mass) {
    if (curve.empty() || curve.front().second < mass)
        return std::nullopt;
    // The first point from the top that still carries the mass; the crossing
    // is between it and the point above.
    for (size_t i = curve.size(); i-- > 0;) {
        if (curve[i].second < mass)
            continue;
        if (i + 1 == curve.size())
            return curve[i].first;
        const auto& [a0, c0] = curve[i];
        const auto& [a1, c1] = curve[i + 1];
        return a0 + (a1 - a0) * (c0 - mass) / (c0 - c1);
    }
    return std::nullopt;
}

CapacityEstimate estimateCapacity(const std::vector<CapacityRow>& rows, const std::string& launcher,
                                  const std::string& pad, double inclinationDeg, bool descending, double altitudeKm,
                                  double massKg) {
    CapacityEstimate e;
    e.caseText = launcher + " from " + pad + " at " + fieldText(inclinationDeg) + " deg (" +
                 (descending ? "descending" : "ascending") + " node)";
    // The case's curves, one per inclination, and where the pitch tables set the limit.
    std::map<double, CapacityCurve> curves;
    std::map<double, std::set<double>> tableLimited;
    for (const CapacityRow& r : rows) {
        if (!sameName(r.launcher, launcher) || !sameName(r.pad, pad) || r.descending != descending ||
            r.limit == CapacityLimit::Unsettled)
            continue;
        curves[r.inclinationDeg].emplace_back(r.altitudeKm, r.capacityKg);
        if (r.limit == CapacityLimit::PitchTables)
            tableLimited[r.inclinationDeg].insert(r.altitudeKm);
    }
    for (auto& [inclination, curve] : curves)
        std::sort(curve.begin(), curve.end());

    // The inclinations around the mission's.
    const double* below = nullptr;
    const double* above = nullptr;
    for (const auto& [inclination, curve] : curves) {
        if (inclination <= inclinationDeg + kSameInclination)
            below = &inclination;
        if (!above && inclination >= inclinationDeg - kSameInclination)
            above = &inclination;
    }
    if (!below || !above)
        return e;
    const CapacityCurve& low = curves[*below];
    const CapacityCurve& high = curves[*above];
    const double weight = *above - *below > kSameInclination ? (inclinationDeg - *below) / (*above - *below) : 0;

    // The two curves read together at every altitude both have.
    CapacityCurve blend;
    for (const auto& [altitude, capacity] : low)
        if (const std::optional<double> other = interpolate(high, altitude))
            blend.emplace_back(altitude, capacity + (*other - capacity) * std::clamp(weight, 0.0, 1.0));
    if (blend.empty() || altitudeKm < blend.front().first)
        return e;
    e.covered = true;
    e.tableTopKm = blend.back().first;
    e.aboveTable = altitudeKm > e.tableTopKm;
    e.capacityKg = *interpolate(blend, std::min(altitudeKm, e.tableTopKm));
    e.reachKm = reachWith(blend, massKg);
    auto limitedAt = [&](double inclination) {
        const std::set<double>& at = tableLimited[inclination];
        const CapacityCurve& c = curves[inclination];
        // Between two rows the limit is the tables' when both rows are.
        for (size_t i = 0; i < c.size(); ++i) {
            const double a0 = c[i].first;
            const double a1 = i + 1 < c.size() ? c[i + 1].first : a0;
            const double a = std::min(altitudeKm, e.tableTopKm);
            if (a >= a0 && a <= a1)
                return at.count(a0) && (a == a0 || at.count(a1));
        }
        return false;
    };
    e.pitchTableLimit = limitedAt(*below) && limitedAt(*above);
    return e;
}

}  // namespace tarviksim
