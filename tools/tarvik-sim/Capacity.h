// What a launcher can carry: for each launcher, pad, inclination and
// altitude, the heaviest payload with which `tarvik-sim fly` completes (the
// autopilot shows "Autopilot Complete" within the time limit), found by a
// search on the payload mass with real flights, each in a process of its
// own as the matrix runs them. The results go into a CSV table (the form
// data/capacity.csv ships in), a Markdown table and a plot of payload
// against altitude with one curve per launcher.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "CapacityTable.h"
#include "Matrix.h"

namespace tarviksim {

// One orbit plane from one pad.
struct CapacityCase {
    std::string pad;
    double inclinationDeg = 0;
    bool descending = false;
};

// "LC6:98:descending" or "LC37B:28.6"; throws MissionError.
CapacityCase parseCapacityCase(const std::string& text);

struct CapacityOptions {
    std::vector<std::string> launchers;  // canonical names
    std::vector<CapacityCase> cases;
    std::vector<double> altitudes;       // km, rising
    double resolution = 50;              // kg
    std::optional<double> firstGuess;    // kg: the first mass flown where no lower altitude has settled
    std::string exe;                     // this program
    std::string outDir = "tarvik-capacity";
    std::string dataDir;                 // for the checks here; the flights get settings.dataDir
    FlySettings settings;
    int jobs = 1;
    bool progress = false;
};

// Searches every launcher, case and altitude below the launcher's ceiling,
// writes OUT/capacity.csv, OUT/capacity.md, OUT/capacity.log and the plot
// in OUT/plots/, and prints the tables. Returns 0 when every search
// settled, 3 when some did not, 130 when interrupted.
int runCapacity(const CapacityOptions& options, std::ostream& out, std::ostream& err);

// Writes OUT/capacity.csv, OUT/capacity.md and the plot in OUT/plots/ for
// the rows, and prints the tables and where they went.
void writeCapacityOutputs(const std::vector<CapacityRow>& rows, const std::string& outDir, std::ostream& out,
                          std::ostream& err);

// The tables as Markdown: one per case, a row per altitude, a column per launcher.
std::string capacityMarkdown(const std::vector<CapacityRow>& rows);

// The gnuplot script of the plot: a panel per case, a curve per launcher,
// drawing `name`.png and `name`.svg in the folder it runs in.
std::string capacityPlotScript(const std::vector<CapacityRow>& rows, const std::string& name);

}  // namespace tarviksim
