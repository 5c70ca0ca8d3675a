// tarvik-sim matrix: the cases it flies, the table and verdict it makes of
// their reports, at most -j flights at a time, the same table from its
// listed commands run elsewhere and collected, the same table twice, and an
// interrupt that leaves no flight behind and keeps the finished cases.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <thread>

#include "Fly.h"
#include "Matrix.h"
#include "sim/Simulation.h"

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

std::string read(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void write(const fs::path& p, const std::string& text) {
    std::ofstream(p) << text;
}

int shell(const std::string& command) {
    const int raw = std::system(command.c_str());
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

// The most flights matrix.log shows running at once, and every process id in it.
int mostAtOnce(const std::string& log, std::vector<pid_t>* pids = nullptr) {
    std::istringstream in(log);
    int running = 0, most = 0;
    for (std::string line; std::getline(in, line);) {
        std::istringstream words(line);
        std::string time, what, id, pidWord;
        pid_t pid = 0;
        words >> time >> what >> id >> pidWord >> pid;
        if (what == "start") {
            most = std::max(most, ++running);
            if (pids)
                pids->push_back(pid);
        } else if (what == "end" || what == "stopped") {
            --running;
        }
    }
    return most;
}

class Matrix : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("tarvik-matrix-" + std::to_string(getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override {
        if (!HasFailure())
            fs::remove_all(dir_);
    }
    std::string inDir(const std::string& command) const {
        return "cd '" + dir_.string() + "' && " + command;
    }
    fs::path dir_;
};

FlightReport flown(const std::string& launcher, double altitude, double inclination, Outcome outcome,
                   double apoapsis, double periapsis, double reached) {
    FlightReport r;
    r.launcher = launcher;
    r.pad = "LC37B";
    r.targetAltitude = altitude;
    r.targetInclination = inclination;
    r.payloadName = "SAT1";
    r.payloadMass = 4500;
    r.outcome = outcome;
    r.reason = outcome == Outcome::Complete ? "Autopilot Complete" : "every tank empty since mission time 612.0 s";
    r.apoapsis = apoapsis;
    r.periapsis = periapsis;
    r.inclination = reached;
    r.liftedOff = true;
    r.liftoffTime = 4.65;
    r.endTime = 3141.5;
    return r;
}

}  // namespace

TEST_F(Matrix, TheDefaultCasesAreEveryBuildPadAltitudeAndTwoInclinationsPerPad) {
    const std::vector<MatrixCase> cases = expandCases({});
    ASSERT_EQ(cases.size(), 4u * 2 * 3 * 2);
    std::set<std::string> ids;
    for (const MatrixCase& c : cases) {
        ids.insert(c.id);
        const Mission& m = c.mission;
        if (m.pad == "LC6")
            EXPECT_TRUE((m.inclinationDeg == 63.4 && !m.descending) || (m.inclinationDeg == 98 && m.descending)) << c.id;
        else
            EXPECT_TRUE((m.inclinationDeg == 30 || m.inclinationDeg == 51.6) && !m.descending) << c.id;
    }
    EXPECT_EQ(ids.size(), cases.size());
    EXPECT_EQ(cases.front().id, "TarvikM4-LC37B-300km-30deg-asc");

    // Given inclinations go for every pad; a node may come with one.
    MatrixAxes axes;
    axes.launchers = {"TarvikM52"};
    axes.altitudes = {500};
    axes.inclinations = {parseInclinationChoice("51.6"), parseInclinationChoice("98:descending")};
    axes.payloads = {"", "SAT2", "2000"};
    const std::vector<MatrixCase> some = expandCases(axes);
    ASSERT_EQ(some.size(), 2u * 2 * 3);
    EXPECT_EQ(some[4].id, "TarvikM52-LC37B-500km-98deg-desc-SAT2");
    EXPECT_EQ(some[5].id, "TarvikM52-LC37B-500km-98deg-desc-2000kg");
    EXPECT_THROW(parseInclinationChoice("98:sideways"), MissionError);

    // A list of cases reads back as the same cases; a bad line is named.
    EXPECT_EQ(casesCsv(parseCasesCsv(casesCsv(some), "cases.csv")), casesCsv(some));
    try {
        parseCasesCsv("launcher,pad,altitude_km,inclination_deg\nTarvikM52,LC6,300,63.4\nTarvikM52,LC6,high,63.4\n",
                      "cases.csv");
        ADD_FAILURE() << "a bad altitude was taken";
    } catch (const host::InputError& e) {
        EXPECT_EQ(e.line, 3);
        EXPECT_NE(std::string(e.what()).find("altitude 'high'"), std::string::npos) << e.what();
    }
    EXPECT_THROW(parseCasesCsv("launcher,pad\nTarvikM52,LC6\n", "cases.csv"), host::InputError);
}

TEST_F(Matrix, TheTableHasARowPerCaseAndTheVerdictNamesWhatDidNotComplete) {
    std::vector<CaseResult> results(3);
    results[0].c.mission = mission("TarvikM52", "LC37B", 350, 51.6);
    results[0].c.id = "TarvikM52-LC37B-350km-51.6deg-asc";
    results[0].report = flown("TarvikM52", 350, 51.6, Outcome::Complete, 352.5, 349.0, 51.6);
    results[1].c.mission = mission("TarvikM4", "LC37B", 900, 30);
    results[1].c.id = "TarvikM4-LC37B-900km-30deg-asc";
    results[1].report = flown("TarvikM4", 900, 30, Outcome::PropellantGone, 880, 120, 29.1);
    results[2].c.mission = mission("TarvikM54", "LC37B", 600, 30);
    results[2].c.id = "TarvikM54-LC37B-600km-30deg-asc";
    results[2].problem = "not run";

    const std::string md = resultsMarkdown(results);
    EXPECT_NE(md.find("| TarvikM52 | LC37B | 350 km, 51.6° | ascending | SAT1 | complete | +2.5 | -1.0 | +0.00 | 3137 |"),
              std::string::npos)
        << md;
    EXPECT_NE(md.find("- TarvikM4-LC37B-900km-30deg-asc: propellant gone, every tank empty"), std::string::npos) << md;
    EXPECT_NE(md.find("- TarvikM54-LC37B-600km-30deg-asc: not run"), std::string::npos) << md;

    const std::string csv = resultsCsv(results);
    std::istringstream rows(csv);
    std::string header, row;
    std::getline(rows, header);
    const long columns = std::count(header.begin(), header.end(), ',');
    int count = 0;
    while (std::getline(rows, row)) {
        EXPECT_EQ(std::count(row.begin(), row.end(), ','), columns) << row;
        ++count;
    }
    EXPECT_EQ(count, 3);

    const std::string v = verdict(results);
    EXPECT_EQ(v.find('\n'), std::string::npos);
    EXPECT_EQ(v.rfind("3 cases: 1 complete; apsides within 2.5 km (worst TarvikM52-LC37B-350km-51.6deg-asc)", 0), 0u)
        << v;
    EXPECT_NE(v.find("not complete: TarvikM4-LC37B-900km-30deg-asc (propellant gone), "
                     "TarvikM54-LC37B-600km-30deg-asc (not finished)"),
              std::string::npos)
        << v;
}

// Aimed cases: the table tells how many flights each took and the correction
// found, names a case that came short of its aim, and the verdict counts
// those within; such a case is not a success.
TEST_F(Matrix, AnAimedTableHasTheFlightsAndTheCorrectionAndCountsThoseWithin) {
    auto aimed = [](FlightReport r, int flights, const std::string& correction, bool within) {
        AimRecord a;
        a.flights.resize(static_cast<size_t>(flights));
        a.within = within;
        a.correctionText = correction;
        a.reason = within ? "the inclination within 0.01 deg of 30.00"
                          : "not within 0.01 deg of 30.00 after 4 flights; flight 3 came closest, 0.011 deg off";
        r.aim = a;
        return r;
    };
    std::vector<CaseResult> results(3);
    results[0].c.mission = mission("TarvikM52", "LC37B", 350, 28.6);
    results[0].c.id = "TarvikM52-LC37B-350km-28.6deg-asc";
    results[0].report = aimed(flown("TarvikM52", 350, 28.6, Outcome::Complete, 350.1, 349.9, 28.605), 2, "-4.49", true);
    results[1].c.mission = mission("TarvikM4", "LC37B", 300, 30);
    results[1].c.id = "TarvikM4-LC37B-300km-30deg-asc";
    results[1].report = aimed(flown("TarvikM4", 300, 30, Outcome::Complete, 315.3, 300.2, 30.011), 4, "-3.48", false);
    results[2].c.mission = mission("TarvikM52", "LC6", 300, 30);
    results[2].c.id = "TarvikM52-LC6-300km-30deg-asc";
    results[2].report = refusedReport(results[2].c.mission, "inclination 30 is out of reach from LC6");

    const std::string md = resultsMarkdown(results);
    EXPECT_NE(md.find("| mission time s | propellant kg | flights | correction |\n"), std::string::npos) << md;
    EXPECT_NE(md.find("| complete | +0.1 | -0.1 | +0.005 | 3137 | 0 | 2 | -4.49 |\n"), std::string::npos) << md;
    EXPECT_NE(md.find("| refused | | | | | | | |\n"), std::string::npos) << md;
    EXPECT_NE(md.find("- TarvikM4-LC37B-300km-30deg-asc: aim: not within 0.01 deg of 30.00 after 4 flights"),
              std::string::npos)
        << md;
    const std::string csv = resultsCsv(results);
    EXPECT_NE(csv.find(",propellant_kg,flights,correction\n"), std::string::npos) << csv;
    EXPECT_NE(csv.find(",2,-4.49\n"), std::string::npos) << csv;
    EXPECT_NE(verdict(results).find("; aimed: 1 of 2 complete within 0.01° (not: TarvikM4-LC37B-300km-30deg-asc)"),
              std::string::npos)
        << verdict(results);
    std::ostringstream out;
    EXPECT_EQ(reportResults(results, dir_.string(), out), 3);

    // A table of cases flown once each has neither column.
    results[0].report->aim.reset();
    results[1].report->aim.reset();
    EXPECT_EQ(resultsMarkdown(results).find("flights"), std::string::npos);
    EXPECT_EQ(resultsCsv(results).find("flights"), std::string::npos);
}

// Short flights (a time limit of 40 s) are enough to see the runner at work.
TEST_F(Matrix, RunsAtMostJobsAtOnceAndItsListedCommandsGiveTheSameTable) {
    const std::string axes =
        "--launchers TarvikM52,TarvikM4 --pads LC37B,LC6 --altitudes 300 --inclinations 51.6,30 --time-limit 40";
    ASSERT_EQ(shell(inDir("'" TARVIK_SIM_EXE "' matrix " + axes + " -j 2 --out a > a.txt 2> a.err")), 3)
        << read(dir_ / "a.err");
    EXPECT_EQ(mostAtOnce(read(dir_ / "a/matrix.log")), 2) << read(dir_ / "a/matrix.log");
    const std::string table = read(dir_ / "a/results.md");
    EXPECT_NE(table.find("| TarvikM4 | LC6 | 300 km, 30° | ascending | default | refused |"), std::string::npos)
        << table;
    EXPECT_NE(read(dir_ / "a.txt").find("8 cases: 0 complete;"), std::string::npos) << read(dir_ / "a.txt");

    ASSERT_EQ(shell(inDir("'" TARVIK_SIM_EXE "' matrix " + axes + " -j 1 --out b > b.txt 2> b.err")), 3);
    EXPECT_EQ(mostAtOnce(read(dir_ / "b/matrix.log")), 1);
    EXPECT_EQ(read(dir_ / "b/results.csv"), read(dir_ / "a/results.csv"));
    EXPECT_EQ(read(dir_ / "b/results.md"), table);

    ASSERT_EQ(shell(inDir("'" TARVIK_SIM_EXE "' matrix " + axes + " --out c --list > list.txt")), 0);
    const std::string list = read(dir_ / "list.txt");
    EXPECT_EQ(std::count(list.begin(), list.end(), '\n'), 8) << list;
    shell(inDir("xargs -d '\\n' -n 1 -P 2 sh -c < list.txt"));  // the flights that do not complete make it 123
    ASSERT_EQ(shell(inDir("'" TARVIK_SIM_EXE "' matrix --collect c > c.txt 2> c.err")), 3) << read(dir_ / "c.err");
    EXPECT_EQ(read(dir_ / "c/results.csv"), read(dir_ / "a/results.csv"));
    EXPECT_EQ(read(dir_ / "c/results.md"), table);
}

TEST_F(Matrix, AnInterruptStopsEveryFlightAndKeepsTheFinishedCases) {
    // A case refused at once, then flights that run for a long time.
    write(dir_ / "cases.csv",
          "launcher,pad,altitude_km,inclination_deg,node\n"
          "TarvikM52,LC6,300,30,\n"
          "TarvikM54,LC6,900,63.4,ascending\n"
          "TarvikM54,LC6,800,98,descending\n"
          "TarvikM54,LC37B,900,51.6,\n");
    const pid_t matrix = fork();
    ASSERT_GE(matrix, 0);
    if (matrix == 0) {
        if (chdir(dir_.c_str()) != 0)
            _exit(127);
        freopen("out.txt", "w", stdout);
        freopen("err.txt", "w", stderr);
        execl(TARVIK_SIM_EXE, TARVIK_SIM_EXE, "matrix", "cases.csv", "-j", "2", "--out", "m",
              static_cast<char*>(nullptr));
        _exit(127);
    }
    // Wait for the refused case to end and two long flights to run.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    std::string log;
    while (std::chrono::steady_clock::now() < deadline) {
        log = read(dir_ / "m/matrix.log");
        if (log.find(" end TarvikM52-LC6-300km-30deg-asc") != std::string::npos &&
            std::count(log.begin(), log.end(), '\n') >= 4)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    kill(matrix, SIGINT);
    int status = 0;
    ASSERT_EQ(waitpid(matrix, &status, 0), matrix);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 130) << read(dir_ / "err.txt");
    EXPECT_NE(read(dir_ / "err.txt").find("interrupted after 1 of 4 cases"), std::string::npos) << read(dir_ / "err.txt");

    std::vector<pid_t> pids;
    log = read(dir_ / "m/matrix.log");
    EXPECT_EQ(mostAtOnce(log, &pids), 2) << log;
    EXPECT_EQ(pids.size(), 3u) << log;
    for (pid_t pid : pids)
        EXPECT_NE(kill(pid, 0), 0) << "flight " << pid << " still runs";
    EXPECT_NE(log.find(" stopped TarvikM54-"), std::string::npos) << log;

    const std::string csv = read(dir_ / "m/results.csv");
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 2) << csv;
    EXPECT_NE(csv.find("TarvikM52-LC6-300km-30deg-asc,TarvikM52,LC6,300,30,ascending,,,,refused,"), std::string::npos)
        << csv;
}

TEST_F(Matrix, AListedCommandRunsAsWrittenWhereverItsFolderIs) {
    // Blanks and quotes in the folder: every word of the command is quoted as it must be.
    const std::string out = (dir_ / "runs with 'quotes' here").string();
    MatrixCase c;
    c.mission = mission("TarvikM52", "LC6", 300, 30);
    c.id = caseId(c.mission);
    FlySettings settings;
    settings.timeLimit = 20;
    const std::string line = listedCommand(TARVIK_SIM_EXE, c, out, settings);
    EXPECT_EQ(shell("cd / && " + line), 2) << line;
    const std::vector<CaseResult> results = collectResults({c}, out);
    ASSERT_TRUE(results[0].report) << results[0].problem;
    EXPECT_EQ(results[0].report->outcome, Outcome::Refused);
    EXPECT_NE(read(fs::path(caseDir(out, c)) / "fly.err").find("out of reach from LC6"), std::string::npos);

    // Columns in any order, comments, and a case listed twice.
    const std::vector<MatrixCase> cases = parseCasesCsv(
        "# two flights\npad,launcher,inclination_deg,altitude_km,payload\nLC6,TarvikM54,98,800,SAT2\n\n"
        "LC37B,TarvikM4,51.6,300,\n",
        "cases.csv");
    ASSERT_EQ(cases.size(), 2u);
    EXPECT_EQ(cases[0].id, "TarvikM54-LC6-800km-98deg-asc-SAT2");
    EXPECT_THROW(parseCasesCsv("launcher,pad,altitude_km,inclination_deg\nTarvikM4,LC6,300,63.4\nTarvikM4,LC6,300,63.4\n",
                               "cases.csv"),
                 host::InputError);
}

// Settings every flight would refuse are refused once, before anything
// flies; a quoted input stays short whatever it holds.
TEST_F(Matrix, SettingsOutOfRangeAreBadInput) {
    const std::string cases = "--launchers TarvikM52 --pads LC37B --altitudes 300 --inclinations 30 --out m";
    for (const auto& [option, message] :
         {std::pair{"--fps 0", "matrix: frame rate '0' is not above 0 and at most 1000"},
          std::pair{"--fps 1e6", "frame rate '1e6' is not above 0"},
          std::pair{"--time-limit 2", "time limit '2' s is not above 3"},
          std::pair{"--coast-warp 0.5", "time acceleration '0.5' is not from 1 to 1000"},
          std::pair{"-j 0", "-j '0' is not a whole number"}}) {
        EXPECT_EQ(shell(inDir("'" TARVIK_SIM_EXE "' matrix " + cases + " " + option + " > o.txt 2> e.txt")), 2)
            << option;
        const std::string err = read(dir_ / "e.txt");
        EXPECT_NE(err.find(message), std::string::npos) << err;
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    }
    EXPECT_FALSE(fs::exists(dir_ / "m/cases"));
    EXPECT_EQ(shell(inDir("'" TARVIK_SIM_EXE "' matrix --altitudes " + std::string(5000, '9') + "x > o.txt 2> e.txt")),
              2);
    EXPECT_LT(read(dir_ / "e.txt").size(), 160u) << read(dir_ / "e.txt");
}

// A file of cases is read as CSV: quoted fields (with commas, quotes and line
// breaks in them), and no column named twice.
TEST_F(Matrix, AFileOfCasesIsReadAsCsv) {
    const std::vector<MatrixCase> cases = parseCasesCsv(
        "\"launcher\",pad,altitude_km,inclination_deg,payload,correction_deg\r\n"
        "\"TarvikM52\",\"LC37B\", \"350\" ,30,\"SAT,\"\"2\"\"\nnext\",\r\n"
        "TarvikM4,LC6,300,63.4,,\"0.1\"\n",
        "cases.csv");
    ASSERT_EQ(cases.size(), 2u);
    EXPECT_EQ(cases[0].mission.launcher, "TarvikM52");
    EXPECT_EQ(cases[0].mission.altitudeKm, 350);
    EXPECT_EQ(cases[0].mission.payload, "SAT,\"2\"\nnext");
    ASSERT_TRUE(cases[1].mission.correctionDeg);
    EXPECT_EQ(*cases[1].mission.correctionDeg, 0.1);

    const std::pair<const char*, const char*> bad[] = {
        {"launcher,pad,altitude_km,inclination_deg,altitude_km\nTarvikM52,LC6,300,63.4,900\n",
         "cases.csv:1: the column 'altitude_km' is named twice"},
        {"launcher,pad,altitude_km,inclination_deg\nTarvikM52,LC6,300,63.4\nTarvikM52,LC6,\"300,63.4\n",
         "cases.csv:3: a quoted field is not closed"},
        {"launcher,pad,altitude_km,inclination_deg\nTarvikM52,LC6,\"300\"km,63.4\n",
         "cases.csv:2: text after a quoted field's closing quote"},
        {"launcher,pad,altitude_km,inclination_deg\nTarvikM52,LC6,300,63,4\n",
         "cases.csv:2: 5 fields where the header names 4"},
    };
    for (const auto& [text, message] : bad) {
        try {
            parseCasesCsv(text, "cases.csv");
            ADD_FAILURE() << "taken: " << text;
        } catch (const host::InputError& e) {
            EXPECT_NE(std::string(e.what()).find(message), std::string::npos) << e.what();
        }
    }
}

// The listed commands are one per line for a shell, xargs and GNU parallel,
// whatever the folder's name holds: a line break in it is refused.
TEST_F(Matrix, AListIsOneSafeCommandPerLineOrNone) {
    const std::string axes = "--launchers TarvikM52 --pads LC6 --altitudes 300 --inclinations 63.4 --list";
    EXPECT_EQ(shell(inDir("'" TARVIK_SIM_EXE "' matrix " + axes + " --out \"$(printf 'runs\\ntouch injected')\" > l.txt 2> e.txt")),
              2);
    EXPECT_NE(read(dir_ / "e.txt").find("holds a line break, and the listed commands are one per line"),
              std::string::npos)
        << read(dir_ / "e.txt");
    EXPECT_EQ(read(dir_ / "l.txt"), "");
    shell(inDir("xargs -r -d '\\n' -n 1 sh -c < l.txt"));
    EXPECT_FALSE(fs::exists(dir_ / "injected"));

    // Quotes, blanks and a semicolon are words like any other.
    ASSERT_EQ(shell(inDir("'" TARVIK_SIM_EXE "' matrix " + axes + " --out \"it's; touch injected\" > l.txt")), 0);
    const std::string list = read(dir_ / "l.txt");
    EXPECT_EQ(std::count(list.begin(), list.end(), '\n'), 1) << list;
    shell(inDir("xargs -r -d '\\n' -n 1 sh -c < l.txt"));
    EXPECT_FALSE(fs::exists(dir_ / "injected"));
    EXPECT_TRUE(fs::exists(dir_ / "it's; touch injected/cases/TarvikM52-LC6-300km-63.4deg-asc/report.json"));
}

// A folder that holds another matrix's results is not taken over silently.
TEST_F(Matrix, AnotherMatrixsResultsAreReplacedOnlyWhenAskedTo) {
    const std::string base = "'" TARVIK_SIM_EXE "' matrix --pads LC6 --altitudes 300 --inclinations 63.4 --list --out o";
    ASSERT_EQ(shell(inDir(base + " --launchers TarvikM52 > l.txt 2> e.txt")), 0) << read(dir_ / "e.txt");
    const std::string plan = read(dir_ / "o/cases.csv");
    ASSERT_EQ(shell(inDir(base + " --launchers TarvikM52 > l.txt 2> e.txt")), 0);  // the same matrix again
    EXPECT_EQ(shell(inDir(base + " --launchers TarvikM4 > l.txt 2> e.txt")), 2);
    EXPECT_NE(read(dir_ / "e.txt").find("o holds the results of another matrix (its cases.csv lists other cases); "
                                        "give --replace"),
              std::string::npos)
        << read(dir_ / "e.txt");
    EXPECT_EQ(read(dir_ / "o/cases.csv"), plan);
    ASSERT_EQ(shell(inDir(base + " --launchers TarvikM4 --replace > l.txt 2> e.txt")), 0) << read(dir_ / "e.txt");
    EXPECT_NE(read(dir_ / "o/cases.csv").find("TarvikM4,LC6"), std::string::npos);
}
