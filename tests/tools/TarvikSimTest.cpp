// tarvik-sim run as a user runs it: a session with dialog input and its
// outputs, a save that loads back to the same summary, how long a run lasts,
// a wait for a text on screen that is met or runs out (status 3), bad input
// that ends with one line and exit status 2, outputs that never destroy an
// earlier run's or an input nor leave the root, one run at a time in a
// root, interrupts that keep the run so far, and what the run must say on
// stderr.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

namespace fs = std::filesystem;

namespace {

struct Outcome {
    int status = -1;
    std::string out, err;
};

std::string read(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void write(const fs::path& p, const std::string& text) {
    std::ofstream(p) << text;
}

class TarvikSim : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ =
            fs::temp_directory_path() / ("tarvik-sim-" + std::to_string(getpid()) + "-" +
                                         std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override {
        if (!HasFailure())
            fs::remove_all(dir_);
    }

    // Runs the program in the test's folder, by default with the test data
    // folder; `shell` comes first on the command line (limits, traps).
    Outcome run(const std::string& args, const std::string& data = TARVIK_TEST_DIR "/data",
                const std::string& shell = "") {
        std::string cmd = "cd '" + dir_.string() + "' && " + shell + "'" TARVIK_SIM_EXE "' --data '" + data + "' " +
                          args + " > out.txt 2> err.txt";
        int raw = std::system(cmd.c_str());
        Outcome r;
        r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        r.out = read(dir_ / "out.txt");
        r.err = read(dir_ / "err.txt");
        return r;
    }

    // The one-line failure of a bad input.
    void expectRejected(const std::string& args, const std::string& message) {
        Outcome r = run(args);
        EXPECT_EQ(r.status, 2) << args << "\n" << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        EXPECT_EQ(r.err.rfind("tarvik-sim: ", 0), 0u) << r.err;
        EXPECT_NE(r.err.find(message), std::string::npos) << "wanted: " << message << "\ngot: " << r.err;
    }

    fs::path dir_;
};

}  // namespace

TEST_F(TarvikSim, PlaysASessionAndWritesItsOutputs) {
    write(dir_ / "session.txt",
          "at 0 key D\n"
          "at 0.5 type 100 10 apogee\n"
          "at 0.5 select 100 41 Moon\n"
          "at 1 click 100 20\n"
          "at 1 click 100 71      # disabled: noted, ignored\n"
          "at 1 snapshot 100 dialog.png\n"
          "at 2 warp 10\n"
          "at 3 throttle 1\n"
          "at 30 focus Ball\n"
          "at 40 save mid.scn\n"
          "at 45 check 100 32\n"
          "at 50 stop\n");
    Outcome r = run("orbit --script session.txt --root run");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("session.txt:5: warning"), std::string::npos) << r.err;
    for (const char* output : {"run/events.log", "run/telemetry.csv", "run/summary.json", "run/final.scn"}) {
        EXPECT_NE(r.out.find(output), std::string::npos) << "not reported: " << output << "\n" << r.out;
        EXPECT_TRUE(fs::exists(dir_ / output)) << output;
    }
    EXPECT_NE(r.out.find("\nBall: apoapsis 4"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find(" km, inclination 0.00 deg, propellant 100 kg\n"), std::string::npos) << r.out;

    std::string events = read(dir_ / "run/events.log");
    EXPECT_NE(events.find("0.000 Tester key D"), std::string::npos) << events;
    EXPECT_NE(events.find("Tester dialog opened 100"), std::string::npos) << events;

    // One telemetry row per second of simulation time, and a last one at the end.
    std::istringstream csv(read(dir_ / "run/telemetry.csv"));
    std::string header, row, last;
    std::getline(csv, header);
    EXPECT_EQ(header.rfind("time_s,focus,altitude_m,airspeed_ms,pitch_deg,heading_deg,apoapsis_alt_km", 0), 0u);
    int rows = 0;
    while (std::getline(csv, row))
        ++rows, last = row;
    EXPECT_GE(rows, 50);  // one per second of simulation time, under time acceleration too
    EXPECT_EQ(last.rfind("50.0", 0), 0u) << last;
    EXPECT_NE(last.find(",Ball,"), std::string::npos) << last;

    auto summary = nlohmann::json::parse(read(dir_ / "run/summary.json"));
    EXPECT_NEAR(summary["sim_time"].get<double>(), 50, 0.2);
    EXPECT_EQ(summary["focus"], "Ball");
    ASSERT_EQ(summary["vessels"].size(), 3u);
    auto ball = summary["vessels"][0];
    EXPECT_EQ(ball["name"], "Ball");
    EXPECT_EQ(ball["class"], "test/ball");
    EXPECT_EQ(ball["landed"], false);
    EXPECT_NEAR(ball["altitude_m"].get<double>(), 400e3, 5e3);
    EXPECT_NEAR(ball["inclination_deg"].get<double>(), 0, 1e-6);
    EXPECT_NEAR(ball["mass_kg"].get<double>(), 600, 1e-9);
    EXPECT_NEAR(ball["propellant_kg"].get<double>(), 100, 1e-9);
    EXPECT_EQ(summary["vessels"][1]["landed"], true);
    EXPECT_TRUE(summary["annotations"].is_array());

    // The open dialog with what its controls show, ids ascending.
    auto dialogs = nlohmann::ordered_json::parse(read(dir_ / "run/summary.json"))["dialogs"];
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0]["id"], 100);
    EXPECT_EQ(dialogs[0]["module"], "TarvikWindowTest");
    EXPECT_EQ(dialogs[0]["caption"], "Window test");
    auto controls = dialogs[0]["controls"];
    EXPECT_EQ(controls["10"], "apogee");
    EXPECT_EQ(controls["60"], "got apogee");
    EXPECT_EQ(controls["41"], "Moon");  // a drop-down list shows its selected entry
    EXPECT_EQ(controls["70"], "secret");
    EXPECT_EQ(dialogs[0]["entries"].dump(), R"({"41":["Earth","Moon","Mars"]})");
    EXPECT_EQ(dialogs[0]["checked"].dump(), "[32]");
    std::vector<int> ids;
    for (auto it = controls.begin(); it != controls.end(); ++it)
        ids.push_back(std::stoi(it.key()));
    EXPECT_EQ(ids, (std::vector<int>{2, 10, 20, 21, 31, 32, 33, 40, 41, 50, 60, 61, 62, 63, 64, 65, 66, 70, 71}));

    EXPECT_EQ(read(dir_ / "run/dialog.png").substr(1, 3), "PNG");
    EXPECT_TRUE(fs::exists(dir_ / "run/mid.scn"));
}

TEST_F(TarvikSim, SavedScenarioLoadsBackToTheSameSummary) {
    write(dir_ / "fly.txt", "at 1 warp 100\nat 1 focus Ball\n");
    Outcome first = run("orbit --script fly.txt --duration 300 --summary first.json --save saved.scn --root run");
    ASSERT_EQ(first.status, 0) << first.err;
    Outcome second = run("saved.scn --duration 0 --summary second.json --root run2");
    ASSERT_EQ(second.status, 0) << second.err;

    auto a = nlohmann::json::parse(read(dir_ / "first.json"));
    auto b = nlohmann::json::parse(read(dir_ / "second.json"));
    EXPECT_NEAR(a["sim_time"].get<double>(), 300, 1);
    EXPECT_EQ(a.dump(2), b.dump(2));  // the flight time is carried in the saved scenario
}

TEST_F(TarvikSim, RunsToTheScriptsStopPast600SecondsOnlyWithOne) {
    write(dir_ / "long.txt", "at 0 warp 100\nat 1 focus Rock\nat 900 stop\n");
    Outcome r = run("orbit --script long.txt --root long");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NEAR(nlohmann::json::parse(read(dir_ / "long/summary.json"))["sim_time"].get<double>(), 900, 2);
    EXPECT_NE(r.out.find("\nRock: stands on the ground, propellant 100 kg\n"), std::string::npos) << r.out;

    write(dir_ / "nostop.txt", "at 0 warp 100\n");
    r = run("orbit --script nostop.txt --root nostop");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NEAR(nlohmann::json::parse(read(dir_ / "nostop/summary.json"))["sim_time"].get<double>(), 600, 2);
}

// The heavy launcher shows "Mission time:" and the mission clock from its
// first step; the clock runs from lift-off, about 2.7 s after the start.
TEST_F(TarvikSim, WaitforHoldsTheScriptUntilItsTextIsShown) {
    write(dir_ / "liftoff.txt",
          "at 1 throttle 1\n"
          "at 4 save before.scn    # before the wait in the file: runs at its time\n"
          "at 2 waitfor 60 5.1     # mission clock at 5.1 s\n"
          "at 2 save after.scn\n"
          "at 2 stop\n");
    Outcome r = run("TarvikHP-LC6 --script liftoff.txt --root met", TARVIK_DATA_DIR);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    auto summary = nlohmann::json::parse(read(dir_ / "met/summary.json"));
    EXPECT_NEAR(summary["sim_time"].get<double>(), 7.83, 0.05);
    EXPECT_EQ(summary["annotations"][1], "5.1");
    EXPECT_NE(read(dir_ / "met/before.scn"), read(dir_ / "met/after.scn"));  // saved 3.8 s apart
}

TEST_F(TarvikSim, WaitforThatRunsOutEndsTheRunWithStatusThree) {
    write(dir_ / "autopilot.txt",
          "at 1 throttle 1\n"
          "at 1 waitfor 5 Autopilot Complete\n"
          "at 100 stop\n");
    Outcome r = run("TarvikHP-LC6 --script autopilot.txt --root late", TARVIK_DATA_DIR);
    EXPECT_EQ(r.status, 3);
    EXPECT_EQ(r.err, "tarvik-sim: autopilot.txt:2: 'Autopilot Complete' not shown within 5 s\n");
    for (const char* output : {"late/events.log", "late/telemetry.csv", "late/summary.json", "late/final.scn"})
        EXPECT_TRUE(fs::exists(dir_ / output)) << output;
    EXPECT_NE(r.out.find("\nTarvikHP: apoapsis "), std::string::npos) << r.out;
    EXPECT_NEAR(nlohmann::json::parse(read(dir_ / "late/summary.json"))["sim_time"].get<double>(), 6, 0.02);

    // A run that ends before the wait is over did not get there either.
    r = run("TarvikHP-LC6 --script autopilot.txt --root short --duration 3", TARVIK_DATA_DIR);
    EXPECT_EQ(r.status, 3);
    EXPECT_EQ(r.err, "tarvik-sim: autopilot.txt:2: 'Autopilot Complete' not shown before the run ended at 3 s\n");
    EXPECT_TRUE(fs::exists(dir_ / "short/summary.json"));
}

TEST_F(TarvikSim, BadInputEndsWithOneLineAndStatusTwo) {
    expectRejected("nowhere.scn", "nowhere.scn: no such scenario");
    expectRejected("orbit --fps fast", "--fps: 'fast' is not a frame rate above 0");
    expectRejected("orbit --fps 100000", "at most 1000");
    expectRejected("orbit --duration -5", "--duration: '-5' is not a number of seconds");
    expectRejected("orbit --duration 86401", "--duration: '86401' is not a number of seconds from 0 to 86400");
    expectRejected("orbit --duration 1e9", "--duration: '1e9' is not a number of seconds from 0 to 86400");
    expectRejected("orbit --sparkle", "sparkle");
    expectRejected("", "SCENARIO");

    write(dir_ / "broken.scn", "BEGIN_SHIPS\nBall:test/nosuchclass\n  STATUS Orbiting Earth\nEND\nEND_SHIPS\n");
    expectRejected("broken.scn", "broken.scn");

    write(dir_ / "typo.txt", "at 0 key D\n# fine so far\nat 1 fly away\n");
    expectRejected("orbit --script typo.txt", "typo.txt:3: unknown command 'fly'");
    write(dir_ / "number.txt", "at 1 throttle lots\n");
    expectRejected("orbit --script number.txt", "number.txt:1: bad throttle level 'lots'");
    expectRejected("orbit --script missing.txt", "missing.txt: cannot read the script");
    fs::create_directories(dir_ / "folder.txt");
    expectRejected("orbit --script folder.txt", "folder.txt: cannot read the script: not a regular file");

    write(dir_ / "empty.scn", "");
    expectRejected("empty.scn", "empty.scn: no vessels");
    write(dir_ / "cut.scn", "BEGIN_ENVIRONMENT\n  Date MJD 55000.5\nEND_ENVIRONMENT\n");
    expectRejected("cut.scn", "cut.scn: no vessels");

    // Whatever the file holds, the message is one short printable line.
    write(dir_ / "binary.scn", std::string("\x1b]0;gotcha\x07\0", 12) + std::string(1 << 20, 'x') + "\n");
    Outcome r = run("binary.scn");
    EXPECT_EQ(r.status, 2);
    EXPECT_LT(r.err.size(), 300u) << r.err.size();
    EXPECT_NE(r.err.find("'\\x1b]0;gotcha\\x07\\x00xxx"), std::string::npos) << r.err;

    // Found only while running: input to a dialog that is not open, a vessel that is not there.
    write(dir_ / "closed.txt", "at 0 key D\nat 1 click 100 2\nat 2 click 100 20\n");
    expectRejected("orbit --script closed.txt", "closed.txt:3: dialog 100 is not open");
    write(dir_ / "ghost.txt", "at 1 focus Ghost\n");
    expectRejected("orbit --script ghost.txt", "ghost.txt:1: no vessel named 'Ghost'");
    write(dir_ / "entry.txt", "at 0 key D\nat 1 select 100 41 Venus\n");
    expectRejected("orbit --script entry.txt", "entry.txt:2: control 41 of dialog 100 has no entry 'Venus'");
}

TEST_F(TarvikSim, AFailedRunLeavesTheLastRunsOutputsAndNoOutputOverwritesAnInput) {
    ASSERT_EQ(run("orbit --duration 1 --root run").status, 0);
    const std::string events = read(dir_ / "run/events.log"), summary = read(dir_ / "run/summary.json");
    write(dir_ / "broken.scn",
          "BEGIN_SHIPS\nBall:test/nosuchclass\n  STATUS Orbiting Earth\n  RPOS 6771010 0 0\nEND\nEND_SHIPS\n");
    EXPECT_EQ(run("broken.scn --root run").status, 2);
    EXPECT_EQ(read(dir_ / "run/events.log"), events);
    EXPECT_EQ(read(dir_ / "run/summary.json"), summary);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_ / "run"), {}), 4);  // no temporary file left

    fs::copy_file(TARVIK_TEST_DIR "/data/Scenarios/orbit.scn", dir_ / "mine.scn");
    const std::string scenario = read(dir_ / "mine.scn");
    expectRejected("mine.scn --events mine.scn", "mine.scn: the event log would overwrite the scenario this run reads");
    expectRejected("mine.scn --save ./mine.scn", "the final scenario would overwrite the scenario");
    EXPECT_EQ(read(dir_ / "mine.scn"), scenario);
    write(dir_ / "stop.txt", "at 1 stop\n");
    expectRejected("orbit --script stop.txt --telemetry stop.txt", "the telemetry would overwrite the script");
    expectRejected("orbit --summary out.json --save out.json", "the summary and the final scenario name one file");
    write(dir_ / "saves.txt", "at 1 save mine.scn\n");
    expectRejected("mine.scn --script saves.txt --root .", "saves.txt:1: the save 'mine.scn' would overwrite the scenario");
    write(dir_ / "saves.txt", "at 1 save events.log\n");
    expectRejected("orbit --script saves.txt --root run", "saves.txt:1: the save 'events.log' and the event log name one file");
    EXPECT_EQ(read(dir_ / "mine.scn"), scenario);
    ASSERT_EQ(::mkfifo((dir_ / "pipe").c_str(), 0600), 0);
    expectRejected("orbit --telemetry pipe", "pipe: cannot write the telemetry file: not a regular file");
    EXPECT_TRUE(fs::is_fifo(dir_ / "pipe"));
}

// With a file-size limit writes fail part-way: the run is not killed, it says
// so with status 1, keeps the last run's outputs and leaves no temporary file.
TEST_F(TarvikSim, AFailedWriteEndsWithStatusOneNamingTheFile) {
    ASSERT_EQ(run("orbit --duration 1 --root run").status, 0);
    const std::string telemetry = read(dir_ / "run/telemetry.csv"), saved = read(dir_ / "run/final.scn");
    Outcome r = run("orbit --duration 600 --root run", TARVIK_TEST_DIR "/data", "ulimit -f 8; ");
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_EQ(r.err.rfind("tarvik-sim: run/telemetry.csv: cannot write the telemetry file", 0), 0u) << r.err;
    EXPECT_EQ(read(dir_ / "run/telemetry.csv"), telemetry);
    EXPECT_EQ(read(dir_ / "run/final.scn"), saved);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_ / "run"), {}), 4);
}

// Every output stays where it belongs: a script's snapshot or save through a
// link out of the root, into a pipe or over the data folder is refused
// before the run starts, as is a named output over a class configuration;
// nothing outside is touched and no temporary is left.
TEST_F(TarvikSim, NoOutputLeavesTheRootOrReplacesAPipeOrTheData) {
    fs::create_directories(dir_ / "outside");
    write(dir_ / "outside/secret", "keep me\n");
    fs::create_directories(dir_ / "run");
    fs::create_symlink(dir_ / "outside/secret", dir_ / "run/shot.png");
    write(dir_ / "shot.txt", "at 0 key D\nat 1 snapshot 100 shot.png\n");
    expectRejected("orbit --script shot.txt --root run",
                   "shot.txt:2: run/shot.png: cannot write the snapshot: a symbolic link out of the folder");
    write(dir_ / "up.txt", "at 0 key D\nat 1 snapshot 100 ../outside/secret\n");
    expectRejected("orbit --script up.txt --root run", "up.txt:2: run/../outside/secret: cannot write the snapshot: it "
                                                        "lies outside the folder");
    ASSERT_EQ(::mkfifo((dir_ / "run/pipe.scn").c_str(), 0600), 0);
    write(dir_ / "pipe.txt", "at 1 save pipe.scn\n");
    expectRejected("orbit --script pipe.txt --root run", "pipe.txt:1: run/pipe.scn: cannot write the save: not a "
                                                          "regular file");
    fs::remove(dir_ / "run/shot.png");
    fs::create_symlink(dir_ / "outside/secret", dir_ / "run/events.log");
    expectRejected("orbit --root run", "run/events.log: cannot write the event log: a symbolic link out of the folder");
    EXPECT_EQ(read(dir_ / "outside/secret"), "keep me\n");
    EXPECT_TRUE(fs::is_fifo(dir_ / "run/pipe.scn"));

    fs::copy(TARVIK_TEST_DIR "/data", dir_ / "data", fs::copy_options::recursive);
    const std::string ball = read(dir_ / "data/Config/test/ball.cfg");
    Outcome r = run("orbit --duration 1 --root fresh --save data/Config/test/ball.cfg", (dir_ / "data").string());
    EXPECT_EQ(r.status, 2) << r.err;
    EXPECT_NE(r.err.find("cannot write the scenario: it lies in the class configurations this run reads"),
              std::string::npos)
        << r.err;
    // A root folder made inside the data folder is the run's own; the rest of it is not.
    write(dir_ / "data.txt", "at 1 save " + (dir_ / "data/Scenarios/new.scn").string() + "\n");
    r = run("orbit --script data.txt --root data/runs", (dir_ / "data").string());
    EXPECT_EQ(r.status, 2) << r.err;
    EXPECT_NE(r.err.find("data.txt:1: "), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("cannot write the save: it lies in the scenarios this run reads"), std::string::npos) << r.err;
    EXPECT_EQ(run("orbit --duration 1 --root data/runs", (dir_ / "data").string()).status, 0);
    EXPECT_EQ(read(dir_ / "data/Config/test/ball.cfg"), ball);
    for (const auto& entry : fs::recursive_directory_iterator(dir_))
        EXPECT_EQ(entry.path().filename().string().find(".tmp-"), std::string::npos) << entry.path();
}

// One run at a time in a root folder: a second one names the run that holds
// it. A run that was killed leaves no lock behind, and the next run removes
// the temporaries it left.
TEST_F(TarvikSim, OneRunAtATimeInARootAndWhatAKilledRunLeftGoes) {
    fs::create_directories(dir_ / "run");
    const int held = ::open((dir_ / "run/.tarvik-sim.lock").c_str(), O_RDWR | O_CREAT, 0644);
    ASSERT_GE(held, 0);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    const std::string holder = "pid 4242 since 2024-05-01 10:00:00: tarvik-sim fly TarvikM52\n";
    ASSERT_EQ(::write(held, holder.data(), holder.size()), static_cast<ssize_t>(holder.size()));
    expectRejected("orbit --duration 1 --root run",
                   "run: another run is using this folder (pid 4242 since 2024-05-01 10:00:00: tarvik-sim fly "
                   "TarvikM52); one run at a time in a root folder");
    ::close(held);
    EXPECT_FALSE(fs::exists(dir_ / "run/events.log"));

    // Killed in the middle of its flight, a run leaves its temporaries.
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        if (chdir(dir_.c_str()) != 0 || !freopen("/dev/null", "w", stdout) || !freopen("/dev/null", "w", stderr))
            _exit(127);
        execl(TARVIK_SIM_EXE, TARVIK_SIM_EXE, "orbit", "--data", TARVIK_TEST_DIR "/data", "--duration", "86400",
              "--root", "run", static_cast<char*>(nullptr));
        _exit(127);
    }
    auto temporaries = [&] {
        int n = 0;
        for (const auto& entry : fs::recursive_directory_iterator(dir_ / "run"))
            n += entry.path().filename().string().find(".tmp-") != std::string::npos;
        return n;
    };
    for (int i = 0; i < 200 && temporaries() < 4; ++i)
        usleep(20000);
    kill(pid, SIGKILL);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_EQ(temporaries(), 4);

    Outcome r = run("orbit --duration 1 --root run");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "tarvik-sim: warning: removed 4 temporary files an interrupted run left in run\n");
    EXPECT_EQ(temporaries(), 0);
    EXPECT_FALSE(fs::exists(dir_ / "run/.tarvik-sim.lock"));
}

// SIGINT or SIGTERM ends a run at the step it is at: every output is written
// whole as far as the run got, the status tells the signal, and no
// temporary is left.
TEST_F(TarvikSim, AnInterruptKeepsTheRunSoFarWholeAndLeavesNothingBehind) {
    for (int signal : {SIGINT, SIGTERM}) {
        const std::string root = "run" + std::to_string(signal);
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            if (chdir(dir_.c_str()) != 0 || !freopen("out.txt", "w", stdout) || !freopen("err.txt", "w", stderr))
                _exit(127);
            execl(TARVIK_SIM_EXE, TARVIK_SIM_EXE, "orbit", "--data", TARVIK_TEST_DIR "/data", "--duration", "86400",
                  "--root", root.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        usleep(500000);
        kill(pid, signal);
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        ASSERT_TRUE(WIFEXITED(status)) << signal;
        EXPECT_EQ(WEXITSTATUS(status), 128 + signal);
        const std::string err = read(dir_ / "err.txt");
        EXPECT_EQ(err.rfind("tarvik-sim: interrupted at ", 0), 0u) << err;
        EXPECT_NE(err.find(" s of simulation time; the outputs hold the run so far\n"), std::string::npos) << err;
        const auto summary = nlohmann::json::parse(read(dir_ / root / "summary.json"));
        EXPECT_GT(summary["sim_time"].get<double>(), 0);
        EXPECT_LT(summary["sim_time"].get<double>(), 86400);
        EXPECT_NE(read(dir_ / root / "final.scn").find("END_SHIPS"), std::string::npos);
        std::vector<std::string> files;
        for (const auto& entry : fs::directory_iterator(dir_ / root))
            files.push_back(entry.path().filename().string());
        std::sort(files.begin(), files.end());
        EXPECT_EQ(files, (std::vector<std::string>{"events.log", "final.scn", "summary.json", "telemetry.csv"}));
    }
}

// Text that is not UTF-8 typed into a dialog reaches the summary as U+FFFD.
TEST_F(TarvikSim, TheSummaryIsWrittenWhateverTheTextsHold) {
    write(dir_ / "latin1.txt", "at 0 key D\nat 1 type 100 10 caf\xe9\nat 2 stop\n");
    Outcome r = run("orbit --script latin1.txt --root run");
    ASSERT_EQ(r.status, 0) << r.err;
    auto summary = nlohmann::json::parse(read(dir_ / "run/summary.json"));
    EXPECT_EQ(summary["dialogs"][0]["controls"]["10"], "caf\xef\xbf\xbd");
    EXPECT_TRUE(fs::exists(dir_ / "run/final.scn"));
}

TEST_F(TarvikSim, CommandsTimedAfterTheEndOfTheRunAreNamed) {
    write(dir_ / "late.txt", "at 0 warp 100\nat 700 key D\nat 800 waitfor 5 Ready\n");
    Outcome r = run("orbit --script late.txt --duration 600 --root run");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err,
              "tarvik-sim: late.txt: warning: not run, timed after the run ended at 600 s: line 2 (key at 700 s), "
              "line 3 (waitfor at 800 s)\n");
}

// The launchers themselves, with the project's data: a value that is not a
// number is not taken, and a payload that cannot be created is not lost
// silently.
class TarvikSimLaunchers : public TarvikSim {
protected:
    std::string scenario(const std::string& from, const std::string& to) {
        std::string text = read(TARVIK_DATA_DIR "/Scenarios/TarvikM52-LC37B.scn");
        text.replace(text.find(from), from.size(), to);
        return text;
    }
    double launcherMass(const std::string& root) {
        const auto summary = nlohmann::json::parse(read(dir_ / root / "summary.json"));
        for (const auto& v : summary["vessels"])
            if (v["name"] == "TarvikM52")
                return v["mass_kg"].is_number() ? v["mass_kg"].get<double>() : -1;
        return -2;
    }
};

TEST_F(TarvikSimLaunchers, NotANumberIsNotTakenFromTheScenarioOrTheHandOffFile) {
    ASSERT_EQ(run(TARVIK_DATA_DIR "/Scenarios/TarvikM52-LC37B.scn --duration 0 --root plain", TARVIK_DATA_DIR).status,
              0);
    const double mass = launcherMass("plain");
    ASSERT_GT(mass, 0);

    write(dir_ / "nan.scn", scenario("PLDWEIGHT 4500", "PLDWEIGHT nan"));
    ASSERT_EQ(run("nan.scn --duration 0 --root nan", TARVIK_DATA_DIR).status, 0);
    EXPECT_GT(launcherMass("nan"), 0);

    fs::create_directories(dir_ / "temp");
    write(dir_ / "temp/temp", "PLDWEIGHT = nan\nZ_OFFSET = inf\n");
    write(dir_ / "handoff.scn", scenario("  PLDWEIGHT 4500\n", ""));
    ASSERT_EQ(run("handoff.scn --duration 0 --root temp", TARVIK_DATA_DIR).status, 0);
    EXPECT_GT(launcherMass("temp"), 0);

    // The mission clock runs from lift-off, also when the scenario's is not a number.
    write(dir_ / "clock.scn", scenario("missiontime 0", "missiontime nan"));
    write(dir_ / "liftoff.txt", "at 0 throttle 1\nat 8 stop\n");
    ASSERT_EQ(run("clock.scn --script liftoff.txt --root clock", TARVIK_DATA_DIR).status, 0);
    const std::string saved = read(dir_ / "clock/final.scn");
    const size_t at = saved.find("missiontime ");
    ASSERT_NE(at, std::string::npos);
    EXPECT_GT(std::stod(saved.substr(at + 12)), 1);
}

TEST_F(TarvikSimLaunchers, APayloadThatCannotBeCreatedIsReportedOnStderr) {
    std::string text =
        scenario("  STATUS Landed Earth\n  POS -80.5680 28.53429\n  HEADING 30.00\n  PAYLOAD tarvik/sat1",
                 "  STATUS Orbiting Earth\n  RPOS 6771010 0 0\n  RVEL 0 0 7672\n  PAYLOAD tarvik/nosuch");
    text.replace(text.find("CONFIG 0"), 8, "CONFIG 3");
    text.replace(text.find("Fairing_attached 1"), 18, "Fairing_attached 0");
    write(dir_ / "release.scn", text);
    write(dir_ / "release.txt", "at 1 key J\nat 2 stop\n");
    Outcome r = run("release.scn --script release.txt --root run", TARVIK_DATA_DIR);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err.rfind("tarvik-sim: warning: 1.000 TarvikM52 could not create tarvik/nosuch (tarvik/nosuch): ", 0),
              0u)
        << r.err;
}

// A wait for what the autopilot shows after a launch it refused says why it
// refused, instead of only that the text never came.
TEST_F(TarvikSimLaunchers, AWaitAfterARefusedLaunchSaysWhyTheDialogRefused) {
    write(dir_ / "refused.txt",
          "at 1 key A\n"
          "at 2 type 131 1049 300\n"
          "at 2 type 131 1079 28.5   # below the pad's latitude\n"
          "at 3 click 131 1075\n"
          "at 3 waitfor 20 Autopilot Complete\n"
          "at 3 stop\n");
    Outcome r = run("TarvikM52-LC37B --script refused.txt --root refused", TARVIK_DATA_DIR);
    EXPECT_EQ(r.status, 3);
    EXPECT_EQ(r.err,
              "tarvik-sim: refused.txt:5: 'Autopilot Complete' not shown within 20 s: the autopilot dialog refused "
              "LAUNCH: Inclination 28.50 is out of reach from latitude 28.53\n");

    // A launch the dialog took and a wait that runs out say nothing of the kind.
    write(dir_ / "taken.txt",
          "at 1 key A\n"
          "at 2 type 131 1079 28.6\n"
          "at 3 click 131 1075\n"
          "at 3 waitfor 5 Autopilot Complete\n");
    r = run("TarvikM52-LC37B --script taken.txt --root taken", TARVIK_DATA_DIR);
    EXPECT_EQ(r.status, 3);
    EXPECT_EQ(r.err, "tarvik-sim: taken.txt:4: 'Autopilot Complete' not shown within 5 s\n");
}

TEST_F(TarvikSim, HelpNamesEveryOption) {
    Outcome r = run("--help");
    EXPECT_EQ(r.status, 0);
    for (const char* option : {"--script", "--duration", "--fps", "--data", "--root", "--events", "--telemetry",
                               "--telemetry-interval", "--summary", "--save", "600", "86400", "waitfor"})
        EXPECT_NE(r.out.find(option), std::string::npos) << option;
}
