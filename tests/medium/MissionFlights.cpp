#include "MissionFlights.h"

#include <cmath>
#include <cstdio>

namespace medium_test {
namespace {

constexpr int kFps = 60;

long long missionStep(double seconds) {
    return std::llround(seconds * kFps);
}

double mainGroupLevel(const host::VesselData& v) {
    const host::ThrusterGroup* g = v.group(THGROUP_MAIN);
    return g && !g->thrusters.empty() ? g->thrusters[0]->level : -1;
}

ConfigSnapshot snapshot(host::Simulation& sim, const host::VesselData& v) {
    ConfigSnapshot s;
    s.scenario = sim.scenarioText();
    s.emptyMass = v.caps.emptyMass;
    s.meshes = meshList(v);
    for (const auto& p : v.propellants) {
        s.tanks.push_back(p->mass);
        s.tankMax.push_back(p->maxMass);
    }
    return s;
}

bool startsWith(const std::string& s, const std::string& prefix) {
    return s.compare(0, prefix.size(), prefix) == 0;
}

MissionRecord fly(const Build& b) {
    MissionRecord r;
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / "tarvik-medium-tests" / (std::string("mission-") + b.name);
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    const std::string lines = payloadLines(b) + "  CONFIG 0\n  PLDWEIGHT " + std::to_string(b.payloadMass) +
                              "\n  Fairing_attached 1\n  missiontime 0\n";
    auto sim = loadText(scenario(b.name, landedBlock(b.name, b.classKey, lines)), dir);
    host::VesselData* launcher = sim->vessel(b.name);

    r.configs[0] = snapshot(*sim, *launcher);
    sim->setThrottle(1);
    r.throttleStep = sim->stepCount();

    std::vector<double> keyF = fairingKeyTimes(b);
    size_t nextF = 0;
    bool pressedJ = false;
    size_t seenEvents = sim->events().size();
    double previousPropellant = totalPropellant(*launcher);
    double previousCoreTank = 0;
    r.landedUntilLiftoff = true;

    long long sinceLiftoff = -1;
    bool wasLanded = true;
    // Reads the events since the last look, right after the step or key that caused them,
    // so that shed parts are compared with the launcher as it was when they left.
    auto takeEvents = [&] {
        const long long now = sim->stepCount();
        bool launcherChanged = false;
        for (; seenEvents < sim->events().size(); ++seenEvents) {
            const host::Event& e = sim->events()[seenEvents];
            r.eventLines.push_back(e.line());
            if (e.vessel != b.name)
                continue;
            launcherChanged = true;
            if (r.liftoffStep < 0 && startsWith(e.what, "mesh 0 replaced tarvik/Tarvik1stA by tarvik/Tarvik1st")) {
                r.liftoffStep = now;
                sinceLiftoff = 0;
                r.landedUntilLiftoff = r.landedUntilLiftoff && wasLanded;
            } else if (startsWith(e.what, "created ")) {
                const size_t open = e.what.find(" (");
                const std::string name = e.what.substr(8, open - 8);
                const std::string classKey = e.what.substr(open + 2, e.what.size() - open - 3);
                const host::VesselData* part = sim->vessel(name);
                if (!part)
                    continue;
                PartRelease p{name, classKey, sinceLiftoff, {}, part->state.omega, launcher->state.omega};
                p.push = tmul(launcher->state.R, part->state.vel - launcher->state.vel);
                r.releases.push_back(p);
                if (classKey == b.coreStageClass)
                    r.coreSeparationStep = sinceLiftoff;
                if (name == std::string(b.name) + "gem1") {
                    r.propellantBeforeBoosterJettison = previousPropellant;
                    r.coreTankBeforeBoosterJettison = previousCoreTank;
                    r.tanksAfterBoosterJettison = static_cast<int>(launcher->propellants.size());
                    if (!launcher->propellants.empty()) {
                        r.coreTankAfterBoosterJettison = launcher->propellants[0]->mass;
                        r.coreTankMaxAfterBoosterJettison = launcher->propellants[0]->maxMass;
                    }
                }
            } else if (r.coreSeparationStep >= 0 && r.upperIgnitionStep < 0 &&
                       e.what.find(" lit") != std::string::npos) {
                r.upperIgnitionStep = sinceLiftoff;
            }
        }
        if (launcherChanged) {
            const std::string text = sim->scenarioText();
            const std::string config = scenarioValue(text, b.name, "CONFIG");
            const int code = config.empty() ? -1 : static_cast<int>(std::lround(std::stod(config)));
            if (code >= 0 && !r.configs.count(code))
                r.configs[code] = snapshot(*sim, *launcher);
        }
    };

    for (int guard = 0; guard < 400 * kFps; ++guard) {
        wasLanded = launcher->state.landed;
        sim->step();
        if (sinceLiftoff >= 0)
            ++sinceLiftoff;
        takeEvents();
        if (r.liftoffStep < 0)
            r.landedUntilLiftoff = r.landedUntilLiftoff && launcher->state.landed;
        if (sinceLiftoff == 10)
            r.airborneAfterLiftoff = !launcher->state.groundContact;
        previousPropellant = totalPropellant(*launcher);
        previousCoreTank = launcher->propellants.empty() ? 0 : launcher->propellants[0]->mass;

        if (sinceLiftoff == missionStep(50))
            r.boosting = snapshot(*sim, *launcher);
        if (sinceLiftoff == missionStep(247))
            r.mainLevelAt247 = mainGroupLevel(*launcher);
        if (sinceLiftoff == missionStep(252.6))
            r.mainLevelAt2526 = mainGroupLevel(*launcher);
        if (nextF < keyF.size() && sinceLiftoff == missionStep(keyF[nextF])) {
            sim->pressKey(OAPI_KEY_F);
            takeEvents();
            ++nextF;
        }
        if (!pressedJ && sinceLiftoff == missionStep(290)) {
            sim->pressKey(OAPI_KEY_J);
            takeEvents();
            pressedJ = true;
        }
        if (sinceLiftoff == missionStep(292))
            break;
    }
    for (; seenEvents < sim->events().size(); ++seenEvents)
        r.eventLines.push_back(sim->events()[seenEvents].line());
    r.focusAtEnd = sim->focus() ? sim->focus()->name : "";
    return r;
}

}  // namespace

std::vector<double> fairingKeyTimes(const Build& b) {
    // The 4 m builds drop the fairing from the burning core stage; F then only bares the upper stage.
    if (b.fiveMetre)
        return {280};
    return {150, 280};
}

const MissionRecord& flownMission(const Build& b) {
    static std::map<std::string, MissionRecord> flown;
    auto it = flown.find(b.name);
    if (it == flown.end())
        it = flown.emplace(b.name, fly(b)).first;
    return it->second;
}

}  // namespace medium_test
