#include "ScenarioLines.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <sstream>

#include "InputText.h"
#include "ItemFile.h"
#include "NumberText.h"
#include "ThrusterLevels.h"
#include "CurrentSimulation.h"
#include "physics/Physics.h"

namespace host {

namespace {

// What the host takes as a vessel's state: finite numbers, and values a
// flight around the Earth can have. Beyond these the physics would only turn
// them into infinities and not-a-numbers.
constexpr double maxLatitude = 90;         // [deg]
constexpr double minDistance = 1e3;        // from Earth's centre [m]
constexpr double maxDistance = 1e10;       // [m], far beyond the Moon
constexpr double maxSpeed = 1e5;           // [m/s]
constexpr double maxRotationRate = 36000;  // [deg/s], a hundred turns a second

bool readNumbers(std::istringstream& in, double* out, int count, std::string& problem, const std::string& key) {
    std::string token;
    for (int i = 0; i < count; ++i) {
        if (!(in >> token)) {
            problem = key + " needs " + std::to_string(count) + " numbers";
            return false;
        }
        if (!parseNumber(token, out[i])) {
            problem = "bad number " + quote(token) + " in " + key;
            return false;
        }
    }
    if (in >> token) {
        problem = "unexpected " + quote(token) + " after " + key;
        return false;
    }
    return true;
}

bool readVector(std::istringstream& in, VECTOR3& v, double scale, std::string& problem, const std::string& key) {
    double n[3];
    if (!readNumbers(in, n, 3, problem, key))
        return false;
    v = _V(n[0] * scale, n[1] * scale, n[2] * scale);
    return true;
}

// A vector whose length lies within [low, high]; a length that does not
// fit a double counts as too long.
bool lengthWithin(const VECTOR3& v, double low, double high, std::string& problem, const std::string& what) {
    const double n = std::hypot(v.x, v.y, v.z);
    if (n >= low && n <= high)
        return true;
    problem = what + " " + numberText(n) + " is not between " + numberText(low) + " and " + numberText(high);
    return false;
}

bool componentsWithin(const VECTOR3& v, double limit, std::string& problem, const std::string& what) {
    if (std::fabs(v.x) <= limit && std::fabs(v.y) <= limit && std::fabs(v.z) <= limit)
        return true;
    problem = what + " beyond " + numberText(limit) + " deg/s";
    return false;
}

// "idx:level idx:level ..."
bool readLevels(std::istringstream& in, std::vector<std::pair<int, double>>& out, std::string& problem,
                const std::string& key) {
    std::vector<std::pair<int, double>> levels;
    std::string token;
    while (in >> token) {
        size_t colon = token.find(':');
        long idx = 0;
        double level = 0;
        if (colon == std::string::npos || !parseInteger(token.substr(0, colon), idx) || idx < 0 ||
            !parseNumber(token.substr(colon + 1), level)) {
            problem = "bad entry " + quote(token) + " in " + key + " (expected index:level)";
            return false;
        }
        if (idx > INT_MAX) {
            problem = "index " + quote(token.substr(0, colon)) + " in " + key + " is out of range";
            return false;
        }
        levels.emplace_back(static_cast<int>(idx), level);
    }
    out = std::move(levels);
    return true;
}

std::string degreesVectorText(const VECTOR3& v) {
    return degreesText(v.x) + " " + degreesText(v.y) + " " + degreesText(v.z);
}

}  // namespace

HostLine parseHostLine(const std::string& line, ScenarioVesselLines& lines, std::string& problem) {
    std::istringstream in(line);
    std::string key;
    if (!(in >> key))
        return HostLine::NotHost;
    auto is = [&](const char* k) { return equalsNoCase(key, k); };
    bool ok = true;
    if (is("STATUS")) {
        std::string kind, body, extra;
        in >> kind >> body;
        if (in >> extra || body != "Earth" || !(equalsNoCase(kind, "Landed") || equalsNoCase(kind, "Orbiting"))) {
            problem = "STATUS must be 'Landed Earth' or 'Orbiting Earth'";
            return HostLine::Bad;
        }
        lines.landed = equalsNoCase(kind, "Landed");
    } else if (is("POS")) {
        double n[2];
        ok = readNumbers(in, n, 2, problem, "POS");
        if (ok && std::fabs(n[1]) > maxLatitude) {
            problem = "latitude " + numberText(n[1]) + " in POS is not between -90 and 90";
            ok = false;
        }
        if (ok) {
            lines.lng = n[0] * RAD;
            lines.lat = n[1] * RAD;
        }
    } else if (is("HEADING")) {
        double n[1];
        ok = readNumbers(in, n, 1, problem, "HEADING");
        if (ok)
            lines.heading = n[0] * RAD;
    } else if (is("RPOS")) {
        ok = readVector(in, lines.rpos, 1, problem, "RPOS") &&
             lengthWithin(lines.rpos, minDistance, maxDistance, problem, "RPOS: distance from Earth's centre");
    } else if (is("RVEL")) {
        ok = readVector(in, lines.rvel, 1, problem, "RVEL") &&
             lengthWithin(lines.rvel, 0, maxSpeed, problem, "RVEL: speed");
    } else if (is("AROT")) {
        ok = readVector(in, lines.arot, RAD, problem, "AROT");
    } else if (is("VROT")) {
        VECTOR3 degrees{};
        ok = readVector(in, degrees, 1, problem, "VROT") &&
             componentsWithin(degrees, maxRotationRate, problem, "VROT: a rate");
        if (ok)
            lines.vrot = degrees * RAD;
    } else if (is("PRPLEVEL")) {
        ok = readLevels(in, lines.propellantLevels, problem, "PRPLEVEL");
    } else if (is("THLEVEL")) {
        ok = readLevels(in, lines.thrusterLevels, problem, "THLEVEL");
    } else if (is("NAVMODE")) {
        std::vector<int> modes;
        std::string token;
        while (ok && in >> token) {
            long mode = 0;
            ok = parseInteger(token, mode) && mode >= NAVMODE_KILLROT && mode <= NAVMODE_HOLDALT;
            if (ok)
                modes.push_back(static_cast<int>(mode));
            else
                problem = "bad navigation mode " + quote(token);
        }
        if (ok)
            lines.navmodes = modes;
    } else {
        return HostLine::NotHost;
    }
    return ok ? HostLine::Taken : HostLine::Bad;
}

void writeHostLines(const VesselData& v, double mjd, std::string& text) {
    // A value that is not a number has no text that reads back; a zero in
    // its place would put the vessel somewhere it never was.
    auto check = [&](bool finite, const char* what) {
        if (!finite)
            throw std::runtime_error("vessel " + quote(v.name) + ": its " + what +
                                     " is not a finite number; the scenario cannot hold it");
    };
    auto finite3 = [](const VECTOR3& a) { return std::isfinite(a.x) && std::isfinite(a.y) && std::isfinite(a.z); };
    if (v.state.landed) {
        check(std::isfinite(v.state.landedLng) && std::isfinite(v.state.landedLat) && std::isfinite(v.state.landedHdg),
              "position on the ground");
        text += "  STATUS Landed Earth\n";
        text += "  POS " + degreesText(v.state.landedLng) + " " + degreesText(v.state.landedLat) + "\n";
        text += "  HEADING " + degreesText(v.state.landedHdg) + "\n";
    } else {
        VESSELSTATUS2 status{};
        status.version = 2;
        physics::fillStatus(v, status, mjd);
        check(finite3(status.rpos) && finite3(status.rvel), "position or velocity");
        check(finite3(status.arot) && finite3(status.vrot), "attitude or rotation");
        const FlightState& s = v.state;
        if (s.hasGivenArot && std::memcmp(&s.R, &s.givenArotR, sizeof s.R) == 0)
            status.arot = s.givenArot;
        text += "  STATUS Orbiting Earth\n";
        text += "  RPOS " + vectorText(status.rpos) + "\n";
        text += "  RVEL " + vectorText(status.rvel) + "\n";
        text += "  AROT " + degreesVectorText(status.arot) + "\n";
        text += "  VROT " + degreesVectorText(status.vrot) + "\n";
    }
    if (!v.propellants.empty()) {
        text += "  PRPLEVEL";
        for (size_t i = 0; i < v.propellants.size(); ++i) {
            const Propellant& p = *v.propellants[i];
            const double level = p.maxMass > 0 ? p.mass / p.maxMass : 0;
            check(std::isfinite(level), "propellant level");
            text += " " + std::to_string(i) + ":" + numberText(level);
        }
        text += "\n";
    }
    std::string levels;
    for (size_t i = 0; i < v.thrusters.size(); ++i) {
        check(std::isfinite(v.thrusters[i]->level), "thruster level");
        if (v.thrusters[i]->level > 0)
            levels += " " + std::to_string(i) + ":" + numberText(v.thrusters[i]->level);
    }
    if (!levels.empty())
        text += "  THLEVEL" + levels + "\n";
    std::string modes;
    for (int mode = NAVMODE_KILLROT; mode <= NAVMODE_HOLDALT; ++mode)
        if (v.state.navmodes & (1 << mode))
            modes += " " + std::to_string(mode);
    if (!modes.empty())
        text += "  NAVMODE" + modes + "\n";
}

void applyPropellantLevels(VesselData& v, const ScenarioVesselLines& lines) {
    for (const auto& [idx, level] : lines.propellantLevels) {
        if (static_cast<size_t>(idx) >= v.propellants.size())
            continue;
        Propellant& p = *v.propellants[static_cast<size_t>(idx)];
        p.mass = std::clamp(level, 0.0, 1.0) * p.maxMass;
    }
}

void applyHostLines(VesselData& v, const ScenarioVesselLines& lines, double mjd, bool withPropellant) {
    if (lines.landed) {
        physics::placeLanded(v, lines.lng, lines.lat, lines.heading, mjd);
    } else {
        VESSELSTATUS2 status{};
        status.version = 2;
        status.rbody = currentEarth();
        status.status = 0;
        status.rpos = lines.rpos;
        status.rvel = lines.rvel;
        status.arot = lines.arot;
        status.vrot = lines.vrot;
        physics::applyStatus(v, status, mjd);
        v.state.hasGivenArot = true;
        v.state.givenArot = lines.arot;
        v.state.givenArotR = v.state.R;
    }
    if (withPropellant)
        applyPropellantLevels(v, lines);
    for (const auto& [idx, level] : lines.thrusterLevels)
        if (static_cast<size_t>(idx) < v.thrusters.size())
            setThrusterLevel(v, *v.thrusters[static_cast<size_t>(idx)], std::clamp(level, 0.0, 1.0));
    if (v.iface)
        for (int mode : lines.navmodes)
            v.iface->ActivateNavmode(mode);
}

}  // namespace host
