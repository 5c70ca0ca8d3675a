// tarvik-sim fly: targets refused before anything flies (and the autopilot
// dialog refusing the same ones), the payload written into the scenario, a
// whole mission whose report agrees with the summary of the same flight and
// whose session script flies it again, the ends short of completion, and an
// interrupt that keeps the flight so far.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <regex>
#include <sstream>

#include "Missions.h"
#include "PlaneLaunch.h"
#include "Plots.h"
#include "Report.h"
#include "sim/Simulation.h"
#include "window/Dialogs.h"

namespace fs = std::filesystem;
using namespace tarviksim;

namespace {

// A mission by its target; the rest as fly's defaults.
Mission mission(const std::string& launcher, const std::string& pad, double altitude, double inclination,
                bool descending = false, const std::string& payload = "") {
    Mission m;
    m.launcher = launcher;
    m.pad = pad;
    m.altitudeKm = altitude;
    m.inclinationDeg = inclination;
    m.descending = descending;
    m.payload = payload;
    return m;
}

struct Ran {
    int status = -1;
    std::string out, err;
};

std::string read(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string fixedText(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

size_t lines(const std::string& s) {
    return static_cast<size_t>(std::count(s.begin(), s.end(), '\n'));
}

class Fly : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("tarvik-fly-" + std::to_string(getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override {
        if (!HasFailure())
            fs::remove_all(dir_);
    }

    // The program in the test's folder; `env` goes before it on the command line.
    Ran run(const std::string& args, const std::string& env = "") {
        const std::string cmd = "cd '" + dir_.string() + "' && " + env + " '" TARVIK_SIM_EXE "' " + args +
                                " > out.txt 2> err.txt";
        const int raw = std::system(cmd.c_str());
        Ran r;
        r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        r.out = read(dir_ / "out.txt");
        r.err = read(dir_ / "err.txt");
        return r;
    }

    fs::path dir_;
};

}  // namespace

TEST_F(Fly, RefusesWhatTheAutopilotCannotFlyBeforeFlying) {
    const struct {
        const char* args;
        const char* reason;
    } cases[] = {
        {"TarvikM9 --pad LC37B --altitude 350 --inclination 51.6", "unknown launcher 'TarvikM9'"},
        {"TarvikM52 --pad LC39 --altitude 350 --inclination 51.6", "unknown pad 'LC39'"},
        {"TarvikM52 --pad LC37B --altitude 350 --inclination 28.5", "out of reach from LC37B at latitude 28.53"},
        {"TarvikM52 --pad LC6 --altitude 350 --inclination 145.5", "out of reach from LC6 at latitude 34.60"},
        {"TarvikM52 --pad LC6 --altitude 350 --inclination 30", "flies from 34.60 to 145.4 degrees"},
        {"TarvikM52 --pad LC37B --altitude 1050 --inclination 51.6", "no rule for 1050 km"},
        {"TarvikM42 --pad LC37B --altitude 1049 --inclination 51.6", "no rule for 1049 km"},
        {"TarvikM4 --pad LC6 --altitude 1049 --inclination 63.4", "no rule for 1049 km"},
        {"TarvikM54 --pad LC6 --altitude 0 --inclination 63.4", "altitude 0 km is not above 0"},
        {"TarvikM52 --pad LC37B --altitude 350 --inclination 51.625", "more digits than the autopilot reads"},
        {"TarvikM52 --pad LC37B --altitude 350 --inclination 51.6 --node sideways", "node 'sideways'"},
        {"TarvikM52 --pad LC37B --altitude 350 --inclination 51.6 --payload Hubble", "unknown payload 'Hubble'"},
        {"TarvikM52 --pad LC37B --altitude 350 --inclination 51.6 --payload -5", "unknown payload '-5'"},
        {"TarvikM52 --pad LC37B --altitude high --inclination 51.6", "altitude 'high' is not a number"},
        // Launches into a plane.
        {"TarvikM52 --target Outpost", "--target needs --scenario FILE"},
        {"TarvikM52 --scenario TarvikM52-LC37B-station.scn --target Nobody", "no vessel 'Nobody'"},
        {"TarvikM52 --scenario TarvikM52-LC37B-station.scn --target LC37B", "LC37B stands on the ground"},
        {"TarvikM52 --scenario TarvikM52-LC37B-station.scn --target Outpost --altitude 300", "no --altitude"},
        {"TarvikM52 --scenario TarvikM52-LC37B-station.scn --target Outpost --lan 20", "give one of them"},
        {"TarvikM52 --scenario nosuch.scn --target Outpost", "nosuch.scn"},
        {"TarvikM52 --pad LC37B --altitude 350 --lan 10", "--inclination is required"},
        {"TarvikM52 --pad LC37B --altitude 350 --inclination 51.6 --lan 10 --time-limit 300", "after the time limit"},
    };
    for (const auto& c : cases) {
        fs::remove_all(dir_ / "r");
        const Ran r = run(std::string("fly ") + c.args + " --root r");
        EXPECT_EQ(r.status, 2) << c.args << "\n" << r.err;
        EXPECT_EQ(lines(r.err), 1u) << r.err;
        EXPECT_NE(r.err.find(c.reason), std::string::npos) << "wanted: " << c.reason << "\ngot: " << r.err;
        // Nothing flew; the report says why, for a matrix to collect.
        EXPECT_FALSE(fs::exists(dir_ / "r/events.log")) << c.args;
        const nlohmann::json report = nlohmann::json::parse(read(dir_ / "r/report.json"));
        EXPECT_EQ(report["outcome"], "refused") << c.args;
    }
}

// The limits fly checks are the autopilot's own: on the pad, its dialog
// refuses LAUNCH at each launcher's ceiling and just below the pad's
// latitude, and takes the targets just inside them.
TEST_F(Fly, TheDialogDrawsTheSameLines) {
    struct Target {
        std::string altitude, inclination;
        bool flyable;
    };
    for (const LauncherInfo& l : mediumLaunchers()) {
        std::vector<Target> targets = {{"350", "28.53", false}, {"350", "28.54", true}};
        if (l.ceilingKm < 1e9) {
            targets.push_back({fieldText(l.ceilingKm), "51.6", false});
            targets.push_back({fieldText(l.ceilingKm - 0.5), "51.6", true});
        }
        for (const Target& t : targets) {
            Mission m = mission(l.name, "LC37B", std::stod(t.altitude), std::stod(t.inclination));
            bool checked = true;
            try {
                checkMission(m, TARVIK_DATA_DIR);
            } catch (const MissionError&) {
                checked = false;
            }
            EXPECT_EQ(checked, t.flyable) << l.name << " " << t.altitude << " km " << t.inclination;

            host::Simulation sim(TARVIK_DATA_DIR, 60, (dir_ / "host").string());
            sim.loadScenario(padScenarioPath(TARVIK_DATA_DIR, l.name, "LC37B"));
            sim.step();
            sim.pressKey(OAPI_KEY_A);
            sim.step();
            HWND d = host::findDialog(131);
            ASSERT_TRUE(d) << l.name;
            host::typeText(d, 1049, t.altitude);
            host::typeText(d, 1079, t.inclination);
            host::click(d, 1075);
            EXPECT_EQ(!host::controlEnabled(d, 1075), t.flyable)
                << l.name << " " << t.altitude << " km " << t.inclination << ": " << host::controlText(d, 1035);
            for (HWND open : host::openDialogs())
                oapiCloseDialog(open);
        }
    }
}

TEST_F(Fly, WritesThePayloadIntoTheLauncherBlock) {
    const std::string scenario = read(padScenarioPath(TARVIK_DATA_DIR, "TarvikM52", "LC37B"));
    const std::string named = withPayload(scenario, "TarvikM52", parsePayload("deltaglider"));
    EXPECT_NE(named.find("  PAYLOAD vessels/Deltaglider\n  MESH DG/Deltaglider\n  Z_OFFSET 8.04\n  CONFIG 0\n"
                         "  PLDWEIGHT 24500\n  Fairing_attached 0\n"),
              std::string::npos)
        << named;
    // As the configuration dialog has it: too large for the fairing of the 5 m builds, not for SAT3.
    EXPECT_NE(withPayload(scenario, "TarvikM52", parsePayload("SAT2")).find("Fairing_attached 0"), std::string::npos);
    EXPECT_NE(withPayload(scenario, "TarvikM52", parsePayload("SAT3")).find("Fairing_attached 1"), std::string::npos);
    // The pad's block before it is left as it was.
    EXPECT_EQ(named.substr(0, named.find("TarvikM52:")), scenario.substr(0, scenario.find("TarvikM52:")));

    const std::string byMass = withPayload(scenario, "TarvikM52", parsePayload("2750.5"));
    std::string expected = scenario;
    expected.replace(expected.find("PLDWEIGHT 4500"), 14, "PLDWEIGHT 2750.5");
    EXPECT_EQ(byMass, expected) << "a mass alone changes the mass alone";
    EXPECT_EQ(withPayload(scenario, "TarvikM52", parsePayload("")), scenario);

    const CheckedMission c = checkMission(mission("TarvikM54", "LC6", 600, 63.4, false, "sat2"), TARVIK_DATA_DIR);
    EXPECT_EQ(c.payload.name, "SAT2");
    EXPECT_DOUBLE_EQ(c.payload.massKg, 13000);
    EXPECT_DOUBLE_EQ(c.padLatitudeDeg, 34.6);
}

// The README's mission, flown once: the report against the summary of the
// same flight, its timeline, its plots, and the session script it wrote
// flying the same flight again through the script player.
TEST_F(Fly, TheReportAgreesWithTheSummaryAndTheScriptFliesItAgain) {
    const Ran r = run("fly TarvikM52 --pad LC37B --altitude 350 --inclination 28.6 --root m --json");
    ASSERT_EQ(r.status, 0) << r.err;
    const nlohmann::json report = nlohmann::json::parse(r.out);
    EXPECT_EQ(nlohmann::json::parse(read(dir_ / "m/report.json")), report);
    EXPECT_EQ(report["outcome"], "complete");

    const nlohmann::json summary = nlohmann::json::parse(read(dir_ / "m/summary.json"));
    const nlohmann::json* launcher = nullptr;
    for (const nlohmann::json& v : summary["vessels"])
        if (v["name"] == "TarvikM52")
            launcher = &v;
    ASSERT_TRUE(launcher);
    EXPECT_EQ(report["achieved"]["apoapsis_km"], (*launcher)["apoapsis_alt_km"]);
    EXPECT_EQ(report["achieved"]["periapsis_km"], (*launcher)["periapsis_alt_km"]);
    EXPECT_EQ(report["achieved"]["inclination_deg"], (*launcher)["inclination_deg"]);
    EXPECT_EQ(report["propellant_kg"], (*launcher)["propellant_kg"]);
    EXPECT_EQ(report["sim_time_s"], summary["sim_time"]);
    EXPECT_NEAR(report["errors"]["apoapsis_km"].get<double>(),
                (*launcher)["apoapsis_alt_km"].get<double>() - 350, 1e-9);
    EXPECT_NEAR(report["errors"]["inclination_deg"].get<double>(),
                (*launcher)["inclination_deg"].get<double>() - 28.6, 1e-9);
    EXPECT_LT(std::fabs(report["errors"]["apoapsis_km"].get<double>()), 3);
    EXPECT_LT(std::fabs(report["errors"]["periapsis_km"].get<double>()), 3);
    // The suggested correction is what the dialog's "+/-" shows at the end.
    const std::string field = summary["dialogs"][0]["controls"]["1100"];
    EXPECT_EQ(report["suggested_correction"], field);
    EXPECT_DOUBLE_EQ(report["suggested_correction_deg"].get<double>(), std::stod(field));

    // Lift-off, both boosters together, the core, the fairing, cut-off, the
    // circularisation and the completion, in order of mission time.
    std::vector<std::string> kinds;
    double previous = -1;
    for (const nlohmann::json& e : report["timeline"]) {
        kinds.push_back(e["kind"]);
        EXPECT_GE(e["mission_time_s"].get<double>(), previous) << e["event"];
        previous = e["mission_time_s"];
    }
    const std::vector<std::string> wanted = {"liftoff", "separation", "separation", "separation", "cutoff"};
    ASSERT_GE(kinds.size(), wanted.size() + 2);
    EXPECT_EQ(std::vector<std::string>(kinds.begin(), kinds.begin() + 5), wanted);
    EXPECT_EQ(report["timeline"][1]["event"], "boosters separated (TarvikM52gem1, TarvikM52gem4)");
    EXPECT_EQ(kinds[kinds.size() - 2], "circularisation");
    EXPECT_EQ(report["timeline"].back()["event"], "Autopilot Complete");
    EXPECT_DOUBLE_EQ(report["timeline"].back()["mission_time_s"].get<double>(),
                     report["mission_time_s"].get<double>());

    // Every figure has its script; with gnuplot there, its pictures too.
    for (const std::string& name : plotNames()) {
        EXPECT_TRUE(fs::exists(dir_ / "m/plots" / (name + ".gp"))) << name;
        if (!findGnuplot().empty()) {
            for (const char* ext : {".png", ".svg"})
                EXPECT_GT(fs::file_size(dir_ / "m/plots" / (name + ext)), 1000u) << name << ext;
        }
    }
    EXPECT_EQ(report["plots"].size(), findGnuplot().empty() ? 0u : 6u);
    const std::string header = read(dir_ / "m/telemetry.csv").substr(0, 400);
    for (const char* column : {"latitude_deg", "longitude_deg", "flight_path_deg", "orbital_speed_ms"})
        EXPECT_NE(header.find(column), std::string::npos) << column;

    // The pilot's warps as flown: 100 far from the apoapsis, 10 within 300 s
    // of it, real time 100 s before it; the circularisation's first burn
    // starts about 7 s before the apoapsis.
    std::vector<std::pair<double, double>> warps;
    std::istringstream session(read(dir_ / "m/session.txt"));
    for (std::string line; std::getline(session, line);) {
        std::istringstream words(line);
        std::string at, verb;
        double t = 0, warp = 0;
        if (words >> at >> t >> verb >> warp && at == "at" && verb == "warp")
            warps.emplace_back(t, warp);
    }
    ASSERT_EQ(warps.size(), 3u) << read(dir_ / "m/session.txt");
    EXPECT_EQ(warps[0].second, 100);
    EXPECT_EQ(warps[1].second, 10);
    EXPECT_EQ(warps[2].second, 1);
    EXPECT_EQ(report["coast_warp"], 100);
    const double burn = report["liftoff_sim_time_s"].get<double>() +
                        report["timeline"][kinds.size() - 2]["mission_time_s"].get<double>();
    EXPECT_GT(burn - warps[1].first, 290);
    EXPECT_LT(burn - warps[1].first, 300);
    EXPECT_GT(burn - warps[2].first, 90);
    EXPECT_LT(burn - warps[2].first, 100);

    // The pilot's part, played by the script player, is the same flight.
    const Ran again = run("m/scenario.scn --script m/session.txt --root again");
    ASSERT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(read(dir_ / "again/summary.json"), read(dir_ / "m/summary.json"));
    EXPECT_EQ(read(dir_ / "again/events.log"), read(dir_ / "m/events.log"));

    // The stage table as flown: boosters with the core, the core, the upper
    // stage; each stage's velocity is its Isp times the log of its mass
    // ratio, less the little its attitude thrusters burnt (the fairing goes
    // during the upper stage's burn).
    const nlohmann::json& stages = report["stages"];
    ASSERT_EQ(stages.size(), 3u) << stages;
    EXPECT_EQ(stages[0]["stage"], "core and boosters");
    EXPECT_EQ(stages[1]["stage"], "core stage");
    EXPECT_EQ(stages[2]["stage"], "upper stage");
    EXPECT_NEAR(stages[1]["isp_vacuum_ms"].get<double>(), 4200, 1e-9);
    EXPECT_NEAR(stages[2]["isp_vacuum_ms"].get<double>(), 4620, 1e-9);
    const nlohmann::json& core = stages[1];
    const double ideal = 4200 * std::log(core["ignition_mass_kg"].get<double>() / core["burnout_mass_kg"].get<double>());
    EXPECT_NEAR(core["delta_v_ms"].get<double>(), ideal, ideal * 0.003) << core;
    EXPECT_NEAR(core["ignition_mass_kg"].get<double>() - core["burnout_mass_kg"].get<double>(),
                core["propellant_kg"].get<double>(), 1) << core;
    EXPECT_GT(stages[0]["thrust_to_weight"].get<double>(), 1) << "it lifted off";
    double total = 0;
    for (const nlohmann::json& stage : stages)
        total += stage["delta_v_ms"].get<double>();
    EXPECT_NEAR(report["delta_v_total_ms"].get<double>(), total, 0.01);
    EXPECT_GT(total, 8500);
    EXPECT_LT(total, 9500);

    // The text report reads the same numbers.
    std::ostringstream text;
    printReport(reportFromJson(report), text);
    EXPECT_NE(text.str().find("outcome:     Autopilot Complete at mission time"), std::string::npos) << text.str();
    EXPECT_NE(text.str().find("boosters separated"), std::string::npos);
    EXPECT_NE(text.str().find("core stage                 99.9"), std::string::npos) << text.str();
    EXPECT_NE(text.str().find("total delta-v"), std::string::npos);
}

// What the launcher cannot carry is refused before flying, with the
// numbers; --over-capacity flies it after a warning. (TarvikM4 above 3000 kg
// has no pitch table and crashed; SAT2 on a TarvikM52 and a TarvikM54 sent
// to 5000 km flew to a crash or a whole day to the time limit.)
TEST_F(Fly, RefusesAPayloadTheLauncherCannotCarry) {
    const Ran m4 = run("fly TarvikM4 --pad LC37B --altitude 400 --inclination 51.6 --payload 3200 --root m4");
    EXPECT_EQ(m4.status, 2) << m4.err;
    EXPECT_EQ(m4.err,
              "tarvik-sim: TarvikM4 has no pitch table for a payload of 3200 kg: its tables end at 3000 kg, and above "
              "that the autopilot does not pitch over (--over-capacity flies it anyway)\n");
    EXPECT_EQ(reportFromJson(nlohmann::json::parse(read(dir_ / "m4/report.json"))).outcome, Outcome::Refused);
    EXPECT_FALSE(fs::exists(dir_ / "m4/telemetry.csv")) << "nothing flew";

    const Ran sat2 = run("fly TarvikM52 --pad LC37B --altitude 350 --inclination 28.6 --payload SAT2 --root sat2");
    EXPECT_EQ(sat2.status, 2) << sat2.err;
    EXPECT_NE(sat2.err.find("tarvik-sim: SAT2 (13000 kg) is more than TarvikM52 from LC37B at 28.6 deg (ascending "
                            "node) carries to 350 km: "),
              std::string::npos)
        << sat2.err;
    EXPECT_NE(sat2.err.find(" kg by the capacity table ("), std::string::npos) << sat2.err;

    const Ran far = run("fly TarvikM54 --pad LC37B --altitude 5000 --inclination 51.6 --root far");
    EXPECT_EQ(far.status, 2) << far.err;
    EXPECT_NE(far.err.find("tarvik-sim: SAT1 (4500 kg) is more than TarvikM54 from LC37B at 51.6 deg"),
              std::string::npos)
        << far.err;
    EXPECT_NE(far.err.find(", and capacity only falls with altitude"), std::string::npos)
        << far.err;
}

// A flight whose outcome is decided ends there and says why: TarvikM54 to
// 5000 km raised its periapsis a little at each apoapsis for a whole day
// and ended at the time limit with 12 t of propellant left.
TEST_F(Fly, AFlightEndsOnceItCanNoLongerComplete) {
    // Coasting at 100x: the same end, decided after the same burns, in fewer steps.
    const Ran r = run("fly TarvikM54 --pad LC37B --altitude 5000 --inclination 51.6 --over-capacity --no-plots "
                      "--coast-warp 100 --root far");
    EXPECT_EQ(r.status, 3) << r.err;
    EXPECT_NE(r.err.find("tarvik-sim: warning: SAT1 (4500 kg) is more than TarvikM54"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("; flying it as asked (--over-capacity)"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("tarvik-sim: out of reach: the periapsis cannot reach the target before the time limit"),
              std::string::npos)
        << r.err;
    const FlightReport report = reportFromJson(nlohmann::json::parse(read(dir_ / "far/report.json")));
    EXPECT_EQ(report.outcome, Outcome::OutOfReach);
    EXPECT_LT(report.endTime, 43200) << "decided well before the day is over";
    EXPECT_GT(report.propellant, 10000);
}

// A flight cut short by its time limit ends with status 3 and its report;
// without gnuplot it says so in one line and draws nothing.
TEST_F(Fly, ATimeLimitEndsTheFlightWithItsReport) {
    const Ran r = run("fly TarvikM54 --pad LC6 --altitude 600 --inclination 98 --node descending --payload SAT3 "
                      "--correction 0.25 --time-limit 30 --root t",
                      "PATH=/nonexistent");
    EXPECT_EQ(r.status, 3) << r.err;
    EXPECT_NE(r.err.find("tarvik-sim: warning: gnuplot is not installed"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("tarvik-sim: time limit: 'Autopilot Complete' not shown within 30 s"), std::string::npos)
        << r.err;
    EXPECT_EQ(lines(r.err), 2u) << r.err;
    const FlightReport report = reportFromJson(nlohmann::json::parse(read(dir_ / "t/report.json")));
    EXPECT_EQ(report.outcome, tarviksim::Outcome::TimeLimit);
    EXPECT_TRUE(report.liftedOff);
    EXPECT_TRUE(report.plots.empty());
    EXPECT_TRUE(fs::exists(dir_ / "t/plots/ascent.gp"));
    EXPECT_NEAR(report.endTime, 30, 0.02);
    EXPECT_NE(r.out.find("outcome:     time limit"), std::string::npos) << r.out;

    // What the pilot typed and checked, and the payload it flew.
    const std::string session = read(dir_ / "t/session.txt");
    for (const char* line : {"at 2     type 131 1049 600\n", "at 2     type 131 1079 98\n",
                             "at 2     type 131 1100 0.25\n", "at 2     check 131 1086\n", "at 3     click 131 1075\n"})
        EXPECT_NE(session.find(line), std::string::npos) << line << session;
    EXPECT_NE(read(dir_ / "t/scenario.scn").find("  PAYLOAD tarvik/sat3\n  MESH tarvik/sat3\n  Z_OFFSET 2\n"),
              std::string::npos);
    EXPECT_EQ(report.payloadName, "SAT3");
    EXPECT_DOUBLE_EQ(*report.correction, 0.25);
}

TEST_F(Fly, NamesAndBoundsAreTheAutopilots) {
    // Names in any letter case, made canonical.
    const CheckedMission c = checkMission(mission("tarvikm42", "lc6", 500, 34.6), TARVIK_DATA_DIR);
    EXPECT_EQ(c.mission.launcher, "TarvikM42");
    EXPECT_EQ(c.mission.pad, "LC6");
    EXPECT_EQ(c.payload.name, "SAT3") << "the 4 m builds' pad scenarios carry SAT3";

    // The pad's latitude and 180 minus it are reachable, a hundredth beyond is not.
    EXPECT_NO_THROW(checkMission(mission("TarvikM42", "LC6", 500, 145.4), TARVIK_DATA_DIR));
    EXPECT_THROW(checkMission(mission("TarvikM42", "LC6", 500, 34.59), TARVIK_DATA_DIR), MissionError);
    EXPECT_THROW(checkMission(mission("TarvikM42", "LC6", 500, 145.41), TARVIK_DATA_DIR), MissionError);
    EXPECT_THROW(checkMission(mission("TarvikM42", "LC6", 500, 180.5), TARVIK_DATA_DIR), MissionError);

    // TarvikM54 circularises at any altitude; the others below their ceilings.
    EXPECT_NO_THROW(checkMission(mission("TarvikM54", "LC37B", 5000, 51.6), TARVIK_DATA_DIR));
    EXPECT_NO_THROW(checkMission(mission("TarvikM52", "LC37B", 1049.9, 51.6), TARVIK_DATA_DIR));
    EXPECT_THROW(checkMission(mission("TarvikM52", "LC37B", -1, 51.6), TARVIK_DATA_DIR), MissionError);

    // A data folder without the pad scenario.
    EXPECT_THROW(checkMission(mission("TarvikM52", "LC37B", 350, 51.6), TARVIK_TEST_DIR "/data"), MissionError);
}

TEST_F(Fly, TheRangeARefusalOffersIsFlownFromEachPad) {
    // Both bounds the message names are targets the autopilot takes, as typed.
    const std::regex range(R"(the autopilot flies from (\S+) to (\S+) degrees$)");
    for (const char* pad : {"LC37B", "LC6"}) {
        SCOPED_TRACE(pad);
        std::string refusal;
        try {
            checkMission(mission("TarvikM52", pad, 350, 1), TARVIK_DATA_DIR);
        } catch (const MissionError& e) {
            refusal = e.what();
        }
        std::smatch m;
        ASSERT_TRUE(std::regex_search(refusal, m, range)) << refusal;
        for (const std::string& bound : {m[1].str(), m[2].str()}) {
            EXPECT_LE(bound.size(), 5u) << bound << ": more than the dialog reads";
            EXPECT_NO_THROW(checkMission(mission("TarvikM52", pad, 350, std::stod(bound)), TARVIK_DATA_DIR))
                << bound << " offered in: " << refusal;
        }
    }
}

// Flights that end without the autopilot completing, each named for what happened.
TEST_F(Fly, ALauncherThatCannotClimbEndsWithWhatHappened) {
    const Ran heavy = run("fly TarvikM52 --pad LC37B --altitude 350 --inclination 51.6 --payload 600000 --no-plots "
                          "--over-capacity --root heavy");
    EXPECT_EQ(heavy.status, 3) << heavy.err;
    EXPECT_NE(heavy.err.find("tarvik-sim: no lift-off: still on the pad 60 s after LAUNCH"), std::string::npos)
        << heavy.err;

    // TarvikM4 has no pitch table for the 24.5 t DeltaGlider: its dialog refuses LAUNCH.
    const Ran glider =
        run("fly TarvikM4 --pad LC37B --altitude 400 --inclination 51.6 --payload DeltaGlider --no-plots --over-capacity "
            "--root glider");
    EXPECT_EQ(glider.status, 2) << glider.err;
    EXPECT_NE(glider.err.find("No pitch table for a payload of 24500 kg: at most 3000 kg"), std::string::npos)
        << glider.err;

    // SAT2 (13 t) is too heavy for TarvikM52 to reach orbit with.
    const Ran sat2 =
        run("fly TarvikM52 --pad LC37B --altitude 400 --inclination 51.6 --payload SAT2 --no-plots --over-capacity "
            "--root sat2");
    EXPECT_EQ(sat2.status, 3) << sat2.err;
    EXPECT_NE(sat2.err.find("tarvik-sim: crashed: back on the ground at mission time"), std::string::npos)
        << sat2.err;
    const FlightReport report = reportFromJson(nlohmann::json::parse(read(dir_ / "sat2/report.json")));
    EXPECT_EQ(report.outcome, tarviksim::Outcome::Crashed);
    ASSERT_FALSE(report.timeline.empty());
    EXPECT_EQ(report.timeline.front().what, "lift-off");
    EXPECT_EQ(report.timeline.back().kind, "end");
    EXPECT_FALSE(report.suggestedCorrection) << "no cut-off, no suggestion";
}

TEST_F(Fly, AReportReadsBackAsWritten) {
    FlightReport r;
    r.launcher = "TarvikM54";
    r.pad = "LC6";
    r.padLatitude = 34.6;
    r.targetAltitude = 800;
    r.targetInclination = 98;
    r.descending = true;
    r.payloadName = "SAT2";
    r.payloadClass = "tarvik/sat2";
    r.payloadMass = 13000;
    r.correction = -0.4;
    r.outcome = tarviksim::Outcome::PropellantGone;
    r.reason = "every tank empty since mission time 4139.4 s, on an escape orbit";
    r.apoapsis = INFINITY;  // an escape orbit's
    r.periapsis = 801.25;
    r.inclination = 100.5;
    r.propellant = 0;
    r.correctionText = "0.35";
    r.suggestedCorrection = 0.35;
    r.liftedOff = true;
    r.liftoffTime = 4.733;
    r.endTime = 4200.5;
    r.coastWarp = 10;
    r.timeline = {{0, "lift-off", "liftoff", 34.6, -120.6}, {675, "cut-off: apoapsis at the target", "cutoff", 1, 2}};

    const FlightReport back = reportFromJson(nlohmann::json::parse(reportText(r)));
    EXPECT_EQ(reportText(back), reportText(r));
    EXPECT_TRUE(std::isnan(back.apoapsis)) << "not finite: null, and read back as no number";
    EXPECT_DOUBLE_EQ(back.periapsis, 801.25);
    EXPECT_DOUBLE_EQ(*back.correction, -0.4);
    EXPECT_DOUBLE_EQ(back.missionTime(), 4200.5 - 4.733);
    EXPECT_EQ(back.timeline[1].kind, "cutoff");
    EXPECT_THROW(reportFromJson(nlohmann::json::parse(R"({"mission": {}, "outcome": "landed"})")), std::runtime_error);

    // Not UTF-8 in a dialog's text does not stop the report.
    r.correctionText = "\xff";
    EXPECT_NE(reportText(r).find("\xef\xbf\xbd"), std::string::npos);
}

// Interrupted, a flight keeps what it flew so far, whole (events, telemetry,
// summary, the scenario where it was), says how far it got and has no
// report; its pictures so far are whole and no temporary is left. Flying it
// again in the same root starts afresh.
TEST_F(Fly, AnInterruptKeepsTheFlightSoFarWithoutAReport) {
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        if (chdir(dir_.c_str()) != 0 || !freopen("out.txt", "w", stdout) || !freopen("err.txt", "w", stderr))
            _exit(127);
        // High and in real time throughout, the longest of the usual flights
        // (about three quarters of a second, the ascent a quarter of it).
        execl(TARVIK_SIM_EXE, TARVIK_SIM_EXE, "fly", "TarvikM52", "--pad", "LC37B", "--altitude", "1000",
              "--inclination", "28.6", "--coast-warp", "1", "--root", "i", static_cast<char*>(nullptr));
        _exit(127);
    }
    // The pilot's picture of the dialog is taken 2.5 s into the flight; a
    // moment later the flight is well under way, and far from its end.
    for (int i = 0; i < 5000 && !fs::exists(dir_ / "i/autopilot-pad.png"); ++i)
        usleep(2000);
    usleep(50000);
    kill(pid, SIGINT);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 130) << read(dir_ / "err.txt");
    const std::string err = read(dir_ / "err.txt");
    EXPECT_NE(err.find("tarvik-sim: fly: interrupted at mission time "), std::string::npos) << err;
    EXPECT_NE(err.find("holds the flight so far, without a report"), std::string::npos) << err;
    EXPECT_FALSE(fs::exists(dir_ / "i/report.json"));
    const auto summary = nlohmann::json::parse(read(dir_ / "i/summary.json"));
    EXPECT_GE(summary["sim_time"].get<double>(), 2.5);  // at least as far as the picture
    EXPECT_NE(read(dir_ / "i/final.scn").find("TarvikM52:tarvik/tarvikM52"), std::string::npos);
    EXPECT_NE(read(dir_ / "i/events.log").find("dialog opened 131"), std::string::npos);
    EXPECT_EQ(read(dir_ / "i/autopilot-pad.png").substr(1, 3), "PNG");
    for (const auto& entry : fs::recursive_directory_iterator(dir_ / "i"))
        EXPECT_EQ(entry.path().filename().string().find(".tmp-"), std::string::npos) << entry.path();
    EXPECT_FALSE(fs::exists(dir_ / "i/.tarvik-sim.lock"));
}

// The README's kind of aimed mission, low and short: TarvikM4 to 300 km at
// 51.6 deg ends 0.03 deg off with no correction, and the aim's second flight
// brings it within 0.01 deg. The report is that flight's, with both flights
// and the correction to type.
TEST_F(Fly, AnAimedMissionFliesAgainWithTheCorrectionItFound) {
    const Ran r = run("fly TarvikM4 --pad LC37B --altitude 300 --inclination 51.6 --aim --root a");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const std::string last = r.out.substr(r.out.rfind("correction to type"));
    EXPECT_EQ(last.rfind("correction to type into \"+/-\" for these targets: -", 0), 0u) << r.out;

    const FlightReport report = reportFromJson(nlohmann::json::parse(read(dir_ / "a/report.json")));
    ASSERT_TRUE(report.aim);
    const AimRecord& aim = *report.aim;
    ASSERT_EQ(aim.flights.size(), 2u);
    EXPECT_TRUE(aim.within);
    EXPECT_EQ(aim.stop, "within");
    EXPECT_EQ(aim.chosen, 2);
    EXPECT_FALSE(aim.flights[0].correction) << "the first flight as the dialog opens";
    ASSERT_TRUE(aim.flights[1].correction);
    EXPECT_EQ(aim.correctionText, fixedText(*aim.flights[1].correction));
    EXPECT_GT(std::fabs(aim.flights[0].inclination - 51.6), 0.01);
    EXPECT_LE(std::fabs(report.inclination - 51.6), 0.01);
    EXPECT_DOUBLE_EQ(*report.correction, *aim.flights[1].correction) << "the report is the flight kept";
    for (const AimFlight& f : aim.flights) {
        EXPECT_EQ(f.outcome, "complete");
        ASSERT_TRUE(f.cutoffInclination);
        // Each flight is a whole fly of its own, with the correction it typed in its script.
        const FlightReport own = reportFromJson(nlohmann::json::parse(read(dir_ / f.root / "report.json")));
        EXPECT_EQ(own.cutoffInclination, f.cutoffInclination);
        EXPECT_EQ(read(dir_ / f.root / "session.txt").find("type 131 1100") != std::string::npos,
                  f.correction.has_value());
    }
    EXPECT_EQ(aim.flights[1].root, (fs::path("a") / "flight-2").string());
    // The kept flight's plots are drawn in its folder.
    EXPECT_FALSE(report.plots.empty());
    for (const std::string& plot : report.plots)
        EXPECT_EQ(plot.find((fs::path("a") / "flight-2" / "plots").string()), 0u) << plot;
}

// A launch into the station's plane, stopped soon after LAUNCH: the pilot
// picks the station in the orbit list, waits on the pad under time
// acceleration and presses LAUNCH when the pad has turned under the plane,
// early by the time the launcher's plane turns with the Earth.
TEST_F(Fly, ALaunchIntoAStationsPlaneWaitsOnThePadForIt) {
    const Ran r = run("fly TarvikM52 --scenario TarvikM52-LC37B-station.scn --target Outpost --time-limit 1300 "
                      "--no-plots --root p");
    EXPECT_EQ(r.status, 3) << r.err;
    const FlightReport report = reportFromJson(nlohmann::json::parse(read(dir_ / "p/report.json")));
    EXPECT_EQ(report.outcome, tarviksim::Outcome::TimeLimit);
    EXPECT_TRUE(report.liftedOff);
    // The dialog copied the station's altitude and inclination.
    EXPECT_EQ(report.targetAltitude, 400);
    EXPECT_EQ(report.targetInclination, 51.6);
    ASSERT_TRUE(report.plane);
    const PlaneRecord& p = *report.plane;
    EXPECT_EQ(p.target, "Outpost");
    EXPECT_NEAR(p.targetPlane.inclination, 51.6, 1e-6);
    EXPECT_NEAR(p.targetPlane.ascendingNode, 24.2, 1e-6);
    EXPECT_FALSE(p.descending) << "the next pass heads north";
    // By hand: the pad at 42.2323 deg east of the frame's x axis at the
    // start, the plane crossing 28.53429 deg at 25.5282 deg east of its node.
    EXPECT_NEAR(p.passTime, (24.2 + 25.5282 - 42.2323) / (360 / 86164.10132), 0.5);
    EXPECT_NEAR(p.launchTime, p.passTime - kPlaneLead, 0.02);
    EXPECT_NEAR(report.liftoffTime - p.launchTime, 1.7, 0.1) << "held down for 100 steps";
    EXPECT_EQ(p.launchUtc, "2009-06-18 14:43:28.1 UTC");

    const std::string session = read(dir_ / "p/session.txt");
    for (const std::string line : {"at 2     select 131 1083 Outpost\n", "at 2     check 131 1085\n",
                                   "at 3     warp 1000\n", "at 1108.12 warp 1\n", "at 1168.12 click 131 1075\n"})
        EXPECT_NE(session.find(line), std::string::npos) << line << session;
    EXPECT_EQ(session.find("type 131 1079"), std::string::npos) << "the dialog types the targets";
}
