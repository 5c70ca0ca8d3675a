// The pictures of a flight, drawn by gnuplot from the telemetry: the ascent
// (altitude, speed, pitch and flight-path angles, heading, main engine level,
// mass), apoapsis and periapsis over the whole flight, and the ground track,
// each as PNG and SVG with the staging events marked. The gnuplot script of
// each picture is written beside it, so that `gnuplot NAME.gp` in that
// folder draws it again after a user has restyled it.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "Report.h"

namespace tarviksim {

struct PlotInput {
    std::string dir;        // where the scripts and pictures go; created if missing
    std::string within;     // the folder they must stay in (the root folder); empty: dir
    std::string telemetry;  // the flight's telemetry CSV
    const FlightReport* report = nullptr;
};

// The names of the figures, without extension: "ascent", "orbit", "ground-track".
const std::vector<std::string>& plotNames();

// The gnuplot script of one figure, reading the telemetry from `telemetry`
// (as the script should name it, relative to its folder).
std::string plotScript(const std::string& name, const FlightReport& report, const std::string& telemetry);

// Writes every script and runs gnuplot on it; returns the pictures drawn.
// Without gnuplot, or when it fails, one warning line goes to `warnings` and
// the flight carries on without pictures (the scripts stay; a picture not
// drawn leaves the earlier one as it was). A file that may not be written
// there throws host::InputError, one whose write fails std::runtime_error.
std::vector<std::string> writePlots(const PlotInput& input, std::ostream& warnings);

// The gnuplot program found on PATH, or "".
std::string findGnuplot();

// Draws DIR/NAME.gp with gnuplot into DIR/NAME.png and DIR/NAME.svg, each
// written the one output way (kept inside `within`) and named once drawn;
// gnuplot's messages go to `logFile`. The pictures drawn are added to
// `pictures`; false when gnuplot failed. The script names its outputs
// png_file and svg_file.
bool drawPlot(const std::string& gnuplot, const std::string& dir, const std::string& name, const std::string& within,
              const std::string& logFile, std::vector<std::string>& pictures);

}  // namespace tarviksim
