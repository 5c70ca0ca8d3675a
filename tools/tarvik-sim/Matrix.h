// A table of missions: every combination of launchers, pads, altitudes,
// inclinations and payloads (or the rows of a CSV file of cases), each flown
// by `tarvik-sim fly` in a process of its own, and the results merged into a
// CSV file, a Markdown table and a one-line verdict. The same commands can
// be listed for another runner (GNU parallel, a job array) and their results
// collected afterwards.
#pragma once

#include <iosfwd>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "Missions.h"
#include "Report.h"

namespace tarviksim {

// An inclination of the matrix, with the node to fly it from.
struct InclinationChoice {
    double degrees = 0;
    bool descending = false;
};

// "51.6" or "98:descending" (also ":ascending"); throws MissionError.
InclinationChoice parseInclinationChoice(const std::string& text);

// The axes of a matrix. Empty lists take the defaults: every Medium build,
// both pads, 300/600/900 km, and per pad two inclinations (LC37B: 30 and
// 51.6; LC6: 63.4 and 98 from the descending node), the pad scenario's payload.
struct MatrixAxes {
    std::vector<std::string> launchers, pads, payloads;
    std::vector<double> altitudes;
    std::vector<InclinationChoice> inclinations;  // for every pad when given
};

struct MatrixCase {
    Mission mission;
    std::string id;  // file-name safe, unique: "TarvikM52-LC37B-300km-51.6deg-asc"
};

std::string caseId(const Mission& m);
std::vector<MatrixCase> expandCases(const MatrixAxes& axes);

// Cases as CSV: a header line, then one case per line.
//   launcher,pad,altitude_km,inclination_deg,node,payload,correction_deg
// node, payload and correction_deg may be left empty (ascending, the pad
// scenario's payload, no correction); blank lines and lines starting with #
// are skipped. Throws host::InputError naming the line.
std::vector<MatrixCase> parseCasesCsv(const std::string& text, const std::string& path);
std::string casesCsv(const std::vector<MatrixCase>& cases);

// What every `fly` of the matrix is given besides its case.
struct FlySettings {
    std::string dataDir;  // "" leaves fly's default
    std::optional<double> fps, timeLimit, coastWarp;
    bool plots = false;
    bool aim = false;  // every case aimed (fly --aim)
};

// The folder of a case's outputs under the matrix folder.
std::string caseDir(const std::string& outDir, const MatrixCase& c);

// The arguments of the case's `fly` (argv[0] is `exe`), `extra` last.
std::vector<std::string> flyArguments(const std::string& exe, const MatrixCase& c, const std::string& outDir,
                                      const FlySettings& settings, const std::vector<std::string>& extra = {});

// One shell command per case, for `--list`: makes the case's folder and runs
// its fly with the report on fly.json and messages on fly.err there.
std::string listedCommand(const std::string& exe, const MatrixCase& c, const std::string& outDir,
                          const FlySettings& settings, const std::vector<std::string>& extra = {});

// A CSV field, quoted when it holds a comma, a quote or a line break; a
// word for a shell command line, quoted when it needs to be.
std::string csvField(const std::string& s);
std::string shellWord(const std::string& s);

struct CaseResult {
    MatrixCase c;
    std::optional<FlightReport> report;  // none: the case did not finish
    std::string problem;                 // why there is no report
};

// The results the cases' flights left in their folders (report.json).
std::vector<CaseResult> collectResults(const std::vector<MatrixCase>& cases, const std::string& outDir);
// Every case folder under outDir with a report, in case order when the
// matrix's cases.csv is there, else by folder name.
std::vector<CaseResult> collectFolder(const std::string& outDir);

std::string resultsCsv(const std::vector<CaseResult>& results);
std::string resultsMarkdown(const std::vector<CaseResult>& results);
std::string verdict(const std::vector<CaseResult>& results);

// Writes results.csv and results.md into outDir and prints the table and the
// verdict; returns 0 when every case completed (and, aimed, came within its
// aim), 3 otherwise.
int reportResults(const std::vector<CaseResult>& results, const std::string& outDir, std::ostream& out);

// Takes OUT for a matrix of these cases. A folder that holds the results of
// another matrix (a cases.csv of other cases, or results without one) is
// refused with a MissionError unless `replace` is set; then that matrix's
// results and case folders go. The same matrix again replaces its own.
void claimMatrixFolder(const std::string& outDir, const std::vector<MatrixCase>& cases, bool replace);

struct RunOptions {
    std::string exe;  // this program
    std::string outDir;
    FlySettings settings;
    int jobs = 1;
    bool progress = false;  // a progress line on stderr
};

// Flies every case, at most `jobs` at a time, each in a process of its own.
// An interrupt (SIGINT, SIGTERM) stops the children, keeps what finished and
// returns 130. The run's log (matrix.log: each start and end with the
// process id) is written into outDir.
int runMatrix(const std::vector<MatrixCase>& cases, const RunOptions& options, std::ostream& out,
              std::ostream& err);

// The processors this process may run on.
int availableCores();

// The matrix's way of running flights, for other commands that fly many:
// each flight a process of its own with its stdout and stderr in fly.json
// and fly.err of its folder, gone when this process goes. While one of
// these lives, SIGINT and SIGTERM are noted rather than ending the program;
// it stops and waits for every flight still running when it goes.
class FlightProcesses {
public:
    FlightProcesses();
    ~FlightProcesses();
    FlightProcesses(const FlightProcesses&) = delete;
    FlightProcesses& operator=(const FlightProcesses&) = delete;

    // Starts `args` (argv[0] the program) with its outputs in `dir`; throws
    // std::runtime_error when no process can be started.
    int start(const std::vector<std::string>& args, const std::string& dir);
    // A flight that ended, as (process id, exit status; 128 + the signal
    // that ended it), waiting up to about 50 ms for one.
    std::optional<std::pair<int, int>> ended();
    bool interrupted() const;
    size_t running() const;
    // Stops every flight still running and waits for each.
    void stopAll();

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace tarviksim
