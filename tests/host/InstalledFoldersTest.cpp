// Where the host looks for the plug-ins and the data in the build tree: the
// build's own folders, beside the library as the build leaves them. (What
// the environment names instead is tested through tarvik-sim, and the
// installed layout by CI's install.)
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "sim/InstalledFolders.h"
#include "sim/Simulation.h"

namespace fs = std::filesystem;

TEST(InstalledFolders, TheBuildTreeUsesTheBuildsOwnFolders) {
    ::unsetenv("TARVIK_MODULES");
    ::unsetenv("TARVIK_DATA");
    const host::InstalledFolders f = host::installedFolders();
    std::error_code ec;
    EXPECT_TRUE(fs::equivalent(f.modules, TARVIK_MODULE_DIR, ec)) << f.modules;
    EXPECT_TRUE(fs::equivalent(f.data, TARVIK_DATA_DIR, ec)) << f.data;
    EXPECT_TRUE(fs::is_regular_file(fs::path(f.shippedRoot) / "images/tarvik/custom1.bmp")) << f.shippedRoot;
    host::Simulation sim(TARVIK_DATA_DIR);
    EXPECT_EQ(sim.moduleDir(), f.modules) << "a simulation loads from there unless told otherwise";
}
