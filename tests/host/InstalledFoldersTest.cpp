// Where the host looks for the plug-ins and the data: in the build tree the
// build's own folders, and what the environment names instead.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "sim/InstalledFolders.h"
#include "sim/Simulation.h"

namespace fs = std::filesystem;

namespace {

bool sameFolder(const std::string& a, const std::string& b) {
    std::error_code ec;
    return fs::equivalent(a, b, ec);
}

// Sets an environment variable for the scope, then puts back what was there.
class Variable {
public:
    Variable(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name))
            old_ = old, had_ = true;
        ::setenv(name, value, 1);
    }
    ~Variable() {
        if (had_)
            ::setenv(name_, old_.c_str(), 1);
        else
            ::unsetenv(name_);
    }

private:
    const char* name_;
    std::string old_;
    bool had_ = false;
};

}  // namespace

TEST(InstalledFolders, TheBuildTreeUsesTheBuildsOwnFolders) {
    ::unsetenv("TARVIK_MODULES");
    ::unsetenv("TARVIK_DATA");
    const host::InstalledFolders f = host::installedFolders();
    EXPECT_TRUE(sameFolder(f.modules, TARVIK_MODULE_DIR)) << f.modules;
    EXPECT_TRUE(sameFolder(f.data, TARVIK_DATA_DIR)) << f.data;
    EXPECT_TRUE(fs::is_regular_file(fs::path(f.shippedRoot) / "images/tarvik/custom1.bmp")) << f.shippedRoot;
    host::Simulation sim(TARVIK_DATA_DIR);
    EXPECT_EQ(sim.moduleDir(), f.modules) << "a simulation loads from there unless told otherwise";
}

TEST(InstalledFolders, TheEnvironmentNamesOtherFolders) {
    {
        Variable modules("TARVIK_MODULES", "/elsewhere/Modules");
        Variable data("TARVIK_DATA", "/elsewhere/data");
        EXPECT_EQ(host::installedFolders().modules, "/elsewhere/Modules");
        EXPECT_EQ(host::installedFolders().data, "/elsewhere/data");
        EXPECT_EQ(host::Simulation(TARVIK_DATA_DIR).moduleDir(), "/elsewhere/Modules");
    }
    Variable empty("TARVIK_MODULES", "");
    EXPECT_TRUE(sameFolder(host::installedFolders().modules, TARVIK_MODULE_DIR)) << "an empty variable names nothing";
}
