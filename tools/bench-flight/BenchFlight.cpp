// bench-flight [--runs N] [--data DIR] [SCENARIO SCRIPT]: flies a mission
// the way tarvik-sim flies it (by default the shipped autopilot mission,
// TarvikM52 from LC37B to 350 km at 28.6 degrees) N times (default 3) and
// prints, for each flight and as the median, the steps flown, the CPU and
// wall seconds and the steps per CPU second, then the orbit reached.
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "Session.h"
#include "sim/Simulation.h"

namespace {

double cpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec + t.tv_nsec * 1e-9;
}

double wallSeconds() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec + t.tv_nsec * 1e-9;
}

// The frames of a run that ended at simulation time `end`: the time it ran
// at each time acceleration (changes are in its event log) over the frame
// length times that acceleration.
long long stepsOf(const std::string& eventLog, double end, double fps) {
    std::ifstream in(eventLog);
    const std::string key = " time acceleration ";
    double steps = 0, warp = 1, from = 0;
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        double t = 0;
        std::string vessel, what;
        fields >> t >> vessel;
        std::getline(fields, what);
        if (what.rfind(key, 0) == 0) {
            steps += (t - from) * fps / warp;
            from = t;
            warp = std::atof(what.c_str() + key.size());
        }
    }
    return static_cast<long long>(steps + (end - from) * fps / warp + 0.5);
}

// The simulation time of the telemetry's last row: the end of the run.
double endOf(const std::string& telemetry) {
    std::ifstream in(telemetry);
    std::string line, last;
    while (std::getline(in, line))
        if (!line.empty())
            last = line;
    return std::atof(last.c_str());
}

struct Flight {
    long long steps = 0;
    double simulated = 0, cpu = 0, wall = 0;
    std::string orbit;  // the report's last line: the focus vessel's orbit
};

Flight fly(const tarviksim::Options& options) {
    std::ostringstream report, warnings;
    const double cpu0 = cpuSeconds(), wall0 = wallSeconds();
    const tarviksim::RunResult result = tarviksim::runSession(options, report, warnings);
    Flight f;
    f.cpu = cpuSeconds() - cpu0;
    f.wall = wallSeconds() - wall0;
    if (!result.unmetWait.empty())
        std::cerr << "bench-flight: " << result.unmetWait << '\n';
    f.simulated = endOf(options.rootDir + "/telemetry.csv");
    f.steps = stepsOf(options.rootDir + "/events.log", f.simulated, options.fps);
    std::string line;
    std::istringstream lines(report.str());
    while (std::getline(lines, line))
        if (!line.empty())
            f.orbit = line;
    return f;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

int usage(std::ostream& out, int status) {
    out << "usage: bench-flight [--runs N] [--data DIR] [SCENARIO SCRIPT]\n"
           "Flies the mission as tarvik-sim does, N times (default 3), and prints each run's steps,\n"
           "CPU and wall seconds and steps per CPU second, their median and the orbit reached.\n"
           "Default mission: TarvikM52-LC37B.scn with DATA/scripts/m52-autopilot.txt.\n";
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    int runs = 3;
    std::string dataDir = TARVIK_DEFAULT_DATA_DIR;
    std::vector<std::string> positional;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "-h" || arg == "--help")
            return usage(std::cout, 0);
        if ((arg == "--runs" || arg == "--data") && i + 1 < argc) {
            const std::string value = argv[++i];
            if (arg == "--data") {
                dataDir = value;
            } else {
                runs = std::atoi(value.c_str());
                if (runs < 1)
                    return usage(std::cerr, 2);
            }
        } else if (arg.rfind("-", 0) == 0) {
            return usage(std::cerr, 2);
        } else {
            positional.push_back(arg);
        }
    }
    if (positional.size() != 0 && positional.size() != 2)
        return usage(std::cerr, 2);

    tarviksim::Options options;
    options.dataDir = dataDir;
    options.scenario = positional.empty() ? "TarvikM52-LC37B.scn" : positional[0];
    options.script = positional.empty() ? dataDir + "/scripts/m52-autopilot.txt" : positional[1];
    std::error_code ec;
    const std::filesystem::path root =
        std::filesystem::temp_directory_path(ec) / ("bench-flight-" + std::to_string(::getpid()));
    options.rootDir = root.string();

    std::printf("bench-flight: %s with %s, %d run%s\n", options.scenario.c_str(), options.script.c_str(), runs,
                runs == 1 ? "" : "s");
    std::vector<double> cpu, wall, rates;
    Flight last;
    try {
        for (int i = 0; i < runs; ++i) {
            std::filesystem::remove_all(root, ec);
            last = fly(options);
            cpu.push_back(last.cpu);
            wall.push_back(last.wall);
            rates.push_back(last.steps / last.cpu);
            std::printf("run %d: %lld steps (%.1f s simulated) in %.3f s CPU, %.3f s wall: %.0f steps per CPU second\n",
                        i + 1, last.steps, last.simulated, last.cpu, last.wall, last.steps / last.cpu);
            std::fflush(stdout);
        }
    } catch (const std::exception& e) {
        std::filesystem::remove_all(root, ec);
        std::cerr << "bench-flight: " << e.what() << '\n';
        return 2;
    }
    std::filesystem::remove_all(root, ec);
    std::printf("median: %.3f s CPU, %.3f s wall, %.0f steps per CPU second\n", median(cpu), median(wall),
                median(rates));
    std::printf("%s\n", last.orbit.c_str());
    return 0;
}
