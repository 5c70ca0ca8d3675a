#include "CapacityCheck.h"

#include <cmath>
#include <cstdio>
#include <filesystem>

#include "sim/FileIO.h"

namespace fs = std::filesystem;

namespace tarviksim {

namespace {

std::string kg(double mass) {
    char text[32];
    std::snprintf(text, sizeof text, "%.0f kg", mass);
    return text;
}

std::string km(double altitude) {
    char text[32];
    std::snprintf(text, sizeof text, "%.0f km", altitude);
    return text;
}

// "SAT2 (13000 kg)", or "a payload of 3200 kg" for a mass alone.
std::string payloadText(const CheckedMission& c) {
    if (c.payload.name.empty())
        return "a payload of " + kg(c.payload.massKg);
    return c.payload.name + " (" + kg(c.payload.massKg) + ")";
}

}  // namespace

std::string shippedCapacityPath(const std::string& dataDir) {
    return (fs::path(dataDir) / "capacity.csv").string();
}

std::vector<CapacityRow> shippedCapacity(const std::string& dataDir) {
    const std::string path = shippedCapacityPath(dataDir);
    std::error_code ec;
    if (!fs::is_regular_file(path, ec))
        return {};
    return parseCapacityCsv(host::readTextFile(path, "capacity table"), path);
}

std::optional<std::string> overCapacity(const CheckedMission& c, const std::vector<CapacityRow>& rows,
                                        const std::string& table) {
    const Mission& m = c.mission;
    const double mass = c.payload.massKg;
    for (const LauncherInfo& l : mediumLaunchers())
        if (m.launcher == l.name && mass > l.pitchTableLimitKg)
            return m.launcher + " has no pitch table for " + payloadText(c) + ": its tables end at " +
                   kg(l.pitchTableLimitKg) + ", and above that the autopilot does not pitch over";

    const CapacityEstimate e =
        estimateCapacity(rows, m.launcher, m.pad, m.inclinationDeg, m.descending, m.altitudeKm, mass);
    // A hair over the measured capacity is still within the 50 kg the search resolves.
    if (!e.covered || mass <= std::floor(e.capacityKg + 0.5))
        return std::nullopt;
    std::string why = payloadText(c) + " is more than " + e.caseText + " carries to " + fieldText(m.altitudeKm) +
                      " km: ";
    if (e.aboveTable)
        why += "the capacity table (" + table + ") ends at " + km(e.tableTopKm) + " with " + kg(e.capacityKg) +
               ", and capacity only falls with altitude";
    else
        why += kg(e.capacityKg) + " by the capacity table (" + table + ")";
    if (e.pitchTableLimit)
        why += ", the limit of its pitch tables";
    if (e.reachKm)
        why += "; with " + kg(mass) + " it reaches " + km(std::floor(*e.reachKm)) +
               (e.aboveTable && *e.reachKm >= e.tableTopKm ? " or more" : "");
    else
        why += "; it carries " + kg(mass) + " to none of the table's altitudes";
    return why;
}

}  // namespace tarviksim
