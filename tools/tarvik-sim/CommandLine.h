// What every tarvik-sim command line takes besides its own options, and how
// reading it ends: --version and --help are answered on stdout (status 0), a
// mistake with the one failure line (status 2); -q/--quiet leaves only a
// failure line to show; --modules names the plug-ins' folder.
#pragma once

#include <CLI/CLI.hpp>

#include <optional>
#include <string>

namespace tarviksim {

// "tarvik-sim 1.0.0": the program and the project's version.
std::string versionLine();

// The data folder used when --data is not given: TARVIK_DATA, else the one
// the installation (or the build) has.
std::string defaultDataDir();

class CommandLine {
public:
    CommandLine(const std::string& description, const std::string& name);

    CLI::App app;

    // Reads the arguments; returns the exit status when the command has
    // nothing more to do (it was asked for help or the version, or the line
    // is wrong), otherwise nothing and the options are set.
    std::optional<int> parse(int argc, char** argv);

    bool quiet() const { return quiet_; }

private:
    bool quiet_ = false;
    std::string modules_;
};

}  // namespace tarviksim
