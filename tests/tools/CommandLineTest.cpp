// What every tarvik-sim command line offers, as a user meets it: --help lists
// the commands, each answers --help and --version, -q leaves nothing but a
// failure's line, a run on a terminal shows its progress, and the folders of
// the plug-ins and the data can be named by option or environment.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

namespace fs = std::filesystem;

namespace {

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

size_t lines(const std::string& s) {
    return static_cast<size_t>(std::count(s.begin(), s.end(), '\n'));
}

class CommandLine : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("tarvik-cli-" + std::to_string(getpid()) + "-" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override {
        if (!HasFailure())
            fs::remove_all(dir_);
    }

    // Runs `variables tarvik-sim args` in the test's folder.
    Ran run(const std::string& args, const std::string& variables = "") {
        return shell(variables + " '" TARVIK_SIM_EXE "' " + args);
    }

    Ran shell(const std::string& command) {
        const std::string cmd = "cd '" + dir_.string() + "' && " + command + " > out.txt 2> err.txt < /dev/null";
        const int raw = std::system(cmd.c_str());
        Ran r;
        r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        r.out = read(dir_ / "out.txt");
        r.err = read(dir_ / "err.txt");
        return r;
    }

    // The command names --help lists, in its order.
    std::vector<std::string> listedCommands() {
        const Ran help = run("--help");
        EXPECT_EQ(help.status, 0);
        std::vector<std::string> names;
        const std::regex entry(R"(^  tarvik-sim ([a-z][a-z-]*) \[OPTIONS\] +\S.*$)");
        std::istringstream text(help.out);
        for (std::string line; std::getline(text, line);) {
            std::smatch m;
            if (std::regex_match(line, m, entry))
                names.push_back(m[1]);
        }
        return names;
    }

    fs::path dir_;
};

const std::string kVersionLine = std::string("tarvik-sim ") + TARVIK_VERSION + "\n";
const std::string kData = std::string("--data '") + TARVIK_DATA_DIR + "' ";

}  // namespace

TEST_F(CommandLine, HelpListsEveryCommandAndEachAnswersHelpAndVersion) {
    const std::vector<std::string> commands = listedCommands();
    for (const char* expected : {"fly", "matrix"})
        EXPECT_NE(std::find(commands.begin(), commands.end(), expected), commands.end()) << expected;

    const Ran typo = run(kData + "flyy");
    EXPECT_EQ(typo.status, 2);
    EXPECT_NE(typo.err.find("no command or scenario 'flyy' (commands: fly, matrix"), std::string::npos) << typo.err;

    const Ran version = run("--version");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, kVersionLine) << "--version must not need a scenario";
    for (const std::string& command : commands) {
        SCOPED_TRACE(command);
        const Ran help = run(command + " --help");
        EXPECT_EQ(help.status, 0) << help.err;
        EXPECT_NE(help.out.find("Usage: tarvik-sim " + command), std::string::npos) << help.out;
        for (const char* common : {"--version", "-q,--quiet", "--modules"})
            EXPECT_NE(help.out.find(common), std::string::npos) << common;
        const Ran v = run(command + " --version");
        EXPECT_EQ(v.status, 0) << v.err;
        EXPECT_EQ(v.out, kVersionLine);
    }
}

TEST_F(CommandLine, QuietLeavesNothingButTheFailureLine) {
    // A run that succeeds says nothing and still writes its outputs.
    Ran r = run(kData + "TarvikM52-LC37B --duration 1 -q --root quiet");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "");
    EXPECT_TRUE(fs::exists(dir_ / "quiet/summary.json"));

    // Warnings are silenced too: a command timed after the end of the run.
    std::ofstream(dir_ / "late.txt") << "at 5 key A\n";
    r = run(kData + "TarvikM52-LC37B --script late.txt --duration 1 --quiet --root late");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");

    // Failures keep their one line, for every kind of command line.
    for (const std::string& args :
         std::vector<std::string>{kData + "-q nosuch.scn", "-q --fps 0 TarvikM52-LC37B",
                                  "fly TarvikM52 --pad LC37B --altitude 350 --inclination 20 -q --root refused",
                                  "matrix -q --launchers TarvikM9"}) {
        SCOPED_TRACE(args);
        r = run(args);
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(lines(r.err), 1u) << r.err;
        EXPECT_EQ(r.err.rfind("tarvik-sim: ", 0), 0u) << r.err;
    }
}

TEST_F(CommandLine, ARunOnATerminalShowsItsProgressAndElsewhereNot) {
    // The autopilot's ascent at 200 frames a second: 120,000 steps, several
    // tenths of a second on the clock, past the first line's 0.1 s.
    const std::string args = kData + "TarvikM52-LC37B --script '" + TARVIK_DATA_DIR +
                             "/scripts/m52-autopilot.txt' --duration 600 --fps 200 --root progress";
    const Ran plain = run(args);
    EXPECT_EQ(plain.status, 3) << "the wait for completion is cut short";
    EXPECT_EQ(lines(plain.err), 1u) << "no progress line into a file: " << plain.err;

    if (std::system("command -v script > /dev/null 2>&1") != 0)
        GTEST_SKIP() << "no `script` to give the run a terminal";
    // util-linux's script gives the program a terminal and copies what it shows.
    const std::string inner = "'" TARVIK_SIM_EXE "' " + args;
    const Ran shown = shell("script -qec \"" + inner + "\" /dev/null");
    EXPECT_EQ(shown.status, 3) << shown.out;
    EXPECT_NE(shown.out.find("simulated s per wall second"), std::string::npos) << shown.out;
    EXPECT_NE(shown.out.find("simulation time "), std::string::npos);
    EXPECT_NE(shown.out.find("TarvikM52: "), std::string::npos) << "the orbit line still follows";

    const Ran quiet = shell("script -qec \"" + inner + " -q\" /dev/null");
    EXPECT_EQ(quiet.out.find("simulated s per wall second"), std::string::npos) << quiet.out;
}

TEST_F(CommandLine, ThePluginsAndTheDataFolderCanBeNamed) {
    fs::create_directories(dir_ / "empty");
    const std::string scenario = "TarvikM52-LC37B --duration 0 --root named";

    // The build's own plug-ins fly; an empty folder has none to load.
    EXPECT_EQ(run(kData + scenario + " --modules '" + TARVIK_MODULE_DIR + "'").status, 0);
    Ran r = run(kData + scenario + " --modules empty");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("empty"), std::string::npos) << r.err;
    r = run(kData + scenario, "TARVIK_MODULES=empty");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("empty"), std::string::npos) << r.err;
    r = run(kData + scenario + " --modules no-such-folder");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("no-such-folder"), std::string::npos) << r.err;

    // The data folder from the environment; --data still wins.
    r = run(scenario, std::string("TARVIK_DATA='") + TARVIK_DATA_DIR + "'");
    EXPECT_EQ(r.status, 0) << r.err;
    r = run(scenario, "TARVIK_DATA=empty");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("empty/Scenarios"), std::string::npos) << r.err;
    EXPECT_EQ(run(kData + scenario, "TARVIK_DATA=empty").status, 0);
}
