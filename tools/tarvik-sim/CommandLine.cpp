#include "CommandLine.h"

#include <cstdlib>
#include <filesystem>
#include <iostream>

#include "Failure.h"
#include "sim/InstalledFolders.h"

namespace fs = std::filesystem;

namespace tarviksim {

std::string versionLine() {
    return std::string("tarvik-sim ") + TARVIK_VERSION;
}

std::string defaultDataDir() {
    return host::installedFolders().data;
}

CommandLine::CommandLine(const std::string& description, const std::string& name) : app(description, name) {}

std::optional<int> CommandLine::parse(int argc, char** argv) {
    // Added last, so that --help lists them after the command's own.
    app.set_version_flag("--version", versionLine(), "Print the version and exit");
    app.add_flag("-q,--quiet", quiet_, "Print nothing but a failure's one line (the outputs are written as ever)");
    app.add_option("--modules", modules_,
                   "Folder of the plug-ins, for every flight this run starts too (default: TARVIK_MODULES, else " +
                       host::installedFolders().modules + ")")
        ->check(CLI::ExistingDirectory);
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        std::cout << app.help();
        return 0;
    } catch (const CLI::CallForVersion& e) {
        std::cout << e.what() << '\n';
        return 0;
    } catch (const CLI::ParseError& e) {
        return failWith(e.what(), 2);
    }
    // The host reads the folder from the environment, so that the flights
    // a matrix starts in processes of their own load the same plug-ins.
    if (!modules_.empty())
        ::setenv("TARVIK_MODULES", fs::absolute(modules_).lexically_normal().c_str(), 1);
    if (quiet_)
        silenceAllButFailures();
    return std::nullopt;
}

}  // namespace tarviksim
