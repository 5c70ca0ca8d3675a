// A saved flight goes on as if it had never stopped. The manual launch of the
// shipped heavy-launcher script is flown once without stopping; then scenarios
// saved every 10 s, and one frame before and after each staging moment, are
// loaded again and flown on to the same end. Every resumed flight must create
// the same vessels under the same names within a frame of the same time, and
// end with every vessel where the uninterrupted flight left it.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "HeavyTestSupport.h"
#include "sim/KeyNames.h"

using namespace heavytest;

namespace {

const std::string kScenario = std::string(TARVIK_DATA_DIR) + "/Scenarios/TarvikHP-LC6.scn";
const std::string kScript = std::string(TARVIK_DATA_DIR) + "/scripts/heavy-manual.txt";

// The timeline's staging moments (mission time, s) that show nothing the host
// records at the moment they pass: the core's separation countdown starts at
// 332 s with its engine already off.
constexpr double kTimelineMoments[] = {100, 102, 104, 251, 327, 332};

// Seconds between the regular saves. The sanitizer build flies every third
// of them only: it looks for memory faults, which show as well in fewer
// flights, and runs many times slower.
#if defined(__SANITIZE_ADDRESS__)
constexpr double kSaveEvery = 30;
#else
constexpr double kSaveEvery = 10;
#endif

struct Command {
    double time;
    std::string what, argument;
};

// The script's "at SECONDS COMMAND ARGUMENT" lines.
std::vector<Command> readScript(const std::string& path) {
    std::ifstream in(path);
    std::vector<Command> commands;
    for (std::string line; std::getline(in, line);) {
        std::istringstream words(line.substr(0, line.find('#')));
        std::string at;
        Command c;
        if (words >> at >> c.time >> c.what) {
            words >> c.argument;
            commands.push_back(c);
        }
    }
    return commands;
}

struct Created {
    std::string name, className;
    long step;  // the frame that created it, counted from the first load
};

struct Final {
    VECTOR3 pos, vel;
    double propellant;
};

// A flight from a scenario: commands fire at the start of the frame they are
// due in, frames are counted from the uninterrupted flight's first.
class Flight {
public:
    Flight(const std::string& scenarioPath, long firstStep) : sim_(TARVIK_DATA_DIR), step_(firstStep) {
        sim_.loadScenario(scenarioPath);
        for (const auto& v : sim_.vessels())
            known_.insert(v->name);
    }

    host::Simulation& sim() { return sim_; }
    long step() const { return step_; }
    const std::vector<Created>& created() const { return created_; }

    // Runs the commands of this frame; false once the script stops.
    bool command(const Command& c) {
        if (c.what == "throttle") {
            sim_.setThrottle(std::stod(c.argument));
        } else if (c.what == "key") {
            DWORD key = 0;
            EXPECT_TRUE(host::keyCode(c.argument, key)) << c.argument;
            sim_.pressKey(key);
        } else if (c.what == "stop") {
            return false;
        } else {
            ADD_FAILURE() << "the resume test does not play '" << c.what << "'";
        }
        return true;
    }

    void advance() {
        sim_.step();
        ++step_;
        for (const auto& v : sim_.vessels())
            if (known_.insert(v->name).second)
                created_.push_back({v->name, v->className, step_ - 1});
    }

    std::map<std::string, Final> finalStates() const {
        std::map<std::string, Final> out;
        for (const auto& v : sim_.vessels())
            if (!v->pendingDelete)
                out[v->name] = {v->state.pos, v->state.vel, v->propellantMass()};
        return out;
    }

private:
    host::Simulation sim_;
    long step_;
    std::set<std::string> known_;
    std::vector<Created> created_;
};

// What the host shows of the launcher's configuration.
struct Look {
    size_t thrusters, tanks, meshes;
    double emptyMass;
    bool burning;
    bool operator==(const Look&) const = default;
};

Look lookOf(const host::VesselData& v) {
    return {v.thrusters.size(), v.propellants.size(), meshNames(v).size(), v.caps.emptyMass, mainLevel(v) > 0};
}

struct Save {
    long boundary;  // frames flown before it was taken
    std::string text;
};

struct Outcome {
    double position = 0, velocity = 0, propellant = 0;  // worst differences over all vessels
    bool bitForBit = true;
};

}  // namespace

class HeavyResume : public ::testing::Test {
protected:
    static inline std::vector<Command> script;
    static inline std::map<long, std::vector<Command>> commandsAt;  // by frame
    static inline long end = 0;                                     // frames flown in all
    static inline std::vector<Created> created;
    static inline std::map<std::string, Final> finals;
    static inline std::vector<Save> saves;

    static void SetUpTestSuite() {
        script = readScript(kScript);
        ASSERT_FALSE(script.empty());
        std::set<long> boundaries = flyUninterrupted();
        // Once more, taking the saves: the host is deterministic, so the same
        // frames see the same moments.
        Flight f(kScenario, 0);
        while (f.step() < end) {
            if (boundaries.count(f.step()))
                saves.push_back({f.step(), f.sim().scenarioText()});
            for (const Command& c : commandsAt[f.step()])
                f.command(c);
            f.advance();
        }
        const std::map<std::string, Final> again = f.finalStates();
        ASSERT_EQ(again.size(), finals.size());
        for (const auto& [name, state] : finals)
            ASSERT_TRUE(near(again.at(name).pos, state.pos, 0)) << "the second flight went elsewhere: " << name;
    }

    // Flies the script to its stop; returns the frames at which to save.
    static std::set<long> flyUninterrupted() {
        Flight f(kScenario, 0);
        host::VesselData& hp = launcher(f.sim());
        std::set<long> events;
        double mt = 0;  // summed as the launcher's own clock sums it
        size_t next = 0;
        Look before = lookOf(hp);
        for (;;) {
            const double t = f.sim().simTime();
            bool stop = false;
            for (; next < script.size() && script[next].time <= t + 1e-9; ++next) {
                commandsAt[f.step()].push_back(script[next]);
                events.insert(f.step());
                stop = stop || !f.command(script[next]);
            }
            if (stop)
                break;
            const bool airborne = !(hp.state.landed || hp.state.groundContact);
            const size_t vessels = f.sim().vessels().size();
            const double mtBefore = mt;
            f.advance();
            if (airborne)
                mt += f.sim().simStep();
            const Look after = lookOf(hp);
            bool moment = !(after == before) || f.sim().vessels().size() != vessels;
            for (double m : kTimelineMoments)
                moment = moment || (mtBefore <= m && mt > m);
            if (moment)
                events.insert(f.step() - 1);
            before = after;
            if (f.step() > 100000) {
                ADD_FAILURE() << "the script never stopped";
                break;
            }
        }
        end = f.step();
        created = f.created();
        finals = f.finalStates();

        // Regularly, and one frame before and after each staging moment.
        std::set<long> boundaries;
        const long every = std::lround(kSaveEvery / f.sim().frameLength());
        for (long b = every; b < end; b += every)
            boundaries.insert(b);
        for (long e : events) {
            boundaries.insert(e);
            if (e + 1 < end)
                boundaries.insert(e + 1);
        }
        return boundaries;
    }

    // Loads the save and flies it to the end, checking the vessels it creates.
    static Outcome resume(const Save& save) {
        Flight f(writeScenarioText("resume-" + std::to_string(save.boundary), save.text), save.boundary);
        while (f.step() < end) {
            for (const Command& c : commandsAt[f.step()])
                f.command(c);
            f.advance();
        }

        std::vector<Created> expected;
        for (const Created& c : created)
            if (c.step >= save.boundary)
                expected.push_back(c);
        EXPECT_EQ(f.created().size(), expected.size()) << "vessels created";
        for (size_t i = 0; i < std::min(expected.size(), f.created().size()); ++i) {
            EXPECT_EQ(f.created()[i].name, expected[i].name);
            EXPECT_EQ(f.created()[i].className, expected[i].className) << expected[i].name;
            EXPECT_LE(std::labs(f.created()[i].step - expected[i].step), 1) << expected[i].name;
        }

        Outcome o;
        const std::map<std::string, Final> ends = f.finalStates();
        EXPECT_EQ(ends.size(), finals.size()) << "vessels at the end";
        for (const auto& [name, want] : finals) {
            const auto got = ends.find(name);
            if (got == ends.end()) {
                ADD_FAILURE() << name << " missing at the end";
                continue;
            }
            const Final& g = got->second;
            o.position = std::max(o.position, length(g.pos - want.pos));
            o.velocity = std::max(o.velocity, length(g.vel - want.vel));
            o.propellant = std::max(o.propellant, std::fabs(g.propellant - want.propellant));
            o.bitForBit = o.bitForBit && g.pos.x == want.pos.x && g.pos.y == want.pos.y && g.pos.z == want.pos.z &&
                          g.vel.x == want.vel.x && g.vel.y == want.vel.y && g.vel.z == want.vel.z &&
                          g.propellant == want.propellant;
        }
        return o;
    }

    // Resumes the saves taken between the two mission-clock frames given.
    static void resumeSaves(long from, long to) {
        Outcome worst;
        int flights = 0, exact = 0;
        for (const Save& s : saves) {
            if (s.boundary < from || s.boundary >= to)
                continue;
            SCOPED_TRACE("saved after frame " + std::to_string(s.boundary));
            const Outcome o = resume(s);
            EXPECT_LT(o.position, 1) << "m";
            EXPECT_LT(o.velocity, 0.01) << "m/s";
            EXPECT_LT(o.propellant, 1) << "kg";
            worst.position = std::max(worst.position, o.position);
            worst.velocity = std::max(worst.velocity, o.velocity);
            worst.propellant = std::max(worst.propellant, o.propellant);
            ++flights;
            exact += o.bitForBit;
        }
        EXPECT_GT(flights, 0);
        std::printf("%d resumed flights, %d bit for bit; worst: %.3g m, %.3g m/s, %.3g kg\n", flights, exact,
                    worst.position, worst.velocity, worst.propellant);
    }

    static long frameAt(double seconds) { return std::lround(seconds * 60); }  // the host's frame rate
};

// Split by the flight's phases so that the parts can run side by side.
TEST_F(HeavyResume, SavesOnThePadAndWithTheSolidBoosters) {
    resumeSaves(0, frameAt(110));
}
TEST_F(HeavyResume, SavesWithTheSideCoresAndTheirSeparation) {
    resumeSaves(frameAt(110), frameAt(300));
}
TEST_F(HeavyResume, SavesWithTheCoreAndTheUpperStage) {
    resumeSaves(frameAt(300), end + 1);
}
