// Monte Carlo flights: one mission flown N times, each run with its own
// draws of a dispersion file (run i's seed derived from the series' seed),
// each by `tarvik-sim fly` in a process of its own as the matrix flies its
// cases. The runs' outcomes make a per-run CSV, a Markdown summary (the
// completion rate, the mean and 3-sigma of the insertion errors, the
// propellant left and its 1st percentile, the worst runs) and three plots.
// The same runs can be listed for GNU parallel or a Slurm job array and
// their results collected afterwards.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "Matrix.h"

namespace tarviksim {

// What a series is: the mission, the file, the seed and the number of runs.
// OUT/series.json holds it, so that --collect knows what to expect.
struct Series {
    Mission mission;
    std::string file;  // the dispersion file, as the runs read it (absolute)
    uint64_t seed = 1;
    int runs = 0;
    FlySettings settings;
};

std::string seriesText(const Series& s);
// Throws std::runtime_error for text that is not a series.
Series seriesFromText(const std::string& text);

// Run i (0-based) as a case of the matrix: its folder OUT/cases/run-0001.
MatrixCase runCase(const Series& s, int index);
// The run's seed and the arguments that give fly the dispersions.
uint64_t seedOfRun(const Series& s, int index);
std::vector<std::string> dispersionArguments(const Series& s, int index);

// One run's outcome, from what its fly left.
struct RunOutcome {
    int index = 0;  // 0-based; tables show index + 1
    uint64_t seed = 0;
    std::optional<FlightReport> report;
    std::string problem;  // why there is no report
    bool complete() const { return report && report->outcome == Outcome::Complete; }
};

std::vector<RunOutcome> collectRuns(const Series& s, const std::string& outDir);

// The statistics of a sample: mean, standard deviation (n - 1), least,
// greatest and the 1st percentile (nearest rank).
struct Spread {
    size_t count = 0;
    double mean = NAN, sigma = NAN, min = NAN, max = NAN, p01 = NAN;
};
Spread spreadOf(std::vector<double> values);

std::string runsCsv(const std::vector<RunOutcome>& runs);
std::string summaryMarkdown(const Series& s, const std::vector<RunOutcome>& runs);

// The gnuplot scripts of the three figures: "errors" (apoapsis against
// periapsis error), "inclination" (a histogram of its error) and
// "propellant" (a histogram of the propellant left), reading `data`
// (completed runs: apoapsis, periapsis and inclination error, propellant).
const std::vector<std::string>& seriesPlotNames();
std::string seriesPlotData(const std::vector<RunOutcome>& runs);
std::string seriesPlotScript(const std::string& name, const Series& s, const std::vector<RunOutcome>& runs,
                             const std::string& data);

// Writes OUT/runs.csv, OUT/summary.md and the plots in OUT/plots/, and
// prints the summary. Returns 0 when every run completed, 3 otherwise.
int reportSeries(const Series& s, const std::vector<RunOutcome>& runs, const std::string& outDir, std::ostream& out,
                 std::ostream& err);

struct SeriesRun {
    std::string exe;
    std::string outDir;
    int jobs = 1;
    bool progress = false;
};

// Flies every run, at most `jobs` at a time; an interrupt stops them, keeps
// what finished and returns 130.
int flySeries(const Series& s, const SeriesRun& o, std::ostream& out, std::ostream& err);

// The listed runs, one shell command a line.
std::vector<std::string> listedRuns(const Series& s, const std::string& exe, const std::string& outDir);

// A Slurm batch script running line $SLURM_ARRAY_TASK_ID of `commandsFile`
// as one array task; at most `parallel` at a time when given.
std::string slurmScript(const std::string& commandsFile, int lines, const std::string& outDir,
                        std::optional<int> parallel);

}  // namespace tarviksim
