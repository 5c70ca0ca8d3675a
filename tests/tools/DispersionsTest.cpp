// Dispersed flights: every dispersion at zero flies the plain flight byte for
// byte, a seed flies its run again byte for byte, and `dispersions` gives the
// same table flown itself, at one or two at a time, or listed and collected.
// The flights are short (a time limit within the ascent): what is compared is
// the flight, not its end.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "MonteCarlo.h"

namespace fs = std::filesystem;
using namespace tarviksim;

namespace {

std::string read(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

int shell(const std::string& command) {
    const int raw = std::system(command.c_str());
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

class Dispersed : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("tarvik-dispersed-" + std::to_string(getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        std::ofstream(dir_ / "zero.txt") << "thrust 0%\nthrust.main 0%\nthrust.boosters 0%\nisp 0%\nisp.main 0%\n"
                                            "isp.boosters 0%\nmass.empty 0%\npropellant.load 0%\ndrag 0% 0%\n"
                                            "density 0%\nlaunch.delay 0 0 s\n";
    }
    void TearDown() override {
        if (!HasFailure())
            fs::remove_all(dir_);
    }
    int run(const std::string& args, const std::string& name) {
        return shell("cd '" + dir_.string() + "' && '" TARVIK_SIM_EXE "' " + args + " > " + name + ".out 2> " + name +
                     ".err");
    }
    std::string text(const std::string& file) const { return read(dir_ / file); }
    fs::path dir_;
};

const std::string kFly = "fly TarvikM52 --pad LC37B --altitude 350 --inclination 51.6 --time-limit 150 --no-plots ";

}  // namespace

TEST_F(Dispersed, AtZeroAFlightIsThePlainOneAndASeedFliesItsRunAgain) {
    ASSERT_EQ(run(kFly + "--root plain", "plain"), 3) << text("plain.err");
    // Flown as a series flies its runs, without the dialog's pictures.
    ASSERT_EQ(run(kFly + "--root zero --dispersions zero.txt --seed 5 --no-pictures", "zero"), 3) << text("zero.err");
    for (const char* f : {"telemetry.csv", "events.log", "final.scn"})
        EXPECT_EQ(text(std::string("zero/") + f), text(std::string("plain/") + f)) << f;
    EXPECT_TRUE(fs::exists(dir_ / "plain/autopilot-pad.png"));
    EXPECT_FALSE(fs::exists(dir_ / "zero/autopilot-pad.png"));
    // The summary only adds the factors, every one 1.
    nlohmann::json zero = nlohmann::json::parse(text("zero/summary.json"));
    const nlohmann::json factors = zero["dispersion"];
    EXPECT_EQ(factors["seed"], 5);
    EXPECT_EQ(factors["thrust.main"], 1.0);
    EXPECT_EQ(factors["launch.delay"], 0.0);
    zero.erase("dispersion");
    EXPECT_EQ(zero, nlohmann::json::parse(text("plain/summary.json")));

    ASSERT_EQ(run(kFly + "--root a --dispersions default --seed 5", "a"), 3) << text("a.err");
    ASSERT_EQ(run(kFly + "--root b --dispersions default --seed 5", "b"), 3) << text("b.err");
    for (const char* f : {"telemetry.csv", "events.log", "final.scn", "summary.json", "session.txt"})
        EXPECT_EQ(text(std::string("a/") + f), text(std::string("b/") + f)) << f;
    EXPECT_NE(text("a/telemetry.csv"), text("plain/telemetry.csv"));
    // The pilot waits the drawn delay before LAUNCH; the report carries the draws.
    const nlohmann::json report = nlohmann::json::parse(text("a/report.json"));
    const double delay = report["dispersion"]["launch.delay"];
    EXPECT_GT(delay, 0);
    EXPECT_NE(text("a/session.txt").find(" click 131 1075"), std::string::npos);
    EXPECT_EQ(text("a/session.txt").find("at 3     click 131 1075"), std::string::npos) << text("a/session.txt");
    EXPECT_NE(report["dispersion"]["file"].get<std::string>().find("dispersions/default.txt"), std::string::npos);
    EXPECT_NE(report["dispersion"]["thrust.main"], 1.0);

    // Its session script flies it again, as it says, with its draws.
    const std::string replay = text("a/session.txt");
    const std::string how = replay.substr(replay.find("'tarvik-sim ") + 12);
    EXPECT_NE(how.find("--dispersions "), std::string::npos) << replay;
    EXPECT_EQ(shell("cd '" + (dir_ / "a").string() + "' && '" TARVIK_SIM_EXE "' scenario.scn --script session.txt " +
                    "--root again --duration 150 " + how.substr(how.find("--dispersions"), how.find("'") - how.find("--dispersions")) +
                    " > again.out 2>&1"),
              3)  // its wait for "Autopilot Complete" cut short, as the flight's was
        << text("a/again.out");
    EXPECT_EQ(text("a/again/telemetry.csv"), text("a/telemetry.csv"));

    EXPECT_EQ(run(kFly + "--root c --seed 5", "c"), 2);
    EXPECT_NE(text("c.err").find("--seed draws dispersions"), std::string::npos) << text("c.err");
}

// A strong core engine (+4%) empties its tank some 18 s before the stage timer
// separates it; the upper stage flies on with a tank of its own. This
// flight was ended as "propellant gone" after 10 s of empty tanks.
TEST_F(Dispersed, ACoreStageBurntOutEarlyCoastsToItsSeparation) {
    std::ofstream(dir_ / "strong.txt") << "thrust.main 4% 4%\n";
    ASSERT_EQ(run(kFly.substr(0, kFly.find("--time-limit")) + "--time-limit 300 --no-plots --root s --dispersions strong.txt",
                  "s"),
              3)
        << text("s.err");
    EXPECT_NE(text("s.err").find("time limit: 'Autopilot Complete' not shown within 300 s"), std::string::npos)
        << text("s.err");
    EXPECT_NE(text("s/report.json").find("core stage separated"), std::string::npos);
}

TEST_F(Dispersed, TheSeriesTableIsTheSameFlownAtOnceOrListedAndCollected) {
    const std::string mission =
        "dispersions TarvikM52 --pad LC37B --altitude 350 --inclination 51.6 --file default --runs 3 --time-limit 60 ";
    const std::string series = mission + "--seed 11 ";
    ASSERT_EQ(run(series + "-j 2 --out a", "a"), 3) << text("a.err");  // the time limit ends each run short
    const std::string csv = text("a/runs.csv");
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 4) << csv;
    EXPECT_NE(csv.find("\n2," + std::to_string(host::runSeed(11, 1)) + ","), std::string::npos) << csv;
    EXPECT_NE(text("a/summary.md").find("Completed: **0 of 3**"), std::string::npos) << text("a/summary.md");

    ASSERT_EQ(run(series + "-j 1 --out b", "b"), 3) << text("b.err");
    EXPECT_EQ(text("b/runs.csv"), csv);

    ASSERT_EQ(run(series + "--out c --list", "list"), 0) << text("list.err");
    const std::string list = text("list.out");
    EXPECT_EQ(std::count(list.begin(), list.end(), '\n'), 3) << list;
    shell("cd '" + dir_.string() + "' && sh list.out");
    ASSERT_EQ(run("dispersions --collect c", "collect"), 3) << text("collect.err");
    EXPECT_EQ(text("c/runs.csv"), csv);
    EXPECT_EQ(text("c/summary.md"), text("a/summary.md"));

    // Another series in the same folder is refused unless replaced.
    EXPECT_EQ(run(mission + "--seed 12 --out a", "other"), 2);
    EXPECT_NE(text("other.err").find("holds the runs of another series"), std::string::npos) << text("other.err");

    ASSERT_EQ(run(series + "--out d --slurm", "slurm"), 0) << text("slurm.err");
    const std::string script = text("d/dispersions.slurm");
    EXPECT_NE(script.find("#SBATCH --array=1-3\n"), std::string::npos) << script;
    EXPECT_NE(script.find("sed -n \"${SLURM_ARRAY_TASK_ID}p\""), std::string::npos) << script;
    const std::string commands = text("d/commands.txt");
    EXPECT_EQ(std::count(commands.begin(), commands.end(), '\n'), 3) << commands;
}

TEST_F(Dispersed, BadInputIsRefusedBeforeAnythingFlies) {
    std::ofstream(dir_ / "bad.txt") << "thrust.main 1%\ndrag five\n";
    const std::string base = "dispersions TarvikM52 --pad LC37B --altitude 350 --inclination 51.6 --out o ";
    const struct {
        std::string args, message;
    } refused[] = {
        {"--file bad.txt --runs 2", "bad.txt:2: drag takes a 1-sigma"},
        {"--file nowhere.txt --runs 2", "nowhere.txt"},
        {"--file default --runs 0", "--runs '0' is not a whole number from 1 to 100000"},
        {"--file default --runs 2 --seed -1", "seed '-1' is not a whole number"},
        {"--file default --runs 2 --aim --correction 1", "give --aim or --correction, not both"},
        {"--runs 2", "--file is required"},
    };
    for (const auto& r : refused) {
        EXPECT_EQ(run(base + r.args, "r"), 2) << r.args;
        EXPECT_NE(text("r.err").find(r.message), std::string::npos) << r.args << ": " << text("r.err");
        EXPECT_FALSE(fs::exists(dir_ / "o" / "cases")) << r.args;
    }
}

TEST(SeriesStatistics, MeanSpreadAndFirstPercentile) {
    std::vector<double> v;
    for (int i = 200; i >= 1; --i)
        v.push_back(i);
    const Spread s = spreadOf(v);
    EXPECT_EQ(s.count, 200u);
    EXPECT_DOUBLE_EQ(s.mean, 100.5);
    EXPECT_NEAR(s.sigma, 57.879185, 1e-6);  // sample standard deviation of 1..200
    EXPECT_EQ(s.min, 1);
    EXPECT_EQ(s.max, 200);
    EXPECT_EQ(s.p01, 2);  // nearest rank: the 2nd of 200
    EXPECT_EQ(spreadOf({7}).p01, 7);
    EXPECT_EQ(spreadOf({7}).sigma, 0);
    EXPECT_EQ(spreadOf({}).count, 0u);
}
